#pragma once

#include <QFont>
#include <QMetaObject>
#include <QString>
#include <array>
#include <vector>

namespace GUI {

// The process's shared drawing resources: the four text formats every drawing component
// writes with. Created once at start-up, after the application object and before any
// window; released after the event loop ends.
//
// The formats ask for "Arial" and "Arial Black". Where those are not installed the fonts
// of the same metrics stand in (Liberation Sans, with the heaviest weight it has for Arial
// Black), so texts keep their widths on every machine.
class Graphics {
public:
    enum class TextStyle {
        kHeavy10 = 0,    // "Arial Black", weight 900, 10 pixels
        kHeavy30 = 1,    // "Arial Black", weight 900, 30 pixels
        kRegular13 = 2,  // "Arial", weight 400, 13 pixels: the ordinary text of widgets
        kRegular18 = 3,  // "Arial", weight 400, 18 pixels
    };

    // Null, after a line on standard output naming what failed, when there is no
    // application object or no font at all.
    static Graphics* create();
    static void destroy();
    // Null before create() and after destroy().
    static Graphics* getInstance();

    const QFont& getFont(TextStyle style) const { return fonts_[static_cast<int>(style)]; }

    // The installed family that stands for `family` (itself when installed).
    static QString resolveFamily(const QString& family);

private:
    Graphics();
    ~Graphics();

    std::array<QFont, 4> fonts_;
    std::vector<QMetaObject::Connection> connections_;
};

}  // namespace GUI
