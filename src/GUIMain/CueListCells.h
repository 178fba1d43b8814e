#pragma once

#include <QColor>
#include <QString>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace Project {
class Cue;
}

namespace GUIMain {

// What a cell's text depends on besides the cue.
struct CueCellContext {
    int format = 0;                                           // the project's timecode format
    const std::vector<std::wstring>* metadataKeys = nullptr;  // one per metadata column
    bool showMode = false;
};

// The text of one cell of the cue list view (the metadata columns from 8 on); empty for a
// column that does not exist.
QString cueCellText(const Project::Cue& cue, int column, const CueCellContext& context);

// The command column's text: what the cue does, in the localized words.
QString cueCommandText(const Project::Cue& cue);

// The localized text used as a printf format with integer arguments, one per "%" in it.
// None when the number of "%" differs from the number of arguments or a conversion is not
// an integer one ("%s" in a translation must not read a string that is not there).
std::optional<QString> formatWithIntegers(const QString& format,
                                          std::initializer_list<long long> arguments);

// The show-mode condition of a pyro cue (continuity, communication, duplicate address...),
// localized; empty for other cues and outside show mode.
QString cueConditionText(const Project::Cue& cue, bool showMode);

// blend(c, d, t): each channel of c moved toward d by the fraction t, rounded.
QColor blendColor(const QColor& c, const QColor& d, double t);

// The colours of a row.
struct CueRowColors {
    QColor background;
    QColor text;
    QColor commandBackground;    // the command column
    QColor conditionBackground;  // the show-mode condition (the status column shows it)
};

// By type, state and selection; `highlight` and `highlightText` are the system's selection
// colours.
CueRowColors cueRowColors(const Project::Cue& cue, bool showMode, const QColor& highlight,
                          const QColor& highlightText);

}  // namespace GUIMain
