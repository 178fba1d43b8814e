#include "GUIMain/ScriptRunner.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <ostream>
#include <sstream>

#include "Config/Settings.h"
#include "GUI/Component.h"
#include "GUI/Container.h"
#include "GUI/D2DContainer.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Commands.h"
#include "GUIMain/CueListView.h"
#include "GUIMain/Header.h"
#include "GUIMain/ScriptDialogs.h"
#include "GUIMain/Skyfirewright.h"
#include "Platform/Utf.h"
#include "Project/Project.h"
#include "Show/ShowSession.h"

namespace GUIMain {

namespace {

std::vector<std::string> splitWords(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

std::string nameOf(const QWidget* widget)
{
    if (const GUI::Component* component = GUI::Component::fromHandle(widget)) {
        if (!component->getName().empty()) {
            return Platform::toUtf8(component->getName());
        }
        return Platform::toUtf8(component->getWindowClassName());
    }
    return widget->objectName().toStdString();
}

QWidget* childNamed(QWidget* parent, const std::string& name)
{
    const std::wstring wide = Platform::fromUtf8(name);
    GUI::Component* component = GUI::Component::fromHandle(parent);
    if (auto* container = dynamic_cast<GUI::Container*>(component)) {
        if (GUI::Component* child = container->findByName(wide)) {
            return child->getHandle();
        }
    }
    if (auto* container = dynamic_cast<GUI::D2DContainer*>(component)) {
        if (GUI::D2DComponent* child = container->findByName(wide)) {
            return child->getHandle();
        }
    }
    // Plain widgets inside a panel (an item view, say) by their object name.
    return parent->findChild<QWidget*>(QString::fromStdString(name));
}

Qt::MouseButton buttonOf(const std::string& word)
{
    if (word == "right") {
        return Qt::RightButton;
    }
    if (word == "middle") {
        return Qt::MiddleButton;
    }
    return Qt::LeftButton;
}

bool parseInt(const std::string& text, long long& value)
{
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used, 0);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

// A script's text with "\n" as the Enter key.
std::string unescape(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            result += '\n';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

ScriptRunner::ScriptRunner(Skyfirewright& window, ScriptDialogs& dialogs, std::ostream& out,
                           std::ostream& err)
    : window_(&window), handle_(window.getHandle()), dialogs_(dialogs), out_(out), err_(err)
{
}

void ScriptRunner::drainEvents()
{
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

int ScriptRunner::run(const std::vector<std::string>& lines)
{
    int status = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string reason;
        if (!runLine(lines[n], reason)) {
            err_ << "script line " << (n + 1) << ": " << reason << '\n';
            status = 1;
            break;
        }
        if (!windowAlive()) {
            if (n + 1 < lines.size()) {
                err_ << "script line " << (n + 2) << ": the program has closed\n";
                status = 1;
            }
            break;
        }
    }
    if (dialogs_.unusedAnswers() > 0 || dialogs_.unusedFiles() > 0) {
        err_ << "script: " << dialogs_.unusedAnswers() << " queued answer(s) and "
             << dialogs_.unusedFiles() << " queued file(s) were not used\n";
    }
    err_.flush();
    out_.flush();
    if (windowAlive()) {
        window_->closeWithoutQuestions();
        drainEvents();
    }
    return status;
}

bool ScriptRunner::runLine(const std::string& rawLine, std::string& reason)
{
    std::string line = rawLine;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') {
        return true;
    }
    line = line.substr(start);
    const std::size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    const std::vector<std::string> words = splitWords(rest);

    if (!windowAlive()) {
        reason = "the program has closed";
        return false;
    }

    bool ok = true;
    if (verb == "command") {
        long long code = 0;
        long long argument = 0;
        if (words.empty() || !parseInt(words[0], code) ||
            (words.size() > 1 && !parseInt(words[1], argument))) {
            reason = "usage: command CODE [ARG]";
            return false;
        }
        sendCommand(static_cast<int>(code), static_cast<std::uint64_t>(argument));
    } else if (verb == "key" || verb == "keydown" || verb == "keyup") {
        if (words.size() != 1) {
            reason = "usage: " + verb + " KEYS";
            return false;
        }
        ok = sendKeys(words[0], verb != "keyup", verb != "keydown", reason);
    } else if (verb == "click" || verb == "drag" || verb == "wheel" || verb == "type") {
        if (words.empty()) {
            reason = "usage: " + verb + " PATH ...";
            return false;
        }
        QRect area;
        QWidget* target = resolve(words[0], &area);
        if (target == nullptr) {
            reason = "unknown path: " + words[0];
            return false;
        }
        if (!target->isEnabled() || !target->isVisible()) {
            reason = "the target is disabled or hidden: " + words[0];
            return false;
        }
        const QPoint centre = area.center();
        if (verb == "click") {
            QPoint at = centre;
            std::size_t next = 1;
            long long x = 0;
            long long y = 0;
            if (words.size() >= 3 && parseInt(words[1], x) && parseInt(words[2], y)) {
                at = area.topLeft() + QPoint(static_cast<int>(x), static_cast<int>(y));
                next = 3;
            }
            Qt::MouseButton button = Qt::LeftButton;
            Qt::KeyboardModifiers modifiers;
            bool twice = false;
            for (; next < words.size(); ++next) {
                if (words[next] == "double") {
                    twice = true;
                } else if (words[next] == "shift") {
                    modifiers |= Qt::ShiftModifier;
                } else if (words[next] == "ctrl") {
                    modifiers |= Qt::ControlModifier;
                } else if (words[next] == "left" || words[next] == "right" ||
                           words[next] == "middle") {
                    button = buttonOf(words[next]);
                } else {
                    reason = "click: unknown word " + words[next];
                    return false;
                }
            }
            if (twice) {
                QTest::mouseDClick(target, button, modifiers, at);
            } else {
                QTest::mouseClick(target, button, modifiers, at);
            }
        } else if (verb == "drag") {
            long long c[4] = {};
            if (words.size() < 5 || !parseInt(words[1], c[0]) || !parseInt(words[2], c[1]) ||
                !parseInt(words[3], c[2]) || !parseInt(words[4], c[3])) {
                reason = "usage: drag PATH X1 Y1 X2 Y2 [left|right|middle]";
                return false;
            }
            const Qt::MouseButton button = words.size() > 5 ? buttonOf(words[5]) : Qt::LeftButton;
            const QPoint from(static_cast<int>(c[0]), static_cast<int>(c[1]));
            const QPoint to(static_cast<int>(c[2]), static_cast<int>(c[3]));
            QTest::mousePress(target, button, Qt::NoModifier, from);
            constexpr int kSteps = 8;
            for (int i = 1; i <= kSteps; ++i) {
                const QPoint at = from + (to - from) * i / kSteps;
                QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton,
                                 button, Qt::NoModifier);
                QApplication::sendEvent(target, &move);
            }
            QTest::mouseRelease(target, button, Qt::NoModifier, to);
        } else if (verb == "wheel") {
            long long delta = 0;
            if (words.size() < 2 || !parseInt(words[1], delta)) {
                reason = "usage: wheel PATH DELTA [X Y]";
                return false;
            }
            QPoint at = centre;
            long long x = 0;
            long long y = 0;
            if (words.size() >= 4 && parseInt(words[2], x) && parseInt(words[3], y)) {
                at = QPoint(static_cast<int>(x), static_cast<int>(y));
            }
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(),
                              QPoint(0, static_cast<int>(delta)), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        } else {
            const std::size_t textStart = rest.find(words[0]) + words[0].size();
            std::string text = textStart < rest.size() ? rest.substr(textStart + 1) : "";
            text = unescape(text);
            const bool enter = !text.empty() && text.back() == '\n';
            if (enter) {
                text.pop_back();
            }
            target->setFocus(Qt::OtherFocusReason);
            drainEvents();
            QWidget* field = QApplication::focusWidget() ? QApplication::focusWidget() : target;
            if (auto* edit = qobject_cast<QLineEdit*>(field)) {
                edit->selectAll();
            } else {
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            }
            QTest::keyClicks(field, QString::fromStdString(text));
            if (enter) {
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : field,
                                Qt::Key_Return);
            }
        }
    } else if (verb == "answer") {
        using A = Platform::MessageBoxService::Answer;
        const std::string word = words.empty() ? "" : words[0];
        if (word == "yes") {
            dialogs_.queueAnswer(A::kYes);
        } else if (word == "no") {
            dialogs_.queueAnswer(A::kNo);
        } else if (word == "cancel") {
            dialogs_.queueAnswer(A::kCancel);
        } else if (word == "ok") {
            dialogs_.queueAnswer(A::kOk);
        } else {
            reason = "usage: answer yes|no|cancel|ok";
            return false;
        }
    } else if (verb == "file") {
        if (rest.empty()) {
            reason = "usage: file PATH | file cancel";
            return false;
        }
        dialogs_.queueFile(Platform::fromUtf8(rest), rest == "cancel");
    } else if (verb == "wait") {
        long long ms = 0;
        if (words.size() != 1 || !parseInt(words[0], ms) || ms < 0) {
            reason = "usage: wait MS";
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
        loop.exec();
    } else if (verb == "state") {
        drainEvents();
        out_ << makeState().dump() << '\n';
        out_.flush();
    } else if (verb == "rows") {
        long long first = 0;
        long long count = -1;
        if ((words.size() > 0 && !parseInt(words[0], first)) ||
            (words.size() > 1 && !parseInt(words[1], count))) {
            reason = "usage: rows [FIRST [COUNT]]";
            return false;
        }
        const nlohmann::json rows = collectRows(static_cast<int>(first), static_cast<int>(count));
        if (rows.is_null()) {
            reason = "the cue list shows no rows (the view is not built yet)";
            return false;
        }
        // An array is printed one element a line (a head line, then one line a row).
        if (rows.is_array()) {
            for (const nlohmann::json& row : rows) {
                out_ << row.dump() << '\n';
            }
        } else {
            out_ << rows.dump() << '\n';
        }
        out_.flush();
    } else if (verb == "screenshot") {
        if (words.empty()) {
            reason = "usage: screenshot FILE.png [PATH]";
            return false;
        }
        QWidget* target = words.size() > 1 ? resolve(words[1]) : handle_.data();
        if (target == nullptr) {
            reason = "unknown path: " + words[1];
            return false;
        }
        drainEvents();
        if (!target->grab().save(QString::fromStdString(words[0]), "PNG")) {
            reason = "cannot write " + words[0];
            return false;
        }
    } else if (verb == "quit") {
        handle_->close();
    } else {
        reason = "unknown action: " + verb;
        return false;
    }
    drainEvents();
    const std::string failure = dialogs_.takeFailure();
    if (!failure.empty()) {
        reason = failure;
        return false;
    }
    return ok;
}

bool ScriptRunner::sendKeys(const std::string& keys, bool press, bool release, std::string& reason)
{
    const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(keys));
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
        reason = "unknown keys: " + keys;
        return false;
    }
    const QKeyCombination combination = sequence[0];
    const Qt::Key key = combination.key();
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    QWidget* active = GUI::Window::getActiveWindow();
    QWidget* target = active != nullptr ? active : handle_.data();
    QWindow* window = target->window()->windowHandle();
    if (window == nullptr) {
        reason = "no window takes keys";
        return false;
    }
    const QString text = (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier &&
                                 key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde
                             ? QString(QChar(static_cast<char16_t>(key))).toLower()
                             : QString();
    if (press) {
        const bool repeat = keysDown_.count(key) > 0;
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text, repeat);
        QApplication::sendEvent(window, &event);
        keysDown_.insert(key);
    }
    if (release) {
        QKeyEvent event(QEvent::KeyRelease, key, modifiers, text, false);
        QApplication::sendEvent(window, &event);
        keysDown_.erase(key);
    }
    return true;
}

QWidget* ScriptRunner::resolve(const std::string& path, QRect* area) const
{
    std::vector<std::string> segments;
    std::string segment;
    std::istringstream in(path);
    while (std::getline(in, segment, '/')) {
        if (!segment.empty()) {
            segments.push_back(segment);
        }
    }
    if (segments.empty() || !windowAlive()) {
        return nullptr;
    }
    QWidget* current = nullptr;
    std::size_t next = 0;
    if (segments[0] == "Skyfirewright") {
        current = handle_.data();
        next = 1;
    } else if (QWidget* child = childNamed(handle_.data(), segments[0])) {
        current = child;
        next = 1;
    } else {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            const GUI::Component* component = GUI::Component::fromHandle(top);
            if (top->isVisible() && component != nullptr &&
                (Platform::toUtf8(component->getName()) == segments[0] ||
                 Platform::toUtf8(component->getWindowClassName()) == segments[0])) {
                current = top;
                next = 1;
                break;
            }
        }
    }
    if (current == nullptr) {
        return nullptr;
    }
    QRect part;
    for (; next < segments.size() && current != nullptr; ++next) {
        if (QWidget* child = childNamed(current, segments[next])) {
            current = child;
            continue;
        }
        long long number = -1;
        auto* header = qobject_cast<QHeaderView*>(current);
        auto* items = qobject_cast<QAbstractItemView*>(current);
        if (header != nullptr && parseInt(segments[next], number) && number >= 0 &&
            number < header->count()) {
            const int section = static_cast<int>(number);
            part = QRect(header->sectionViewportPosition(section), 0, header->sectionSize(section),
                         header->viewport()->height());
            current = header->viewport();
        } else if (header == nullptr && items != nullptr && items->model() != nullptr &&
                   segments[next] == "Row" && next + 1 < segments.size() &&
                   parseInt(segments[next + 1], number) && number >= 0 &&
                   number < items->model()->rowCount()) {
            const QModelIndex index = items->model()->index(static_cast<int>(number), 0);
            items->scrollTo(index, QAbstractItemView::EnsureVisible);
            const QRect cell = items->visualRect(index);
            part = QRect(0, cell.top(), items->viewport()->width(), cell.height());
            current = items->viewport();
            ++next;
        } else {
            return nullptr;
        }
    }
    if (area != nullptr && current != nullptr) {
        *area = part.isNull() ? current->rect() : part;
    }
    return current;
}

std::string ScriptRunner::pathOf(const QWidget* widget) const
{
    std::vector<std::string> names;
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w == handle_.data()) {
            break;
        }
        const std::string name = nameOf(w);
        if (!name.empty()) {
            names.push_back(name);
        }
        if (w->isWindow()) {
            break;
        }
    }
    if (names.empty()) {
        return widget == handle_.data() ? "Skyfirewright" : "";
    }
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        path += (path.empty() ? "" : "/") + *it;
    }
    return path;
}

nlohmann::json ScriptRunner::makeState()
{
    nlohmann::json state = nlohmann::json::object();
    if (!windowAlive()) {
        state["windows"] = nlohmann::json::array();
        return state;
    }
    Project::Project& project = window_->session().project();
    Project::ProjectState& show = project.getProjectState();
    state["title"] = handle_->windowTitle().toStdString();
    state["projectOpen"] = project.isProjectOpen();
    state["modified"] = project.isModified();
    state["showMode"] = show.isShowMode();
    state["menuVisible"] = window_->isMenuVisible();
    state["positionMs"] = show.getPosition().getMilliseconds();
    state["undo"] = Platform::toUtf8(Config::tr(project.getUndoText()));
    state["redo"] = Platform::toUtf8(Config::tr(project.getRedoText()));
    const Project::CueList& cues = project.getProjectData().getCueList();
    state["cueCount"] = cues.getCount();
    std::unordered_map<int, int> selectedNumbers;
    for (const auto* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            selectedNumbers.emplace(cue->getId(), cue->getNumber());
        }
    }
    nlohmann::json selected = nlohmann::json::array();
    if (!selectedNumbers.empty() && window_->getCueListView() != nullptr) {
        for (int id : window_->getCueListView()->getCueIdsInViewOrder()) {
            if (const auto it = selectedNumbers.find(id); it != selectedNumbers.end()) {
                selected.push_back(it->second);
            }
        }
    }
    state["selected"] = selected;
    const QWidget* focus = QApplication::focusWidget();
    state["focus"] = focus != nullptr ? pathOf(focus) : "";
    nlohmann::json windows = nlohmann::json::array();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && GUI::Component::fromHandle(top) != nullptr) {
            windows.push_back(nameOf(top));
        }
    }
    state["windows"] = windows;
    nlohmann::json messages = nlohmann::json::array();
    for (const ScriptDialogs::Shown& shown : dialogs_.takeShown()) {
        messages.push_back(
            {{"caption", Platform::toUtf8(shown.caption)}, {"text", Platform::toUtf8(shown.text)}});
    }
    state["messages"] = messages;
    state["panels"] = {
        {"MainMenu", window_->isMenuVisible()},
        {"Header", window_->getHeader() != nullptr},
        {"CueList", window_->getCueListView() != nullptr},
        {"Sidebar", window_->getSidebar() != nullptr},
    };
    state["autosaveAnswer"] = window_->getAutosaveAnswer();
    state["restartRequested"] = window_->isRestartRequested();
    collectState(state);
    return state;
}

}  // namespace GUIMain
