#include "GUIMain/Wizard.h"

#include <QFontMetricsF>
#include <QTimer>
#include <algorithm>
#include <string>

#include "Config/Settings.h"
#include "Controller/ControllerMessages.h"
#include "Controller/ShowMode.h"
#include "GUI/BasicLayout.h"
#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Commands.h"
#include "GUIMain/ExternalLinks.h"
#include "GUIMain/Skyfirewright.h"
#include "PDF/OperationSaveReport.h"
#include "Platform/Log.h"
#include "Platform/Utf.h"
#include "Project/CueFireCheck.h"
#include "Project/Operations/OperationNewProject.h"
#include "Project/Operations/OperationSaveCSV.h"
#include "Show/ShowSession.h"

namespace GUIMain {

namespace {

using Buttons = Platform::MessageBoxService::Buttons;
using Icon = Platform::MessageBoxService::Icon;

constexpr std::uint32_t kContentStyle = 0x56000000;  // child, visible, clipping siblings, children
constexpr std::uint32_t kChildStyle = GUI::kStyleChild | GUI::kStyleVisible;
constexpr int kMaxMidiDevices = 4;
constexpr int kFilterPdf = 4;
constexpr int kFilterCsv = 6;
const QColor kBackground(22, 26, 32);
const QColor kHeaderBand(30, 48, 64);
const QColor kTitleInk(235, 240, 245);
const QColor kHeaderInk(190, 205, 215);

// The report choices: the start page's six, then the pyro list's and the location list's.
enum Report {
    kShowReport = 0,
    kLoadReport = 1,
    kBunkerReport = 2,
    kLocationReport = 3,
    kInventoryReport = 4,
    kCsvExport = 5,
    kPyroInclude = 200,
    kPyroExclude = 201,
    kPyroOverview = 202,
    kLocationInclude = 300,
    kLocationExclude = 301,
};

// The four frame-rate choices: their key suffix, the new project's format and the foreign
// show's frame rate.
struct Rate {
    const wchar_t* suffix;
    int format;
    int rate;
};
constexpr Rate kRates[] = {{L"24", 0, 24}, {L"25", 1, 25}, {L"30DF", 2, 29}, {L"30", 3, 30}};

std::wstring withNumber(std::wstring text, int number)
{
    const std::size_t at = text.find(L"%d");
    if (at != std::wstring::npos) {
        text.replace(at, 2, std::to_wstring(number));
    }
    return text;
}

}  // namespace

// --- the wizard ---------------------------------------------------------------------------

Wizard::Wizard(Kind kind, Skyfirewright& main) : kind_(kind), main_(main) {}

Wizard::~Wizard() = default;

void Wizard::open()
{
    static const wchar_t* const kTitles[] = {
        L"WIZ.SHOW.TITLE_CHECK_ONLY", L"WIZ.SHOW.TITLE", L"WIZ.NEW.TITLE",
        L"WIZ.SCX_FMT.TITLE",         L"WIZ.MIDI.TITLE", L"WIZ.REPORTS.TITLE",
    };
    QWidget* handle =
        createOwned(L"Wizard", Config::tr(kTitles[kind_]), GUI::kStyleOverlappedWindow,
                    GUI::kExStyleControlParent, main_.getHandle());
    handle->setFixedSize(kWidth, kHeight);
    // Centred over the main window.
    const QRect over = main_.getHandle()->geometry();
    handle->move(over.center() - QPoint(kWidth / 2, kHeight / 2));
    handle->show();
    static const Page kFirst[] = {Page::kShowCheck,      Page::kShowCheck, Page::kNewStart,
                                  Page::kScxSmpteFormat, Page::kMidiStart, Page::kReportsStart};
    showPage(kFirst[kind_]);
}

std::optional<GUI::WindowClass> Wizard::getWindowClassDescription() const
{
    GUI::WindowClass description;
    description.background = kBackground;
    return description;
}

void Wizard::onCreate()
{
    content_ = new Content(*this);
    content_->createAsChild(L"Content", L"", new GUI::BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                            kContentStyle, GUI::kExStyleControlParent, this);
    addStateProvider(this, [this](nlohmann::json& state) {
        nlohmann::json wizard;
        wizard["kind"] = kindName(kind_);
        wizard["page"] = page_ == Page::kNone ? "" : Platform::toUtf8(pageName(page_));
        const int marked = content_ != nullptr ? content_->getMarked() : -1;
        wizard["choice"] = marked >= 0 ? nlohmann::json(marked) : nlohmann::json();
        wizard["ok"] = content_ != nullptr && content_->getOkButton()->isEnabled();
        wizard["okText"] =
            content_ != nullptr ? Platform::toUtf8(content_->getOkButton()->getCaption()) : "";
        nlohmann::json buttons = nlohmann::json::array();
        if (content_ != nullptr) {
            for (int i = 0; i < content_->getVisibleChoices(); ++i) {
                buttons.push_back(Platform::toUtf8(content_->getChoiceButton(i)->getCaption()));
            }
        }
        wizard["buttons"] = buttons;
        wizard["explanation"] =
            content_ != nullptr ? Platform::toUtf8(content_->getExplanation()->getText()) : "";
        wizard["done"] = done_;
        state["wizard"] = wizard;
    });
}

void Wizard::onDestroy()
{
    removeStateProvider(this);
    content_ = nullptr;
}

std::intptr_t Wizard::handleMessage(GUI::Message& message)
{
    switch (message.code) {
        case WM_WIZARD_CHECK: runCheck(); return 0;
        case WM_WIZARD_CONNECT: runConnect(); return 0;
        case WM_WIZARD_COMPILE: runCompile(); return 0;
        case WM_WIZARD_NEW_PROJECT: runNewProject(); return 0;
        default: break;
    }
    return GUI::Window::handleMessage(message);
}

bool Wizard::mayClose()
{
    // Only the show wizard connects; one that did not reach show mode leaves the device
    // disconnected (its shutdown sequence) and show mode off. The check-only wizard may be
    // opened during a show and must not end it.
    if (kind_ == KIND_SHOW && !done_) {
        const Show::ShowEnd end = main_.session().leaveShowMode();
        if (end.wasConnected && !end.disarmConfirmed) {
            Platform::logLine(L"Wizard: the device did not confirm its disarm on closing");
        }
    }
    return true;
}

const wchar_t* Wizard::pageName(Page page)
{
    switch (page) {
        case Page::kShowCheck:
        case Page::kShowCompile: return L"SHOW.COMPILE";
        case Page::kShowCompileError: return L"SHOW.COMPILE_ERROR";
        case Page::kShowCompileOk: return L"SHOW.COMPILE_OK";
        case Page::kShowConnect: return L"SHOW.CONNECT";
        case Page::kShowConnectError: return L"SHOW.CONNECT_ERROR";
        case Page::kShowPyroMode: return L"SHOW.PYRO_MODE";
        case Page::kShowWirelessOpt: return L"SHOW.WIRELESS_OPT";
        case Page::kShowMode: return L"SHOW.MODE";
        case Page::kShowClockSource: return L"SHOW.CLOCK_SOURCE";
        case Page::kShowFinished: return L"SHOW.FINISHED";
        case Page::kNewStart: return L"NEW.START";
        case Page::kNewSmpteFormat: return L"NEW.SMPTE_FORMAT";
        case Page::kNewWorking: return L"NEW.WORKING";
        case Page::kNewFinished: return L"NEW.FINISHED";
        case Page::kScxSmpteFormat: return L"SCX_FMT.SMPTE_FORMAT";
        case Page::kMidiStart: return L"MIDI.START";
        case Page::kMidiDevices: return L"MIDI.DEVICES";
        case Page::kReportsStart: return L"REPORTS.START";
        case Page::kReportsPyro: return L"REPORTS.PYRO";
        case Page::kReportsLocation: return L"REPORTS.LOCATION";
        case Page::kReportsSuccess: return L"REPORTS.CSV.SUCCESS";
        case Page::kNone: break;
    }
    return L"";
}

const char* Wizard::kindName(Kind kind)
{
    static const char* const kNames[] = {"checkCues",         "showMode", "newProject",
                                         "foreignShowFormat", "midi",     "reports"};
    return kNames[kind];
}

std::vector<Wizard::Choice> Wizard::choicesOf(Page page)
{
    std::vector<Choice> choices;
    const auto add = [&](const std::wstring& key, int value, std::wstring explanation = {}) {
        choices.push_back(
            {Config::tr(key), explanation.empty() ? key + L"_EX" : explanation, value});
    };
    switch (page) {
        case Page::kShowPyroMode:
            add(L"WIZ.SHOW.PYRO_MODE.WIRELESS", 0);
            add(L"WIZ.SHOW.PYRO_MODE.WIRED", 4);
            break;
        case Page::kShowWirelessOpt:
            for (int channel = 0; channel < 4; ++channel) {
                add(L"WIZ.SHOW.WIRELESS_OPT.CH" + std::to_wstring(channel + 1), channel,
                    L"WIZ.SHOW.WIRELESS_OPT.CHX_EX");
            }
            break;
        case Page::kShowMode:
            add(L"WIZ.SHOW.MODE.AUTO_FIRE", Controller::SHOW_AUDIO_CLOCK);
            add(L"WIZ.SHOW.MODE.MANUAL_FIRE", Controller::SHOW_MANUAL_FIRE);
            break;
        case Page::kShowClockSource:
            add(L"WIZ.SHOW.CLOCK_SOURCE.AUDIO", Controller::SHOW_AUDIO_CLOCK);
            add(L"WIZ.SHOW.CLOCK_SOURCE.OUT", Controller::SHOW_CLOCK_OUT);
            add(L"WIZ.SHOW.CLOCK_SOURCE.IN", Controller::SHOW_CLOCK_IN);
            break;
        case Page::kNewSmpteFormat:
            for (const Rate& rate : kRates) {
                add(std::wstring(L"WIZ.NEW.SMPTE_FORMAT.") + rate.suffix, rate.format);
            }
            break;
        case Page::kNewFinished: add(L"WIZ.NEW.FINISHED.SELECT_AUDIO", 0); break;
        case Page::kScxSmpteFormat: {
            // Only the rates the foreign show allows; all four when it named none.
            const std::vector<int>& fitting = main_.getForeignShowRates();
            for (const Rate& rate : kRates) {
                if (fitting.empty() ||
                    std::find(fitting.begin(), fitting.end(), rate.rate) != fitting.end()) {
                    add(std::wstring(L"WIZ.SCX_FMT.SMPTE_FORMAT.") + rate.suffix, rate.rate);
                }
            }
            break;
        }
        case Page::kMidiStart:
            add(L"WIZ.MIDI.BUTTON.SLAVE", 0);
            add(L"WIZ.MIDI.BUTTON.MASTER", 1);
            add(L"WIZ.MIDI.BUTTON.NONE", 2);
            break;
        case Page::kMidiDevices: {
            // Slave listens on an input, master sends on an output.
            const std::vector<std::wstring> names =
                main_.session().midi().getPortNames(midiChoice_ == 0);
            for (int i = 0; i < static_cast<int>(names.size()) && i < kMaxMidiDevices; ++i) {
                choices.push_back({names[static_cast<std::size_t>(i)], L"", i});
            }
            break;
        }
        case Page::kReportsStart:
            add(L"WIZ.REPORTS.BUTTON.SHOW", kShowReport);
            add(L"WIZ.REPORTS.BUTTON.LOADREPORT", kLoadReport);
            add(L"WIZ.REPORTS.BUTTON.BUNKERREPORT", kBunkerReport);
            add(L"WIZ.REPORTS.BUTTON.LOCATIONREPORT", kLocationReport);
            add(L"WIZ.REPORTS.BUTTON.INVENTORYREPORT", kInventoryReport);
            add(L"WIZ.REPORTS.BUTTON.CSV", kCsvExport);
            break;
        case Page::kReportsPyro:
            add(L"WIZ.REPORTS.PYRO.BUTTON.INCLUDE", kPyroInclude);
            add(L"WIZ.REPORTS.PYRO.BUTTON.EXCLUDE", kPyroExclude);
            add(L"WIZ.REPORTS.PYRO.BUTTON.OVERVIEW", kPyroOverview);
            break;
        case Page::kReportsLocation:
            add(L"WIZ.REPORTS.LOCATION.BUTTON.INCLUDE", kLocationInclude);
            add(L"WIZ.REPORTS.LOCATION.BUTTON.EXCLUDE", kLocationExclude);
            break;
        default: break;
    }
    return choices;
}

Wizard::BarMode Wizard::barModeOf(Page page, bool hasChoices)
{
    switch (page) {
        case Page::kShowCheck:
        case Page::kShowConnect:
        case Page::kShowCompile:
        case Page::kNewWorking: return BarMode::kBusy;
        case Page::kShowCompileError:
        case Page::kShowCompileOk:
        case Page::kShowConnectError: return BarMode::kOk;
        case Page::kShowFinished:
        case Page::kNewFinished:
        case Page::kScxSmpteFormat:
        case Page::kReportsSuccess: return BarMode::kFinish;
        // With no device to choose there is nothing to go on to.
        case Page::kMidiDevices: return hasChoices ? BarMode::kNext : BarMode::kOk;
        default: return BarMode::kNext;
    }
}

std::uint32_t Wizard::stepOf(Page page)
{
    switch (page) {
        case Page::kShowCheck: return WM_WIZARD_CHECK;
        case Page::kShowConnect: return WM_WIZARD_CONNECT;
        case Page::kShowCompile: return WM_WIZARD_COMPILE;
        case Page::kNewWorking: return WM_WIZARD_NEW_PROJECT;
        default: return 0;
    }
}

void Wizard::showPage(Page page)
{
    if (content_ == nullptr) {
        return;
    }
    choices_ = choicesOf(page);
    std::vector<std::wstring> texts;
    for (const Choice& choice : choices_) {
        texts.push_back(choice.text);
    }
    // The select-audio button of the last new-project page is an action, not a choice.
    const bool choicePage = !choices_.empty() && page != Page::kNewFinished;
    content_->build(pageName(page), texts, choicePage, barModeOf(page, !choices_.empty()));
    page_ = page;
    if (const std::uint32_t step = stepOf(page); step != 0) {
        // The busy page is on screen while the step runs.
        getHandle()->repaint();
        GUI::Message message;
        message.code = step;
        GUI::Component::post(getHandle(), message);
    }
}

void Wizard::choose(int index)
{
    if (content_ == nullptr || index < 0 || index >= static_cast<int>(choices_.size())) {
        return;
    }
    const Choice& choice = choices_[static_cast<std::size_t>(index)];
    if (page_ == Page::kNewFinished) {
        // Links a soundtrack through the main window's own command, then the wizard is done.
        sendCommand(Command::kLinkWave, 0);
        done_ = true;
        close();
        return;
    }
    content_->mark(index);
    content_->setExplanation(choice.explanationKey.empty() ? L""
                                                           : Config::tr(choice.explanationKey));
    switch (page_) {
        case Page::kShowPyroMode:
            pyroLink_ = choice.value;
            // Wireless waits for the channel; wired is set at once.
            if (pyroLink_ == 4 && !main_.session().controller().setPyroLink(4)) {
                showConnectError(main_.session().controller().getLastError());
            }
            break;
        case Page::kShowWirelessOpt:
            pyroLink_ = choice.value;
            if (!main_.session().controller().setPyroLink(pyroLink_)) {
                showConnectError(main_.session().controller().getLastError());
            }
            break;
        case Page::kShowMode:
        case Page::kShowClockSource: showMode_ = choice.value; break;
        case Page::kNewSmpteFormat: newFormat_ = choice.value; break;
        case Page::kScxSmpteFormat: scxRate_ = choice.value; break;
        case Page::kMidiStart: midiChoice_ = choice.value; break;
        case Page::kMidiDevices: midiPort_ = choice.value; break;
        case Page::kReportsStart:
        case Page::kReportsPyro:
        case Page::kReportsLocation: reportChoice_ = choice.value; break;
        default: break;
    }
}

void Wizard::ok()
{
    if (content_ == nullptr || !content_->getOkButton()->isEnabled()) {
        return;
    }
    if (content_->getOkButton()->getTag() == 1) {
        finish();
    } else {
        nextPage();
    }
}

void Wizard::finish()
{
    if (page_ == Page::kScxSmpteFormat) {
        postCommand(Command::kImportForeignShowRate, static_cast<std::uint64_t>(scxRate_));
    }
    // The error pages' OK closes a wizard that did not reach its goal.
    if (page_ != Page::kShowCompileError && page_ != Page::kShowConnectError &&
        !(page_ == Page::kMidiDevices && choices_.empty())) {
        done_ = true;
    }
    close();
}

void Wizard::cancel()
{
    close();
}

void Wizard::close()
{
    QTimer::singleShot(0, getHandle(), [handle = getHandle()] { handle->close(); });
}

void Wizard::nextPage()
{
    switch (page_) {
        case Page::kShowPyroMode:
            showPage(pyroLink_ == 4 ? Page::kShowMode : Page::kShowWirelessOpt);
            break;
        case Page::kShowWirelessOpt: showPage(Page::kShowMode); break;
        case Page::kShowMode:
            showPage(showMode_ == Controller::SHOW_AUDIO_CLOCK ? Page::kShowClockSource
                                                               : Page::kShowCompile);
            break;
        case Page::kShowClockSource: showPage(Page::kShowCompile); break;
        case Page::kNewStart: showPage(Page::kNewSmpteFormat); break;
        case Page::kNewSmpteFormat: showPage(Page::kNewWorking); break;
        case Page::kMidiStart:
            if (midiChoice_ == 2) {
                main_.session().midi().chooseNone();
                done_ = true;
                close();
            } else {
                showPage(Page::kMidiDevices);
            }
            break;
        case Page::kMidiDevices: applyMidiChoice(); break;
        case Page::kReportsStart:
            if (reportChoice_ == kBunkerReport) {
                showPage(Page::kReportsPyro);
            } else if (reportChoice_ == kLocationReport) {
                showPage(Page::kReportsLocation);
            } else if (writeReport()) {
                showPage(Page::kReportsSuccess);
            }
            break;
        case Page::kReportsPyro:
        case Page::kReportsLocation:
            if (writeReport()) {
                showPage(Page::kReportsSuccess);
            }
            break;
        default: break;
    }
}

// --- the automatic steps --------------------------------------------------------------------

void Wizard::runCheck()
{
    if (page_ != Page::kShowCheck) {
        return;
    }
    if (!main_.session().project().checkCues()) {
        showPage(Page::kShowCompileError);
        content_->setExplanation(describeCheckFailures());
        return;
    }
    showPage(kind_ == KIND_SHOW ? Page::kShowConnect : Page::kShowCompileOk);
}

std::wstring Wizard::describeCheckFailures()
{
    // The first problem with its cue; the count of the others after it.
    const auto& failures = main_.session().project().getCheckFailures();
    if (failures.empty()) {
        return Config::tr(main_.session().project().getLastError());
    }
    const auto& first = failures.front();
    const wchar_t* key = Project::CueFireCheck::problemKey(first.problem);
    std::wstring text =
        withNumber(Config::tr(key != nullptr ? key : L"ERROR.GENERIC"), first.cueNumber);
    if (failures.size() > 1) {
        text += L" (+" + std::to_wstring(failures.size() - 1) + L")";
    }
    return text;
}

void Wizard::runConnect()
{
    if (page_ != Page::kShowConnect) {
        return;
    }
    Show::ShowSession& session = main_.session();
    if (!session.connect()) {
        showConnectError(session.getLastError());
        return;
    }
    showPage(Page::kShowPyroMode);
}

void Wizard::showConnectError(const std::wstring& errorKey)
{
    showPage(Page::kShowConnectError);
    content_->setExplanation(Config::tr(errorKey.empty() ? L"ERROR.GENERIC" : errorKey));
}

void Wizard::runCompile()
{
    if (page_ != Page::kShowCompile) {
        return;
    }
    Show::ShowSession& session = main_.session();
    // The device must still answer before the show goes to it: a request with a reply.
    Controller::DeviceInfo info;
    if (!session.controller().getDeviceInfo(info)) {
        showConnectError(session.controller().getLastError());
        return;
    }
    if (!session.enterShowMode(showMode_)) {
        // A device that went away lands on the device's error page, anything else on the
        // show's.
        if (!session.controller().isConnected()) {
            showConnectError(session.getLastError());
        } else {
            showPage(Page::kShowCompileError);
            content_->setExplanation(Config::tr(session.getLastError()));
        }
        return;
    }
    done_ = true;
    showPage(Page::kShowFinished);
}

void Wizard::runNewProject()
{
    if (page_ != Page::kNewWorking) {
        return;
    }
    if (!main_.session().project().submit(new Project::OperationNewProject(newFormat_))) {
        close();
        return;
    }
    showPage(Page::kNewFinished);
}

void Wizard::applyMidiChoice()
{
    Show::ShowSession& session = main_.session();
    const std::string port = std::to_string(midiPort_);
    session.midi().setPort(midiPort_);
    const bool started =
        midiChoice_ == 0 ? session.startMidiSlave(port) : session.startMidiMaster(port);
    if (!started) {
        main_.ask(session.getLastError(), L"WINDOW.ERROR", Buttons::kOk, Icon::kError);
    }
    done_ = started;
    close();
}

bool Wizard::writeReport()
{
    const bool csv = reportChoice_ == kCsvExport;
    const std::wstring path = main_.fileDialogs().save(csv ? kFilterCsv : kFilterPdf, getHandle());
    if (path.empty()) {
        return false;
    }
    using Kind = PDF::OperationSaveReport::Kind;
    Project::IOperation* operation = nullptr;
    switch (reportChoice_) {
        case kShowReport: operation = new PDF::OperationSaveReport(path, Kind::SHOW); break;
        case kLoadReport: operation = new PDF::OperationSaveReport(path, Kind::LOAD); break;
        case kInventoryReport:
            operation = new PDF::OperationSaveReport(path, Kind::INVENTORY);
            break;
        case kCsvExport: operation = new Project::OperationSaveCSV(path); break;
        case kPyroInclude:
            operation = new PDF::OperationSaveReport(path, Kind::PYRO, true, false);
            break;
        case kPyroExclude:
            operation = new PDF::OperationSaveReport(path, Kind::PYRO, false, false);
            break;
        case kPyroOverview:
            operation = new PDF::OperationSaveReport(path, Kind::PYRO, false, true);
            break;
        case kLocationInclude:
            operation = new PDF::OperationSaveReport(path, Kind::LOCATION, true);
            break;
        case kLocationExclude:
            operation = new PDF::OperationSaveReport(path, Kind::LOCATION, false);
            break;
        default: return false;
    }
    if (!main_.session().project().submit(operation)) {
        return false;
    }
    if (!csv) {
        openExternal(QUrl::fromLocalFile(QString::fromStdWString(path)));
    }
    return true;
}

// --- the content ----------------------------------------------------------------------------

Wizard::Content::Content(Wizard& wizard)
    : wizard_(wizard),
      buttonListener_(wizard),
      okButtonListener_(wizard),
      cancelButtonListener_(wizard)
{
}

Wizard::Content::~Content()
{
    for (GUI::D2DButton* button : choiceButtons_) {
        if (button != nullptr) {
            button->removeListener(&buttonListener_);
        }
    }
    if (okButton_ != nullptr) {
        okButton_->removeListener(&okButtonListener_);
    }
    if (cancelButton_ != nullptr) {
        cancelButton_->removeListener(&cancelButtonListener_);
    }
}

void Wizard::Content::onCreate()
{
    for (int i = 0; i < kChoiceCount; ++i) {
        auto* button = new GUI::D2DButton();
        button->createAsD2DChild(
            L"Btn" + std::to_wstring(i + 1), L"",
            new GUI::BasicLayout(0, 10, 0, 100 + 40 * i, 1, -10, 0, 132 + 40 * i),
            GUI::kStyleChild | GUI::kStyleTabStop, 0, this);
        button->setTag(i);
        button->addListener(&buttonListener_);
        button->getHandle()->setVisible(false);
        choiceButtons_[i] = button;
    }
    explanation_ = new GUI::D2DLabel(
        GUI::D2DLabel::Alignment::kLeading,
        {GUI::kFaceColor, GUI::kEdgeColor, GUI::ColorF{0.086f, 0.102f, 0.125f, 1.0f}});
    explanation_->createAsD2DChild(
        L"ExLabel", L"", new GUI::BasicLayout(0, 10, 0, 140, 1, -10, 1, -44), kChildStyle, 0, this);
    cancelButton_ = new GUI::D2DButton();
    cancelButton_->createAsD2DChild(L"CancelButton", Config::tr(L"GENERIC.CANCEL"),
                                    new GUI::BasicLayout(1, -182, 1, -34, 1, -100, 1, -10),
                                    kChildStyle | GUI::kStyleTabStop, 0, this);
    cancelButton_->addListener(&cancelButtonListener_);
    okButton_ = new GUI::D2DButton();
    okButton_->createAsD2DChild(L"OkButton", Config::tr(L"GENERIC.NEXT"),
                                new GUI::BasicLayout(1, -92, 1, -34, 1, -10, 1, -10),
                                kChildStyle | GUI::kStyleTabStop, 0, this);
    okButton_->addListener(&okButtonListener_);
}

void Wizard::Content::build(const std::wstring& pageName,
                            const std::vector<std::wstring>& choiceTexts, bool choicePage,
                            BarMode bar)
{
    pageName_ = pageName;
    choicePage_ = choicePage;
    const int shown = std::min(static_cast<int>(choiceTexts.size()), kChoiceCount);
    for (int i = 0; i < kChoiceCount; ++i) {
        GUI::D2DButton* button = choiceButtons_[i];
        button->setOn(false);
        if (i < shown) {
            button->setCaption(choiceTexts[static_cast<std::size_t>(i)]);
        }
        button->getHandle()->setVisible(i < shown);
    }
    const int top = shown > 0 ? 100 + 40 * shown : 100;
    explanation_->setLayout(new GUI::BasicLayout(0, 10, 0, top, 1, -10, 1, -44));
    explanation_->setText(L"");

    // The bar: OK's tag says whether it advances (0) or finishes (1).
    const bool waitsForChoice = choicePage_;
    switch (bar) {
        case BarMode::kBusy:
            okButton_->setCaption(Config::tr(L"GENERIC.NEXT"));
            okButton_->setTag(0);
            okButton_->setEnabled(false);
            cancelButton_->getHandle()->setVisible(true);
            cancelButton_->setEnabled(false);
            break;
        case BarMode::kOk:
            okButton_->setCaption(Config::tr(L"GENERIC.OK"));
            okButton_->setTag(1);
            okButton_->setEnabled(true);
            cancelButton_->getHandle()->setVisible(false);
            break;
        case BarMode::kNext:
            okButton_->setCaption(Config::tr(L"GENERIC.NEXT"));
            okButton_->setTag(0);
            okButton_->setEnabled(!waitsForChoice);
            cancelButton_->getHandle()->setVisible(true);
            cancelButton_->setEnabled(true);
            break;
        case BarMode::kFinish:
            okButton_->setCaption(Config::tr(L"GENERIC.FINISH"));
            okButton_->setTag(1);
            okButton_->setEnabled(!waitsForChoice);
            cancelButton_->getHandle()->setVisible(false);
            break;
    }
    if (okButton_->isEnabled()) {
        okButton_->getHandle()->setFocus(Qt::OtherFocusReason);
    }
    invalidate();
}

void Wizard::Content::mark(int index)
{
    for (int i = 0; i < kChoiceCount; ++i) {
        choiceButtons_[i]->setOn(i == index);
    }
    okButton_->setEnabled(true);
    okButton_->getHandle()->setFocus(Qt::OtherFocusReason);
}

void Wizard::Content::setExplanation(const std::wstring& text)
{
    explanation_->setText(text);
}

int Wizard::Content::getMarked() const
{
    if (!choicePage_) {
        return -1;
    }
    for (int i = 0; i < kChoiceCount; ++i) {
        if (choiceButtons_[i]->getHandle()->isVisibleTo(getHandle()) && choiceButtons_[i]->isOn()) {
            return i;
        }
    }
    return -1;
}

int Wizard::Content::getVisibleChoices() const
{
    int count = 0;
    for (GUI::D2DButton* button : choiceButtons_) {
        count += button->getHandle()->isVisibleTo(getHandle()) ? 1 : 0;
    }
    return count;
}

void Wizard::Content::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSize size = target.getSize();
    p.fillRect(QRect(QPoint(0, 0), size), kBackground);
    p.fillRect(QRect(0, 0, size.width(), 90), kHeaderBand);
    if (pageName_.empty()) {
        return;
    }
    GUI::Graphics* graphics = GUI::Graphics::getInstance();
    const QString title = QString::fromStdWString(Config::tr(L"WIZ." + pageName_ + L".HEADER"));
    const QString text = QString::fromStdWString(Config::tr(L"WIZ." + pageName_ + L".HEADER_EX"));
    if (graphics != nullptr) {
        p.setFont(graphics->getFont(GUI::Graphics::TextStyle::kRegular18));
    }
    p.setPen(kTitleInk);
    const QRectF titleBox(14, 8, size.width() - 28, 26);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetricsF(p.font()).elidedText(title, Qt::ElideRight, titleBox.width()));
    if (graphics != nullptr) {
        p.setFont(graphics->getFont(GUI::Graphics::TextStyle::kRegular13));
    }
    p.setPen(kHeaderInk);
    p.drawText(QRectF(14, 36, size.width() - 28, 52),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

}  // namespace GUIMain
