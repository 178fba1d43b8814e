#pragma once

#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "GUI/D2DButton.h"
#include "GUI/D2DContainer.h"
#include "GUI/D2DLabel.h"
#include "GUI/Window.h"

namespace GUIMain {

class Skyfirewright;

// A small window, owned by the main window, that leads the user through a one-way sequence of
// pages: a header, up to six large choice buttons, a line explaining the last choice, and a
// bar with OK and Cancel. There is no way back; Cancel (or the close box) abandons it. The
// kind decides the title and the first page, the pages decide the rest. The wizard gathers
// the user's choices and drives the show session's services with them; it deletes itself
// when its window goes.
class Wizard : public GUI::Window {
public:
    enum Kind {
        KIND_SHOW_CHECK,  // the show wizard's project check only
        KIND_SHOW,        // from a design to show mode
        KIND_NEW_PROJECT,
        KIND_SCX_FORMAT,  // the frame rate of a foreign show that allows more than one
        KIND_MIDI,
        KIND_REPORTS,
    };

    enum class Page {
        kNone = -1,
        kShowCheck,  // "SHOW.COMPILE", the check step
        kShowCompileError,
        kShowCompileOk,
        kShowConnect,
        kShowConnectError,
        kShowPyroMode,
        kShowWirelessOpt,
        kShowMode,
        kShowClockSource,
        kShowCompile,  // "SHOW.COMPILE", the compile step
        kShowFinished,
        kNewStart,
        kNewSmpteFormat,
        kNewWorking,
        kNewFinished,
        kScxSmpteFormat,
        kMidiStart,
        kMidiDevices,
        kReportsStart,
        kReportsPyro,
        kReportsLocation,
        kReportsSuccess,
    };

    enum class BarMode { kBusy, kOk, kNext, kFinish };

    // The automatic steps, posted by the wizard to itself once the busy page is on screen.
    static constexpr std::uint32_t WM_WIZARD_CHECK = 0x5C0;
    static constexpr std::uint32_t WM_WIZARD_CONNECT = 0x5C1;
    static constexpr std::uint32_t WM_WIZARD_COMPILE = 0x5C2;
    static constexpr std::uint32_t WM_WIZARD_NEW_PROJECT = 0x5C3;

    static constexpr int kWidth = 640;
    static constexpr int kHeight = 440;

    class Content;

    Wizard(Kind kind, Skyfirewright& main);
    ~Wizard() override;

    // Creates the window owned by the main window (which is disabled while the wizard
    // exists), shows it and builds the first page.
    void open();

    std::wstring getWindowClassName() const override { return L"ShowModeWizard"; }
    std::optional<GUI::WindowClass> getWindowClassDescription() const override;
    std::intptr_t handleMessage(GUI::Message& message) override;
    void onCreate() override;
    void onDestroy() override;
    // Never refuses; a show wizard that did not reach show mode ends what it connected.
    bool mayClose() override;

    Kind getKind() const { return kind_; }
    Page getPage() const { return page_; }
    static const wchar_t* pageName(Page page);
    static const char* kindName(Kind kind);
    Content* getContent() const { return content_; }
    int getShowMode() const { return showMode_; }
    int getPyroLink() const { return pyroLink_; }
    int getMidiChoice() const { return midiChoice_; }
    int getMidiPort() const { return midiPort_; }
    int getNewFormat() const { return newFormat_; }
    int getScxRate() const { return scxRate_; }
    int getReportChoice() const { return reportChoice_; }
    bool isDone() const { return done_; }

    // The content's buttons: a choice (the button's tag), an OK and a Cancel.
    void choose(int index);
    void ok();
    void cancel();

private:
    struct Choice {
        std::wstring text;
        std::wstring explanationKey;  // empty: none
        int value = 0;
    };

    void showPage(Page page);
    void nextPage();
    void finish();
    // Asks the window to close from the event loop, as its close box does.
    void close();
    std::vector<Choice> choicesOf(Page page);
    static BarMode barModeOf(Page page, bool hasChoices);
    static std::uint32_t stepOf(Page page);

    void runCheck();
    void runConnect();
    void runCompile();
    void runNewProject();
    // The error page of the device, its explanation the controller's last error.
    void showConnectError(const std::wstring& errorKey);
    // Writes the chosen report; false when nothing was written.
    bool writeReport();
    void applyMidiChoice();
    std::wstring describeCheckFailures();

    Kind kind_;
    Skyfirewright& main_;
    Page page_ = Page::kNone;
    Content* content_ = nullptr;
    std::vector<Choice> choices_;
    int showMode_ = 0;
    int pyroLink_ = 0;
    int midiChoice_ = 0;
    int midiPort_ = 0;
    int newFormat_ = 1;
    int scxRate_ = 25;
    int reportChoice_ = 0;
    bool done_ = false;
};

// The single child that fills the wizard: header, choice buttons, explanation and bar.
class Wizard::Content : public GUI::D2DContainer {
public:
    static constexpr int kChoiceCount = 6;

    explicit Content(Wizard& wizard);
    ~Content() override;

    std::wstring getWindowClassName() const override { return L"ShowModeWizardContent"; }
    void onCreate() override;
    void draw(GUI::RenderTarget& target) override;

    // Builds a page: its header keys, one button per choice text (`choicePage`: the buttons
    // are choices, one is marked and OK waits for it), the explanation cleared, the bar.
    void build(const std::wstring& pageName, const std::vector<std::wstring>& choiceTexts,
               bool choicePage, BarMode bar);
    // Marks one choice button, clears the others, enables OK and gives it the focus.
    void mark(int index);
    void setExplanation(const std::wstring& text);

    GUI::D2DButton* getChoiceButton(int index) const { return choiceButtons_[index]; }
    GUI::D2DButton* getOkButton() const { return okButton_; }
    GUI::D2DButton* getCancelButton() const { return cancelButton_; }
    GUI::D2DLabel* getExplanation() const { return explanation_; }
    bool isChoicePage() const { return choicePage_; }
    // The marked choice button, or -1.
    int getMarked() const;
    int getVisibleChoices() const;

private:
    class ChoiceListener : public GUI::D2DButton::Listener {
    public:
        explicit ChoiceListener(Wizard& wizard) : wizard_(wizard) {}
        void clicked(GUI::D2DButton* button) override { wizard_.choose(button->getTag()); }

    private:
        Wizard& wizard_;
    };
    class OkListener : public GUI::D2DButton::Listener {
    public:
        explicit OkListener(Wizard& wizard) : wizard_(wizard) {}
        void clicked(GUI::D2DButton*) override { wizard_.ok(); }

    private:
        Wizard& wizard_;
    };
    class CancelListener : public GUI::D2DButton::Listener {
    public:
        explicit CancelListener(Wizard& wizard) : wizard_(wizard) {}
        void clicked(GUI::D2DButton*) override { wizard_.cancel(); }

    private:
        Wizard& wizard_;
    };

    Wizard& wizard_;
    GUI::D2DButton* choiceButtons_[kChoiceCount] = {};
    GUI::D2DLabel* explanation_ = nullptr;
    GUI::D2DButton* okButton_ = nullptr;
    GUI::D2DButton* cancelButton_ = nullptr;
    bool choicePage_ = false;
    std::wstring pageName_;
    ChoiceListener buttonListener_;
    OkListener okButtonListener_;
    CancelListener cancelButtonListener_;
};

}  // namespace GUIMain
