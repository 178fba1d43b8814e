#pragma once

#include <QPointer>
#include <QWidget>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace GUIMain {

class ScriptDialogs;
class Skyfirewright;

// Drives the running program from a script, one action a line, each handled completely
// (the events it caused drained) before the next:
//
//   command CODE [ARG]          keydown KEYS | keyup KEYS | key KEYS
//   click PATH [X Y] [left|right|middle] [shift] [ctrl] [double]
//   drag PATH X1 Y1 X2 Y2 [left|right|middle]
//   wheel PATH DELTA [X Y]      type PATH TEXT
//   answer yes|no|cancel|ok     file PATH | file cancel
//   wait MS    state    rows [FIRST [COUNT]]    screenshot FILE.png [PATH]    quit
//
// Paths name components by their names from the main window down ("Header/Timeline"), or
// start at another top-level window by its class or name ("EffectScreen/..."); an item
// view's header section is "Header/N" under the view, its row "Row/R" (X Y then count from
// the item's corner). A line that fails (unknown path, disabled target, a dialog without a
// queued answer) stops the script.
class ScriptRunner {
public:
    ScriptRunner(Skyfirewright& window, ScriptDialogs& dialogs, std::ostream& out,
                 std::ostream& err);

    // Runs the lines; the exit status: 0 when every line ran, 1 at the first failure (its
    // line number and reason written to `err`). Afterwards the program closes without
    // saving and without questions.
    int run(const std::vector<std::string>& lines);
    // Runs one line; false with the reason when it failed.
    bool runLine(const std::string& line, std::string& reason);

    // The state line's object.
    nlohmann::json makeState();
    // The widget a path names, or null.
    // An item of an item view is a part of its viewport: "Header/N" under a header view names
    // its section N, "Row/R" under an item view its row R (scrolled into view). `area` gets
    // the part's rectangle in the returned widget, or the widget's whole rectangle.
    QWidget* resolve(const std::string& path, QRect* area = nullptr) const;
    // The path of a widget as scripts name it.
    std::string pathOf(const QWidget* widget) const;

    // Lets queued and posted events run until none are left (deferred deletions too).
    static void drainEvents();

private:
    bool windowAlive() const { return !handle_.isNull(); }
    bool sendKeys(const std::string& keys, bool press, bool release, std::string& reason);

    Skyfirewright* window_;
    QPointer<QWidget> handle_;
    ScriptDialogs& dialogs_;
    std::ostream& out_;
    std::ostream& err_;
    // Keys held by `keydown`, so that a second keydown of the same key repeats it.
    std::set<int> keysDown_;
};

}  // namespace GUIMain
