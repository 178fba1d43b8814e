#include "GUIMain/EffectScreen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "Config/Settings.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Commands.h"
#include "GUIMain/EffectListView.h"
#include "GUIMain/LibraryWindow.h"
#include "GUIMain/Skyfirewright.h"
#include "Project/Operations/EffectCsv.h"
#include "Project/Operations/OperationAddEffect.h"
#include "Project/Operations/OperationApplyEffect.h"
#include "Project/Operations/OperationDeleteEffectSelection.h"
#include "Project/Operations/OperationFilterEffects.h"
#include "Project/Operations/OperationImportEffectCsv.h"
#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"
#include "Project/Operations/OperationStoreEffectListToLocalFile.h"
#include "Show/ShowSession.h"

namespace GUIMain {

using LibraryWindow::makeButton;

namespace {

// File dialog filters (GUI::FileDialogs): CSV, effect file.
constexpr int kCsvFilter = 6;
constexpr int kEffectFileFilter = 8;
// How many duplicate lines and refused rows the CSV report lists one by one.
constexpr std::size_t kReportedRows = 12;

EffectScreen* openScreen = nullptr;

}  // namespace

EffectScreen::EffectScreen(Skyfirewright& owner, int mode)
    : owner_(owner), project_(owner.session().project()), mode_(mode)
{
}

EffectScreen* EffectScreen::current()
{
    return openScreen;
}

EffectScreen* EffectScreen::open(Skyfirewright& owner, int mode)
{
    if (openScreen != nullptr) {
        LibraryWindow::raise(openScreen->getHandle());
        return openScreen;
    }
    auto* screen = new EffectScreen(owner, mode);
    const std::wstring title =
        Config::tr(mode == kModePick ? L"EFFECTS.TITLE.PICK" : L"EFFECTS.TITLE.EDIT");
    screen->createOwned(L"EffectScreen", title, GUI::kStyleOverlappedWindow, 0, owner.getHandle());
    LibraryWindow::present(screen->getHandle(), owner.getHandle());
    screen->view_->table()->setFocus();
    return screen;
}

Project::Project& EffectScreen::project() const
{
    return project_;
}

void EffectScreen::onCreate()
{
    openScreen = this;
    QWidget* handle = getHandle();
    QVBoxLayout* layout = LibraryWindow::layOut(
        handle, mode_ == kModePick ? L"EFFECTS.HEADING.PICK" : L"EFFECTS.HEADING.EDIT");

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(4);
    if (mode_ == kModeEdit) {
        buttons->addWidget(
            makeButton(handle, "Add", L"EFFECTS.BUTTON.ADD", [this] { addEffect(); }));
        buttons->addWidget(
            makeButton(handle, "Delete", L"EFFECTS.BUTTON.DELETE", [this] { deleteSelection(); }));
        buttons->addSpacing(12);
        buttons->addWidget(
            makeButton(handle, "LoadFile", L"EFFECTS.BUTTON.LOAD", [this] { loadLibraryFile(); }));
        buttons->addWidget(makeButton(handle, "StoreFile", L"EFFECTS.BUTTON.STORE",
                                      [] { sendCommand(Command::kStoreEffectLibrary); }));
        buttons->addWidget(makeButton(handle, "ImportForeign", L"EFFECTS.BUTTON.IMPORT_FOREIGN",
                                      [] { sendCommand(Command::kImportForeignEffects); }));
        buttons->addWidget(
            makeButton(handle, "ImportCsv", L"EFFECTS.BUTTON.IMPORT_CSV", [this] { importCsv(); }));
        buttons->addWidget(
            makeButton(handle, "ExportCsv", L"EFFECTS.BUTTON.EXPORT_CSV", [this] { exportCsv(); }));
    }
    buttons->addStretch(1);
    if (mode_ == kModePick) {
        QPushButton* apply =
            makeButton(handle, "Apply", L"EFFECTS.BUTTON.APPLY", [this] { pick(); });
        buttons->addWidget(apply);
    }
    buttons->addWidget(LibraryWindow::makeCloseButton(handle, L"EFFECTS.BUTTON.CLOSE"));
    layout->addLayout(buttons);

    EffectListView::Hooks hooks;
    hooks.submit = [this](std::unique_ptr<Project::IOperation> operation) {
        return submit(std::move(operation));
    };
    hooks.refuse = [this](const std::wstring& key) { tell(key, true); };
    hooks.shownChanged = [this] { refreshStatus(); };
    if (mode_ == kModePick) {
        hooks.activated = [this] { pick(); };
    } else {
        hooks.deleteRequested = [this] { deleteSelection(); };
    }

    // A library left narrowed by an earlier search comes back whole before it is shown.
    Project::ProjectData& data = project().getProjectData();
    if (data.getFullEffectList().getCount() > data.getEffectList().getCount()) {
        project().submit(std::make_unique<Project::OperationFilterEffects>(Project::EffectTexts{}));
    }
    fingerprintAtOpen_ = libraryFingerprint();

    view_ = new EffectListView(data.getEffectList(), std::move(hooks), handle);
    layout->addWidget(view_, 1);

    status_ = new QLabel(handle);
    status_->setObjectName(QStringLiteral("Status"));
    layout->addWidget(status_);
    refreshStatus();

    project().addListener(this);
    addStateProvider(this, [this](nlohmann::json& state) {
        std::vector<int> selected;
        for (const LibraryListEntry& entry : view_->shownOrder()) {
            if (entry.selected) {
                selected.push_back(entry.id);
            }
        }
        state["effects"] = {
            {"count", project().getProjectData().getEffectList().getCount()},
            {"visible", view_->visibleCount()},
            {"selected", selected},
            {"mode", mode_},
        };
    });
}

void EffectScreen::onDestroy()
{
    removeStateProvider(this);
    project().removeListener(this);
    if (openScreen == this) {
        openScreen = nullptr;
    }
    view_ = nullptr;
    Project::ProjectData& data = project().getProjectData();
    if (data.getFullEffectList().getCount() > data.getEffectList().getCount()) {
        project().submit(std::make_unique<Project::OperationFilterEffects>(Project::EffectTexts{}));
    }
    // Storing clears the undo history, so only a library that changed is stored: a pick
    // stays undoable.
    if (libraryFingerprint() != fingerprintAtOpen_) {
        project().submit(std::make_unique<Project::OperationStoreEffectListToLocalFile>());
    }
}

std::size_t EffectScreen::libraryFingerprint() const
{
    const Project::EffectList& library = project().getProjectData().getEffectList();
    std::size_t hash = static_cast<std::size_t>(library.getCount());
    const std::hash<std::wstring> textHash;
    for (const Project::EffectList::EffectItem* effect : library) {
        for (const std::wstring& text : effect->toKeyValueTexts()) {
            hash = hash * 1099511628211ull ^ textHash(text);
        }
    }
    return hash;
}

std::vector<LibraryListEntry> EffectScreen::getListOrder(LibraryList list) const
{
    if (list != LibraryList::kEffects || view_ == nullptr) {
        return {};
    }
    return view_->shownOrder();
}

void EffectScreen::projectUpdated()
{
    if (view_ != nullptr) {
        view_->refresh();
        refreshStatus();
    }
}

bool EffectScreen::submit(std::unique_ptr<Project::IOperation> operation)
{
    return project().submit(std::move(operation));
}

void EffectScreen::tell(const std::wstring& key, bool warning)
{
    owner_.ask(key, L"EFFECTS.TITLE.EDIT", Platform::MessageBoxService::Buttons::kOk,
               warning ? Platform::MessageBoxService::Icon::kWarning
                       : Platform::MessageBoxService::Icon::kInformation);
}

void EffectScreen::tellText(const std::wstring& message, const std::wstring& captionKey,
                            bool warning)
{
    Platform::MessageBoxService::Request request;
    request.text = message;
    request.caption = Config::tr(captionKey);
    request.buttons = Platform::MessageBoxService::Buttons::kOk;
    request.icon = warning ? Platform::MessageBoxService::Icon::kWarning
                           : Platform::MessageBoxService::Icon::kInformation;
    request.owner = getHandle();
    owner_.messageBoxes().ask(request);
}

void EffectScreen::refreshStatus()
{
    if (status_ == nullptr || view_ == nullptr) {
        return;
    }
    const int count = project().getProjectData().getEffectList().getCount();
    int selected = 0;
    for (const LibraryListEntry& entry : view_->shownOrder()) {
        selected += entry.selected ? 1 : 0;
    }
    std::wstring line = std::to_wstring(count) + L" " + Config::tr(L"EFFECTS.STATUS.EFFECTS");
    if (view_->isSearching()) {
        line += L", " + std::to_wstring(view_->visibleCount()) + L" " +
                Config::tr(L"EFFECTS.STATUS.SHOWN");
    }
    line += L", " + std::to_wstring(selected) + L" " + Config::tr(L"EFFECTS.STATUS.SELECTED");
    status_->setText(QString::fromStdWString(line));
}

void EffectScreen::addEffect()
{
    // A new article with a description of its own, so it is never a duplicate.
    const Project::EffectList& library = project().getProjectData().getEffectList();
    const std::wstring base = Config::tr(L"EFFECTS.NEW_EFFECT");
    Project::EffectTexts texts;
    for (int n = 1;; ++n) {
        texts[0] = n == 1 ? base : base + L" " + std::to_wstring(n);
        Project::Effect candidate;
        candidate.setDescription(texts[0]);
        if (library.findEqual(candidate) == nullptr) {
            break;
        }
    }
    submit(std::make_unique<Project::OperationAddEffect>(texts));
    // Straight into typing the description of the new, selected effect.
    if (const Project::Effect* added = view_->chosenEffect()) {
        QTableView* table = view_->table();
        for (int row = 0; row < view_->visibleCount(); ++row) {
            if (view_->effectAt(row) == added) {
                const QModelIndex cell = table->model()->index(row, 0);
                table->setCurrentIndex(cell);
                table->scrollTo(cell);
                table->edit(cell);
                break;
            }
        }
    }
}

void EffectScreen::deleteSelection()
{
    submit(std::make_unique<Project::OperationDeleteEffectSelection>());
}

void EffectScreen::loadLibraryFile()
{
    const std::wstring path = owner_.fileDialogs().open(kEffectFileFilter, getHandle());
    if (!path.empty()) {
        submit(std::make_unique<Project::OperationLoadEffectListFromLocalFile>(path));
    }
}

void EffectScreen::importCsv()
{
    const std::wstring path = owner_.fileDialogs().open(kCsvFilter, getHandle());
    if (path.empty()) {
        return;
    }
    // A refused file is reported by the project with its reason; nothing was added then.
    auto sink = std::make_shared<Project::OperationImportEffectCsv::Report>();
    if (!submit(std::make_unique<Project::OperationImportEffectCsv>(path, sink))) {
        return;
    }
    const Project::OperationImportEffectCsv::Report& report = *sink;
    std::wstring message =
        Config::tr(L"EFFECTS.CSV.REPORT.ADDED") + L" " + std::to_wstring(report.added);
    message += L"\n" + Config::tr(L"EFFECTS.CSV.REPORT.DUPLICATES") + L" " +
               std::to_wstring(report.duplicateLines.size());
    for (std::size_t i = 0; i < report.duplicateLines.size() && i < kReportedRows; ++i) {
        message += (i == 0 ? L" (" : L", ") + Config::tr(L"EFFECTS.CSV.REPORT.LINE") + L" " +
                   std::to_wstring(report.duplicateLines[i]);
        if (i + 1 == report.duplicateLines.size() || i + 1 == kReportedRows) {
            message += report.duplicateLines.size() > kReportedRows ? L", …)" : L")";
        }
    }
    message += L"\n" + Config::tr(L"EFFECTS.CSV.REPORT.REFUSED") + L" " +
               std::to_wstring(report.refused.size());
    for (std::size_t i = 0; i < report.refused.size() && i < kReportedRows; ++i) {
        const Project::EffectCsv::Refusal& refusal = report.refused[i];
        message += L"\n  " + Config::tr(L"EFFECTS.CSV.REPORT.LINE") + L" " +
                   std::to_wstring(refusal.line) + L": " + Config::tr(refusal.reasonKey);
        if (!refusal.column.empty()) {
            message += L" (" + refusal.column + L")";
        }
    }
    if (report.refused.size() > kReportedRows) {
        message += L"\n  …";
    }
    tellText(message, L"EFFECTS.CSV.REPORT.TITLE", !report.refused.empty());
}

void EffectScreen::exportCsv()
{
    const std::wstring path = owner_.fileDialogs().save(kCsvFilter, getHandle());
    if (path.empty()) {
        return;
    }
    std::wstring errorKey;
    if (!Project::EffectCsv::save(path, project().getProjectData().getEffectList(), errorKey)) {
        tell(errorKey, true);
    }
}

bool EffectScreen::pick()
{
    const Project::Effect* effect = view_ != nullptr ? view_->chosenEffect() : nullptr;
    if (effect == nullptr) {
        tell(L"EFFECTS.PICK.NO_EFFECT", true);
        return false;
    }
    const Project::CueList& cues = project().getProjectData().getCueList();
    bool anySelected = false;
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        anySelected = anySelected || cue->isSelected();
    }
    if (!anySelected) {
        tell(L"EFFECTS.PICK.NO_CUES", true);
        return false;
    }
    auto operation = std::make_unique<Project::OperationApplyEffect>(*effect);
    Project::OperationApplyEffect* apply = operation.get();
    if (!submit(std::move(operation))) {
        return false;
    }
    // The operation now lives in the undo history.
    if (apply->getRefusedPrefireCount() > 0) {
        tell(L"EFFECTS.PICK.PREFIRE_REFUSED", true);
    }
    QWidget* window = getHandle();
    QTimer::singleShot(0, window, [window] { window->close(); });
    return true;
}

}  // namespace GUIMain
