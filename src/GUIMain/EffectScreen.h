#pragma once

#include <QPointer>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "GUI/Window.h"
#include "GUIMain/LibraryScreens.h"
#include "Project/Project.h"

class QLabel;
class QPushButton;

namespace Project {
class IOperation;
}

namespace GUIMain {

class EffectListView;
class Skyfirewright;

// The effect library window, owned by the main window. Mode 0 keeps the catalogue: edit in
// place, add, delete, search, load and store library files, import a foreign effect database
// and exchange CSV files. Mode 1 picks: the chosen effect is applied to the selected cues as
// one undoable operation and the window closes.
//
// When it closes, a narrowed library is restored and, when the library changed while the
// window was open, the per-user effect file is stored.
class EffectScreen : public GUI::Window, public ILibraryScreen, public Project::Project::Listener {
public:
    static constexpr int kModeEdit = 0;
    static constexpr int kModePick = 1;

    // Creates the window over the main window (or raises the one that is open).
    static EffectScreen* open(Skyfirewright& owner, int mode);
    // The open screen, or null.
    static EffectScreen* current();

    std::wstring getWindowClassName() const override { return L"EffectScreen"; }
    void onCreate() override;
    void onDestroy() override;

    // ILibraryScreen
    QWidget* getWindow() const override { return getHandle(); }
    std::vector<LibraryListEntry> getListOrder(LibraryList list) const override;

    // Project::Project::Listener
    void projectUpdated() override;

    int getMode() const { return mode_; }
    EffectListView* getListView() const { return view_; }

    // The buttons' actions.
    void addEffect();
    void deleteSelection();
    void loadLibraryFile();
    void importCsv();
    void exportCsv();
    // Applies the chosen effect to the selected cues and closes; false (with the reason
    // shown) when there is no effect or no cue to apply it to.
    bool pick();

private:
    EffectScreen(Skyfirewright& owner, int mode);

    Project::Project& project() const;
    bool submit(std::unique_ptr<Project::IOperation> operation);
    void tell(const std::wstring& key, bool warning);
    void tellText(const std::wstring& text, const std::wstring& captionKey, bool warning);
    void refreshStatus();
    std::size_t libraryFingerprint() const;

    Skyfirewright& owner_;
    // The session's project, which outlives every window (the owner may be gone first when
    // the program closes).
    Project::Project& project_;
    int mode_;
    EffectListView* view_ = nullptr;
    QLabel* status_ = nullptr;
    std::size_t fingerprintAtOpen_ = 0;
};

}  // namespace GUIMain
