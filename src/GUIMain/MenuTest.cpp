#include "Config/Settings.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "GUIMain/Menu.h"
#include "Project/Operations/OperationNewProject.h"

namespace GUIMain::Testing {
namespace {

class MenuTest : public MainWindowTest {
protected:
    nlohmann::json button(const std::string& name) { return state()["menu"][name]; }
    bool enabled(const std::string& name) { return button(name)["enabled"].get<bool>(); }
    std::string caption(const std::string& name)
    {
        return button(name)["caption"].get<std::string>();
    }
    std::string text(const wchar_t* key) { return Platform::toUtf8(Config::tr(key)); }
    // Shows the menu over an open show, as the logo click does.
    void foldOut()
    {
        if (!window_->isMenuVisible()) {
            run({"click Header 100 50"});
        }
    }
};

TEST_F(MenuTest, ButtonsAreEnabledOnlyWhereTheyCanAct)
{
    const std::vector<std::string> needAShow = {"SaveButton", "SaveAsButton", "ExportQuelistButton",
                                                "ReportButton", "CombineButton"};
    for (const std::string& name : needAShow) {
        EXPECT_FALSE(enabled(name)) << name << " without a show";
    }
    for (const char* name :
         {"NewButton", "OpenButton", "ImportButton", "MidiButton", "FixtureButton", "EffectButton",
          "ConfigButton", "HelpButton", "WebsiteButton"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    EXPECT_EQ(caption("UndoButton"), text(L"UNDO.NOTHING"));
    EXPECT_EQ(caption("RedoButton"), text(L"REDO.NOTHING"));
    EXPECT_EQ(failureOf("click MainMenu/SaveButton"),
              "the target is disabled or hidden: MainMenu/SaveButton");

    // An untitled show can only be saved under a name.
    ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
    foldOut();
    EXPECT_FALSE(enabled("SaveButton"));
    for (const std::string& name : needAShow) {
        EXPECT_EQ(enabled(name), name != "SaveButton") << name << " with an untitled show";
    }
    run({"file " + pathUtf8("named.fwp"), "click MainMenu/SaveAsButton"});
    EXPECT_TRUE(enabled("SaveButton"));
}

TEST_F(MenuTest, UndoAndRedoFollowTheHistoryAndShowMode)
{
    ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
    run({"command 46"});
    foldOut();
    EXPECT_TRUE(enabled("UndoButton"));
    EXPECT_EQ(caption("UndoButton"), text(L"UNDO.ADD_CUE"));
    EXPECT_FALSE(enabled("RedoButton"));

    run({"click MainMenu/UndoButton"});
    EXPECT_EQ(state()["cueCount"], 0);
    EXPECT_FALSE(enabled("UndoButton"));
    EXPECT_EQ(caption("UndoButton"), text(L"UNDO.NOTHING"));
    EXPECT_TRUE(enabled("RedoButton"));
    EXPECT_EQ(caption("RedoButton"), text(L"REDO.ADD_CUE"));

    session_->project().setShowMode(true);
    EXPECT_FALSE(enabled("RedoButton")) << "nothing is undone or redone in show mode";
    EXPECT_EQ(caption("RedoButton"), text(L"REDO.NOTHING"));
    session_->project().setShowMode(false);
    EXPECT_TRUE(enabled("RedoButton"));
    run({"click MainMenu/RedoButton"});
    EXPECT_EQ(state()["cueCount"], 1);
}

TEST_F(MenuTest, RecentFilesGetAButtonEachThatOpensThem)
{
    Config::RecentFiles& recent = Config::Settings::getInstance()->getRecentFiles();
    for (const char* name : {"first.fwp", "second.fwp"}) {
        ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
        foldOut();
        run({"file " + pathUtf8(name), "click MainMenu/SaveAsButton"});
    }
    nlohmann::json menu = state()["menu"];
    EXPECT_EQ(menu["RecentBtn0"]["caption"], "second.fwp");
    EXPECT_EQ(menu["RecentBtn1"]["caption"], "first.fwp");
    EXPECT_FALSE(menu.contains("RecentBtn2"));

    // The second button sends command 10: the entry at index 1 opens.
    run({"click MainMenu/RecentBtn1"});
    EXPECT_NE(state()["title"].get<std::string>().find("first.fwp"), std::string::npos);
    EXPECT_EQ(recent.getEntry(0), path("first.fwp"));
    EXPECT_EQ(state()["menu"]["RecentBtn0"]["caption"], "first.fwp") << "rebuilt in list order";

    // A file that is gone leaves the list when it fails to open, and its button goes too.
    recent.add(path("gone.fwp"));
    EXPECT_EQ(window_->getMenu()->getRecentButtonCount(), 3);
    foldOut();
    run({"answer ok", "click MainMenu/RecentBtn0"});
    EXPECT_EQ(window_->getMenu()->getRecentButtonCount(), 2);
    EXPECT_EQ(state()["menu"]["RecentBtn0"]["caption"], "first.fwp");
}

}  // namespace
}  // namespace GUIMain::Testing
