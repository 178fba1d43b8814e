#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GUI/FileDialogs.h"
#include "GUI/Window.h"
#include "GUIMain/Header.h"
#include "Platform/MessageBoxService.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"
#include "Timecode/SMPTE.h"

namespace Show {
class ShowSession;
}

namespace GUIMain {

class CommandDispatcher;
class CueListView;
class ILibraryScreen;
class Menu;
class Sidebar;

// The main window: the command hub of the program. It owns the four panels (main menu,
// header with the timeline, cue list, sidebar), turns command messages and the keys of the
// key maps into operations and service calls, keeps the title, shows the menu while no show
// is open, asks before changes are lost, and offers to save every five minutes.
//
// The services it works with belong to the show session; questions go to the message box
// service and file dialogs to the chooser, so that scripts and tests answer them.
class Skyfirewright : public GUI::Window,
                      public Project::Project::Listener,
                      public Project::ProjectState::Listener,
                      public Header::Listener {
public:
    static constexpr int kMinimumWidth = 1024;
    static constexpr int kMinimumHeight = 700;
    static constexpr int kAutosaveTimer = 0;
    static constexpr int kAutosavePeriodMs = 5 * 60 * 1000;

    Skyfirewright(Show::ShowSession& session, Platform::MessageBoxService& messageBoxes,
                  GUI::FileChooser& fileChooser);
    ~Skyfirewright() override;

    // Creates the window and its panels, shows it at least at the minimum size, loads the
    // per-user libraries (which does not count as a change) and starts the autosave timer.
    void start(int width, int height);

    std::wstring getWindowClassName() const override { return L"Skyfirewright"; }
    std::optional<GUI::WindowClass> getWindowClassDescription() const override;
    std::intptr_t handleMessage(GUI::Message& message) override;
    void onCreate() override;
    void onDestroy() override;
    void paint(QPainter& painter) override;
    bool mayClose() override;

    // Project::Project::Listener
    void fileNameChanged(const std::wstring& fileName) override;
    void modifiedChanged(bool modified) override;
    void errorReported(const std::wstring& key) override;
    void projectUpdated() override;
    // Project::ProjectState::Listener
    void onModeChanged() override;
    // Header::Listener
    void menuToggleRequested() override;

    // The answers the window's questions lead to.
    enum class Answer { kGoAhead, kStop };
    Answer askSaveQuestion();
    Answer askExitShowModeQuestion();
    // Asks a question (or shows a message) over this window; texts are localization keys.
    Platform::MessageBoxService::Answer ask(const std::wstring& textKey,
                                            const std::wstring& captionKey,
                                            Platform::MessageBoxService::Buttons buttons,
                                            Platform::MessageBoxService::Icon icon);

    // The window text as it should be now.
    std::wstring makeTitle() const;
    void refreshTitle();
    // Shows or hides the menu as the rule says: shown while no project is open or while the
    // user has folded it out.
    void refreshMenuVisibility();
    bool isMenuVisible() const;

    // Asks the window to close, from the event loop, as its close button does.
    void requestClose();
    // Closes without any question, as the end of a script does.
    void closeWithoutQuestions();

    // The file named on the command line (commands 24, 100 and 116 open it); may be empty.
    const std::wstring& getCommandLineFile() const { return commandLineFile_; }
    void setCommandLineFile(const std::wstring& path) { commandLineFile_ = path; }

    Show::ShowSession& session() { return session_; }
    Platform::MessageBoxService& messageBoxes() { return messageBoxes_; }
    GUI::FileDialogs& fileDialogs() { return fileDialogs_; }
    Menu* getMenu() const { return menu_; }
    Header* getHeader() const { return header_; }
    CueListView* getCueListView() const { return cueList_; }
    Sidebar* getSidebar() const { return sidebar_; }

    // -1 until the autosave question was asked, then 0 (declined) or 1 (accepted).
    int getAutosaveAnswer() const { return autosaveAnswer_; }
    void setAutosaveAnswer(int answer) { autosaveAnswer_ = answer; }
    bool getMenuToggle() const { return menuToggle_; }
    bool isRestartRequested() const { return restartRequested_; }
    void requestRestart() { restartRequested_ = true; }
    const SMPTE& getDmxHoldStart() const { return dmxHoldStart_; }
    void setDmxHoldStart(const SMPTE& start) { dmxHoldStart_ = start; }
    const std::wstring& getForeignShowPath() const { return foreignShowPath_; }
    void setForeignShowPath(const std::wstring& path) { foreignShowPath_ = path; }

    // The open library screens, remembered by the commands that open them; null when closed.
    ILibraryScreen* getEffectScreen() const;
    ILibraryScreen* getFixtureScreen() const;
    void rememberEffectScreen(ILibraryScreen* screen);
    void rememberFixtureScreen(ILibraryScreen* screen);

    // Runs a command as the command message does.
    std::intptr_t runCommand(int code, std::uint64_t argument = 0);
    // The key message: translates a key through the key maps and runs its command.
    std::intptr_t dispatchKey(int pressKind, std::uint32_t keyCode);
    // The cue-list and speed key maps apply while the focus is on the main window, the
    // header, the cue list or inside those two panels (not in the sidebar's fields).
    bool focusAllowsCueKeys(const QWidget* focus) const;

    // The frame rates a foreign show left open, for the format wizard.
    const std::vector<int>& getForeignShowRates() const { return foreignShowRates_; }
    // Called when the window is gone (the program's event loop ends then).
    void setDestroyedHandler(std::function<void()> handler) { onDestroyed_ = std::move(handler); }

private:
    struct RememberedScreen {
        ILibraryScreen* screen = nullptr;
        QPointer<QWidget> window;
    };
    static ILibraryScreen* live(const RememberedScreen& remembered);

    Show::ShowSession& session_;
    Platform::MessageBoxService& messageBoxes_;
    GUI::FileDialogs fileDialogs_;
    std::unique_ptr<CommandDispatcher> dispatcher_;

    Menu* menu_ = nullptr;
    Header* header_ = nullptr;
    CueListView* cueList_ = nullptr;
    Sidebar* sidebar_ = nullptr;
    RememberedScreen effectScreen_;
    RememberedScreen fixtureScreen_;

    std::wstring commandLineFile_;
    SMPTE dmxHoldStart_;
    std::wstring foreignShowPath_;
    std::vector<int> foreignShowRates_;
    std::function<void()> onDestroyed_;
    int autosaveAnswer_ = -1;
    bool menuToggle_ = false;
    bool restartRequested_ = false;
    bool closingWithoutQuestions_ = false;
    bool listening_ = false;
};

}  // namespace GUIMain
