#pragma once

#include <QString>
#include <functional>
#include <string>

class QPushButton;
class QVBoxLayout;
class QWidget;

namespace GUIMain::LibraryWindow {

// The frame the library windows (effects, fixture presets) share: the same look, the same
// heading, buttons and place over the main window.

QString text(const std::wstring& key);

// A push button named `name` (scripts click it by that name) with the text of `key`.
QPushButton* makeButton(QWidget* parent, const char* name, const std::wstring& key,
                        std::function<void()> action);
// "Close": the window closes once the click that pressed it has been handled.
QPushButton* makeCloseButton(QWidget* window, const std::wstring& key);

// Light text on the program's dark background (tables and fields keep their light base) and
// a column with the heading of `headingKey` on top; returns the column.
QVBoxLayout* layOut(QWidget* window, const std::wstring& headingKey);

// Shows the window over its owner, in the owner's place, at least 800 x 480, and active.
void present(QWidget* window, const QWidget* owner);
// Brings an open window to the front.
void raise(QWidget* window);

}  // namespace GUIMain::LibraryWindow
