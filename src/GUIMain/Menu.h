#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "Config/RecentFiles.h"
#include "GUI/D2DButton.h"
#include "GUI/D2DContainer.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

namespace GUIMain {

// The main menu that lies over the window while no project is open or while the user has
// folded it out: the file commands, the recent files, undo and redo, the libraries and the
// application's settings. Every button sends its command to the main window; the buttons
// that need a show, or something to undo, are enabled only when they can act.
class Menu : public GUI::D2DContainer,
             public GUI::D2DButton::Listener,
             public Project::Project::Listener,
             public Project::ProjectState::Listener,
             public Config::RecentFiles::Listener {
public:
    // One button of the menu: its component name, the key of its caption (empty: the caption
    // is set in code) and its command.
    struct Entry {
        const wchar_t* name;
        const wchar_t* captionKey;
        int command;
    };
    static const std::vector<Entry>& entries();
    // The recent-file buttons are "RecentBtn0" to "RecentBtn9": names are unique among a
    // panel's children.
    static std::wstring recentButtonName(int index);

    std::wstring getWindowClassName() const override { return L"MainMenu"; }
    void onCreate() override;
    void onDestroy() override;
    void draw(GUI::RenderTarget& target) override;
    void resized() override;

    // The menu's appearance follows the header's fold value: its head fades in as it
    // unfolds.
    void setFoldValue(float value);
    float getFoldValue() const { return foldValue_; }

    // Enabling and the undo and redo captions, from the project and the show state.
    void refreshButtons();
    // One button per recent file, in the list's order.
    void rebuildRecentButtons();
    int getRecentButtonCount() const { return static_cast<int>(recentButtons_.size()); }
    GUI::D2DButton* findButton(const std::wstring& name) const;

    // GUI::D2DButton::Listener
    void clicked(GUI::D2DButton* button) override;
    // Project::Project::Listener
    void fileNameChanged(const std::wstring& fileName) override;
    void historyChanged() override;
    void projectUpdated() override;
    // Project::ProjectState::Listener
    void onModeChanged() override;
    // Config::RecentFiles::Listener
    void onRecentFilesChanged() override;

private:
    struct Heading {
        std::wstring text;
        QRect rect;
    };
    void layOut();
    GUI::D2DButton* addButton(const std::wstring& name, const std::wstring& caption, int command);

    std::vector<GUI::D2DButton*> buttons_;
    std::vector<GUI::D2DButton*> recentButtons_;
    std::vector<Heading> headings_;
    QRect headRect_;
    QRect welcomeRect_;
    QImage head_;
    float foldValue_ = 1.0f;
    Project::Project* project_ = nullptr;
    Config::RecentFiles* recentFiles_ = nullptr;
};

}  // namespace GUIMain
