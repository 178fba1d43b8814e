#include "GUIMain/Skyfirewright.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "Config/Settings.h"
#include "GUI/BasicLayout.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/CommandDispatcher.h"
#include "GUIMain/Commands.h"
#include "GUIMain/CueListView.h"
#include "GUIMain/KeyMap.h"
#include "GUIMain/LibraryScreens.h"
#include "GUIMain/Menu.h"
#include "GUIMain/Sidebar.h"
#include "GUIMain/Wizards.h"
#include "Project/Operations/OperationImportSCX.h"
#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"
#include "Project/Operations/OperationLoadFixtureListFromLocalFile.h"
#include "Show/ShowSession.h"

namespace GUIMain {

namespace {
constexpr std::uint32_t kPanelStyle = GUI::kStyleChild | GUI::kStyleVisible;
// The header band is 100 pixels high; the timeline below it takes a fifth of the window.
constexpr float kHeaderFraction = 0.2f;
constexpr int kHeaderOffset = 100;
constexpr int kSidebarWidth = 250;

// The file name of a path: the part after its last separator, the whole path without one.
std::wstring fileNameOf(const std::wstring& path)
{
    const std::size_t cut = path.find_last_of(L"/\\");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}
}  // namespace

Skyfirewright::Skyfirewright(Show::ShowSession& session, Platform::MessageBoxService& messageBoxes,
                             GUI::FileChooser& fileChooser)
    : session_(session),
      messageBoxes_(messageBoxes),
      fileDialogs_(fileChooser, messageBoxes,
                   [](const std::wstring& key) { return Config::tr(key); }),
      dispatcher_(std::make_unique<CommandDispatcher>(*this)),
      dmxHoldStart_(session.project().getProjectData().getFormat())
{
    // A foreign show whose frame rate is not certain asks the user through the format
    // wizard, which sends command 43 with the rate chosen.
    Project::OperationImportSCX::setFormatQuestion(
        [this](const std::wstring&, const std::vector<int>& rates) {
            foreignShowRates_ = rates;
            openWizard(WizardKind::kForeignShowFormat, *this);
        });
}

Skyfirewright::~Skyfirewright()
{
    Project::OperationImportSCX::setFormatQuestion({});
    if (listening_) {
        session_.project().removeListener(this);
        session_.state().removeListener(this);
    }
    if (getCommandTarget() == getHandle()) {
        setCommandTarget(nullptr);
    }
}

void Skyfirewright::start(int width, int height)
{
    createTopLevel(L"Skyfirewright", L"", GUI::kStyleOverlappedWindow, GUI::kExStyleControlParent);
    refreshTitle();
    QWidget* handle = getHandle();
    handle->setMinimumSize(kMinimumWidth, kMinimumHeight);
    // A window restored smaller than the minimum is enlarged, keeping its top-left corner.
    handle->resize(std::max(width, kMinimumWidth), std::max(height, kMinimumHeight));
    handle->show();
    handle->activateWindow();
    // The keyboard starts at the window itself, where the cue keys apply.
    handle->setFocus(Qt::OtherFocusReason);

    // The per-user libraries; loading them is not a change of the show.
    Project::Project& project = session_.project();
    project.submit(new Project::OperationLoadEffectListFromLocalFile(L""));
    project.submit(new Project::OperationLoadFixtureListFromLocalFile(L""));
    project.setChangeCounts(project.getChangeCount(), project.getChangeCount());

    autosaveAnswer_ = -1;
    setTimer(kAutosaveTimer, kAutosavePeriodMs);
    effectScreen_ = {};
    fixtureScreen_ = {};
}

std::optional<GUI::WindowClass> Skyfirewright::getWindowClassDescription() const
{
    GUI::WindowClass description;
    description.cursor = Qt::ArrowCursor;
    description.background = QColor(16, 16, 20);
    return description;
}

void Skyfirewright::onCreate()
{
    setCommandTarget(getHandle());
    session_.project().addListener(this);
    session_.state().addListener(this);
    listening_ = true;

    const float w = 1.0f;
    menu_ = new Menu();
    menu_->create(L"MainMenu", L"", new GUI::BasicLayout(0, 0, 0, kHeaderOffset, w, 0, 1, 0),
                  kPanelStyle, 0, getHandle());
    add(menu_->getHandle(), L"MainMenu", menu_);
    header_ = new Header();
    header_->create(L"Header", L"",
                    new GUI::BasicLayout(0, 0, 0, 0, w, 0, kHeaderFraction, kHeaderOffset),
                    kPanelStyle, 0, getHandle());
    add(header_->getHandle(), L"Header", header_);
    header_->addListener(this);
    cueList_ = new CueListView();
    cueList_->create(
        L"CueList", L"",
        new GUI::BasicLayout(0, 0, kHeaderFraction, kHeaderOffset, w, -kSidebarWidth, 1, 0),
        kPanelStyle, 0, getHandle());
    add(cueList_->getHandle(), L"CueList", cueList_);
    sidebar_ = new Sidebar();
    sidebar_->create(
        L"Sidebar", L"",
        new GUI::BasicLayout(w, -kSidebarWidth, kHeaderFraction, kHeaderOffset, w, 0, 1, 0),
        kPanelStyle, 0, getHandle());
    add(sidebar_->getHandle(), L"Sidebar", sidebar_);
    // Creation order is stacking order, first on top: the menu lies over the panels.
    menu_->getHandle()->raise();
    refreshMenuVisibility();
}

void Skyfirewright::onDestroy()
{
    if (listening_) {
        session_.project().removeListener(this);
        session_.state().removeListener(this);
        listening_ = false;
    }
    if (header_ != nullptr) {
        header_->removeListener(this);
    }
    menu_ = nullptr;
    header_ = nullptr;
    cueList_ = nullptr;
    sidebar_ = nullptr;
    if (getCommandTarget() == getHandle()) {
        setCommandTarget(nullptr);
    }
    if (onDestroyed_) {
        onDestroyed_();
    }
}

void Skyfirewright::paint(QPainter& /*painter*/)
{
    // The panels cover the client area.
}

std::intptr_t Skyfirewright::handleMessage(GUI::Message& message)
{
    switch (message.code) {
        case kCommandMessage:
            return dispatcher_->dispatch(static_cast<int>(message.lParam), message.wParam);
        case GUI::kMessageKey:
            return dispatchKey(static_cast<int>(message.wParam),
                               static_cast<std::uint32_t>(message.lParam));
        case GUI::kMessageTimer:
            if (message.wParam == kAutosaveTimer) {
                return dispatcher_->dispatch(Command::kAutosave, 0);
            }
            break;
        default: break;
    }
    return GUI::Window::handleMessage(message);
}

std::intptr_t Skyfirewright::runCommand(int code, std::uint64_t argument)
{
    return dispatcher_->dispatch(code, argument);
}

bool Skyfirewright::mayClose()
{
    if (closingWithoutQuestions_) {
        return true;
    }
    return askExitShowModeQuestion() == Answer::kGoAhead && askSaveQuestion() == Answer::kGoAhead;
}

void Skyfirewright::requestClose()
{
    QTimer::singleShot(0, getHandle(), [handle = getHandle()] { handle->close(); });
}

void Skyfirewright::closeWithoutQuestions()
{
    closingWithoutQuestions_ = true;
    getHandle()->close();
}

Platform::MessageBoxService::Answer Skyfirewright::ask(const std::wstring& textKey,
                                                       const std::wstring& captionKey,
                                                       Platform::MessageBoxService::Buttons buttons,
                                                       Platform::MessageBoxService::Icon icon)
{
    Platform::MessageBoxService::Request request;
    request.text = Config::tr(textKey);
    request.caption = Config::tr(captionKey);
    request.buttons = buttons;
    request.icon = icon;
    request.owner = getHandle();
    return messageBoxes_.ask(request);
}

Skyfirewright::Answer Skyfirewright::askSaveQuestion()
{
    if (!session_.project().isModified()) {
        return Answer::kGoAhead;
    }
    using MB = Platform::MessageBoxService;
    switch (ask(L"WINDOW.SAVE_CHANGES_EX", L"WINDOW.SAVE_CHANGES", MB::Buttons::kYesNoCancel,
                MB::Icon::kWarning)) {
        case MB::Answer::kYes:
            return dispatcher_->dispatch(Command::kSave, 0) != 0 ? Answer::kGoAhead : Answer::kStop;
        case MB::Answer::kNo: return Answer::kGoAhead;
        default: return Answer::kStop;
    }
}

Skyfirewright::Answer Skyfirewright::askExitShowModeQuestion()
{
    if (!session_.state().isShowMode()) {
        return Answer::kGoAhead;
    }
    using MB = Platform::MessageBoxService;
    return ask(L"WINDOW.EXIT_SHOW_MODE_EX", L"WINDOW.EXIT_SHOW_MODE", MB::Buttons::kOkCancel,
               MB::Icon::kQuestion) == MB::Answer::kOk
               ? Answer::kGoAhead
               : Answer::kStop;
}

std::wstring Skyfirewright::makeTitle() const
{
    std::wstring title = Config::tr(L"WINDOW.TITLE");
    const Project::Project& project = session_.project();
    if (project.isProjectOpen()) {
        title += L" - " + fileNameOf(project.getFileName());
        if (project.isModified()) {
            title += L"*";
        }
        if (project.getProjectState().isShowMode()) {
            title += L" - " + Config::tr(L"WINDOW.SHOW_MODE");
        }
    }
    return title;
}

void Skyfirewright::refreshTitle()
{
    if (getHandle() != nullptr) {
        getHandle()->setWindowTitle(QString::fromStdWString(makeTitle()));
    }
}

bool Skyfirewright::isMenuVisible() const
{
    return menu_ != nullptr && menu_->getHandle() != nullptr && !menu_->getHandle()->isHidden();
}

void Skyfirewright::refreshMenuVisibility()
{
    if (menu_ == nullptr || menu_->getHandle() == nullptr) {
        return;
    }
    const bool visible = !session_.project().isProjectOpen() || menuToggle_;
    if (visible == isMenuVisible()) {
        return;
    }
    menu_->getHandle()->setVisible(visible);
    if (visible) {
        menu_->getHandle()->raise();
    }
    if (header_ != nullptr) {
        header_->setFoldTarget(visible ? 1.0f : (header_->isLogoHovered() ? 0.5f : 0.0f));
    }
}

void Skyfirewright::menuToggleRequested()
{
    menuToggle_ = session_.project().isProjectOpen() && !menuToggle_;
    refreshMenuVisibility();
    getHandle()->setFocus();
}

void Skyfirewright::fileNameChanged(const std::wstring& /*fileName*/)
{
    refreshTitle();
    refreshMenuVisibility();
}

void Skyfirewright::modifiedChanged(bool /*modified*/)
{
    refreshTitle();
}

void Skyfirewright::projectUpdated()
{
    // An open or a new project replaces the whole show: title and menu follow.
    refreshTitle();
    refreshMenuVisibility();
}

void Skyfirewright::errorReported(const std::wstring& key)
{
    using MB = Platform::MessageBoxService;
    ask(key, L"WINDOW.ERROR", MB::Buttons::kOk, MB::Icon::kError);
}

void Skyfirewright::onModeChanged()
{
    refreshTitle();
}

std::intptr_t Skyfirewright::dispatchKey(int pressKind, std::uint32_t keyCode)
{
    Config::Settings* settings = Config::Settings::getInstance();
    if (settings == nullptr) {
        return 0;
    }
    const std::optional<int> command =
        commandForKey(*settings, keyCode, focusAllowsCueKeys(QApplication::focusWidget()));
    if (!command) {
        return 0;
    }
    if (const std::optional<KeyCommand> send = commandToSend(*command, pressKind)) {
        dispatcher_->dispatch(send->code, send->argument);
    }
    return 1;
}

bool Skyfirewright::focusAllowsCueKeys(const QWidget* focus) const
{
    if (focus == nullptr || getHandle() == nullptr) {
        return false;
    }
    if (focus == getHandle()) {
        return true;
    }
    for (const Component* panel :
         {static_cast<const Component*>(header_), static_cast<const Component*>(cueList_)}) {
        if (panel != nullptr && panel->getHandle() != nullptr &&
            (focus == panel->getHandle() || panel->getHandle()->isAncestorOf(focus))) {
            return true;
        }
    }
    return false;
}

ILibraryScreen* Skyfirewright::live(const RememberedScreen& remembered)
{
    return remembered.window.isNull() ? nullptr : remembered.screen;
}

ILibraryScreen* Skyfirewright::getEffectScreen() const
{
    return live(effectScreen_);
}

ILibraryScreen* Skyfirewright::getFixtureScreen() const
{
    return live(fixtureScreen_);
}

void Skyfirewright::rememberEffectScreen(ILibraryScreen* screen)
{
    effectScreen_ = {screen, screen ? screen->getWindow() : nullptr};
}

void Skyfirewright::rememberFixtureScreen(ILibraryScreen* screen)
{
    fixtureScreen_ = {screen, screen ? screen->getWindow() : nullptr};
}

}  // namespace GUIMain
