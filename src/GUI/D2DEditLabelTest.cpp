#include <gtest/gtest.h>

#include <QClipboard>
#include <QFontMetricsF>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "GUI/BasicLayout.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/QtMessageBox.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::kChildStyle;

// Records what the label tells it; puts `shown` back on revert, as a panel does.
class Recorder : public D2DEditLabel::Listener {
public:
    void editingStarted(D2DEditLabel*) override { events.push_back("started"); }
    bool commit(D2DEditLabel* label, bool byEnter) override
    {
        events.push_back((byEnter ? "enter:" : "commit:") +
                         QString::fromStdWString(label->getText()).toStdString());
        return accept;
    }
    void textChanged(D2DEditLabel*) override { ++changes; }
    void revert(D2DEditLabel* label) override
    {
        events.push_back("revert");
        label->setText(shown);
    }

    std::vector<std::string> events;
    bool accept = true;
    std::wstring shown = L"value";
    int changes = 0;
};

class D2DEditLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = Testing::makeWindow(400, 200);
        panel_ = new Testing::CountingGroup;
        panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0), kChildStyle,
                              0, window_);
        label_ = new D2DEditLabel;
        label_->createAsD2DChild(L"Edit", L"value", new BasicLayout(0, 10, 0, 10, 0, 310, 0, 34),
                                 kChildStyle | kStyleTabStop, 0, panel_);
        label_->addListener(&recorder_);
        next_ = new D2DEditLabel;
        next_->createAsD2DChild(L"Next", L"", new BasicLayout(0, 10, 0, 50, 0, 310, 0, 74),
                                kChildStyle | kStyleTabStop, 0, panel_);
        ASSERT_TRUE(Testing::showAndExpose(window_));
        window_->getHandle()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_->getHandle()));
    }
    void TearDown() override { delete window_; }

    QWidget* edit() const { return label_->getHandle(); }
    void focusLabel()
    {
        edit()->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(label_->isEditing());
        recorder_.events.clear();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    std::string selected() const { return label_->getSelectedText().toStdString(); }
    std::string text() const { return QString::fromStdWString(label_->getText()).toStdString(); }
    // The x of the middle of character `index` of the label's text.
    int xOf(int index) const
    {
        const QFontMetricsF metrics(
            Graphics::getInstance()->getFont(Graphics::TextStyle::kRegular13));
        const QString t = QString::fromStdWString(label_->getText());
        return static_cast<int>(5 + metrics.horizontalAdvance(t.left(index)) +
                                metrics.horizontalAdvance(t.mid(index, 1)) / 2);
    }

    Testing::TestWindow* window_ = nullptr;
    Testing::CountingGroup* panel_ = nullptr;
    D2DEditLabel* label_ = nullptr;
    D2DEditLabel* next_ = nullptr;
    Recorder recorder_;
};

TEST_F(D2DEditLabelTest, FocusSelectsAllAndTabCommitsOnlyWhatWasTyped)
{
    edit()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(recorder_.events, std::vector<std::string>{"started"});
    EXPECT_EQ(selected(), "value");

    // Not modified: leaving reverts.
    recorder_.events.clear();
    key(Qt::Key_Tab);
    EXPECT_TRUE(next_->getHandle()->hasFocus());
    EXPECT_FALSE(label_->isEditing());
    EXPECT_EQ(recorder_.events, std::vector<std::string>{"revert"});

    // Typed over the selection: leaving commits the typed text.
    focusLabel();
    QTest::keyClicks(edit(), "12");
    EXPECT_EQ(text(), "12");
    EXPECT_TRUE(label_->isModified());
    EXPECT_EQ(recorder_.changes, 2);
    key(Qt::Key_Tab);
    EXPECT_EQ(recorder_.events, std::vector<std::string>{"commit:12"});
    EXPECT_FALSE(label_->isModified());
    EXPECT_TRUE(next_->getHandle()->hasFocus());
}

TEST_F(D2DEditLabelTest, EnterCommitsAndEscapeRevertsKeepingTheFocus)
{
    focusLabel();
    QTest::keyClicks(edit(), "abc");
    key(Qt::Key_Escape);
    EXPECT_EQ(text(), "value");
    EXPECT_TRUE(edit()->hasFocus());
    EXPECT_FALSE(label_->isModified());
    // Enter commits even an unchanged text; the focus stays for the next value.
    key(Qt::Key_Return);
    EXPECT_TRUE(edit()->hasFocus());
    key(Qt::Key_End);
    QTest::keyClicks(edit(), "s");
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(label_->isModified());
    // After Escape and Enter nothing is pending: leaving reverts.
    key(Qt::Key_Tab);
    EXPECT_EQ(recorder_.events,
              (std::vector<std::string>{"revert", "enter:value", "enter:values", "revert"}));
}

TEST_F(D2DEditLabelTest, ARefusedCommitKeepsTheFocusAndTheText)
{
    focusLabel();
    recorder_.accept = false;
    QTest::keyClicks(edit(), "bad");
    key(Qt::Key_Tab);
    EXPECT_TRUE(edit()->hasFocus());
    EXPECT_FALSE(next_->isEditing());
    EXPECT_TRUE(label_->isEditing());
    EXPECT_EQ(text(), "bad");
    EXPECT_EQ(selected(), "bad");
    EXPECT_TRUE(label_->isModified());

    // A click elsewhere is refused the same way, asking the listener once per click: on a
    // field that takes the focus when clicked, and on the panel, which does not.
    QTest::mouseClick(next_->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(edit()->hasFocus());
    EXPECT_EQ(recorder_.events.size(), 2u);
    QTest::mouseClick(panel_->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(350, 150));
    EXPECT_TRUE(edit()->hasFocus());
    EXPECT_EQ(recorder_.events.size(), 3u);
    EXPECT_FALSE(next_->isEditing());

    // Once accepted, the focus moves on.
    recorder_.accept = true;
    key(Qt::Key_Tab);
    EXPECT_TRUE(next_->getHandle()->hasFocus());
    EXPECT_EQ(recorder_.events, std::vector<std::string>(4, "commit:bad"));
    EXPECT_EQ(text(), "bad");
}

TEST_F(D2DEditLabelTest, ClickingAwayFromARefusedFieldAsksOnceAndAnAcceptedOneLetsGo)
{
    focusLabel();
    recorder_.accept = false;
    QTest::keyClicks(edit(), "bad");
    // Through the window system, as a real click comes.
    QWindow* window = window_->getHandle()->windowHandle();
    const QPoint onNext = next_->getHandle()->mapTo(window_->getHandle(), QPoint(5, 5));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onNext);
    EXPECT_TRUE(edit()->hasFocus());
    EXPECT_EQ(recorder_.events, std::vector<std::string>{"commit:bad"});

    recorder_.accept = true;
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onNext);
    EXPECT_TRUE(next_->getHandle()->hasFocus());
    EXPECT_TRUE(next_->isEditing());
    EXPECT_EQ(recorder_.events, (std::vector<std::string>{"commit:bad", "commit:bad"}));
}

// A listener that asks the user in a real message box while it takes the text, as the
// sidebar does with a warning. The box is answered as soon as it has the focus (or, should
// the window system not give it the focus, after a while).
class AskingListener : public D2DEditLabel::Listener {
public:
    AskingListener()
    {
        answerer_.setInterval(10);
        QObject::connect(&answerer_, &QTimer::timeout, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) {
                return;
            }
            if (box != shown_) {
                shown_ = box;
                ++boxes;
                ticks_ = 0;
            }
            if (box->isActiveWindow() || ++ticks_ > 50) {
                shown_ = nullptr;
                box->close();
            }
        });
        answerer_.start();
    }
    bool commit(D2DEditLabel* label, bool byEnter) override
    {
        commits.push_back((byEnter ? "enter:" : "commit:") +
                          QString::fromStdWString(label->getText()).toStdString());
        QtMessageBox().ask({L"Taken.", L"Note", Platform::MessageBoxService::Buttons::kOk,
                            Platform::MessageBoxService::Icon::kInformation, label->getHandle()});
        return true;
    }

    std::vector<std::string> commits;
    int boxes = 0;

private:
    QTimer answerer_;
    QWidget* shown_ = nullptr;
    int ticks_ = 0;
};

TEST_F(D2DEditLabelTest, AListenerThatOpensAMessageBoxGetsOneCommit)
{
    AskingListener asking;
    label_->removeListener(&recorder_);
    label_->addListener(&asking);

    focusLabel();
    QTest::keyClicks(edit(), "12");
    key(Qt::Key_Return);
    EXPECT_EQ(asking.commits, std::vector<std::string>{"enter:12"});
    EXPECT_EQ(asking.boxes, 1);
    // The window system gives the window its focus back: the edit goes on, nothing pending.
    window_->getHandle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_->getHandle()));
    ASSERT_TRUE(edit()->hasFocus());
    EXPECT_TRUE(label_->isEditing());
    EXPECT_FALSE(label_->isModified());

    QTest::keyClicks(edit(), "3");
    key(Qt::Key_Tab);
    EXPECT_EQ(asking.commits, (std::vector<std::string>{"enter:12", "commit:3"}));
    EXPECT_EQ(asking.boxes, 2);
    EXPECT_FALSE(label_->isEditing());
    label_->removeListener(&asking);
}

TEST_F(D2DEditLabelTest, ClipboardPasteJoinsLinesAndCutCopies)
{
    focusLabel();
    QGuiApplication::clipboard()->setText("one\r\ntwo\n");
    key(Qt::Key_End);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), "valueonetwo");
    EXPECT_TRUE(label_->isModified());

    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "va");
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "valueonetwo");
    EXPECT_EQ(text(), "");
    // Control with a letter is a shortcut, not text.
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(text(), "");
}

TEST_F(D2DEditLabelTest, WordsStepAndDelete)
{
    label_->setText(L"alpha beta-gamma  x");
    focusLabel();
    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(label_->getCaret(), 6);  // start of "beta"
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(label_->getCaret(), 10);  // the "-"
    key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(selected(), "-");
    key(Qt::Key_End);
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(label_->getCaret(), 18);
    key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(text(), "alpha beta-x");
    key(Qt::Key_Home);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), "beta-x");
    key(Qt::Key_Delete);
    key(Qt::Key_End);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), "eta-");
    key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(selected(), "eta-");
}

TEST_F(D2DEditLabelTest, DoubleClickSelectsAWordAndTripleClickAll)
{
    label_->setText(L"alpha beta-gamma");
    const QPoint inBeta(xOf(7), 12);
    // The first click brings the focus and selects everything; it counts as a click.
    QTest::mouseClick(edit(), Qt::LeftButton, Qt::NoModifier, inBeta);
    EXPECT_EQ(selected(), "alpha beta-gamma");
    QTest::mouseClick(edit(), Qt::LeftButton, Qt::NoModifier, inBeta);
    EXPECT_EQ(selected(), "beta");
    QTest::mouseClick(edit(), Qt::LeftButton, Qt::NoModifier, inBeta);
    EXPECT_EQ(selected(), "alpha beta-gamma");

    // Later, one click places the caret; a double click there selects the word.
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    QTest::qWait(interval + 50);
    QTest::mouseClick(edit(), Qt::LeftButton, Qt::NoModifier, QPoint(xOf(12), 12));
    EXPECT_EQ(selected(), "");
    EXPECT_TRUE(label_->getCaret() == 12 || label_->getCaret() == 13);
    QTest::mouseClick(edit(), Qt::LeftButton, Qt::NoModifier, QPoint(xOf(12), 12));
    EXPECT_EQ(selected(), "gamma");
    // A click elsewhere starts counting again.
    QTest::mouseClick(edit(), Qt::LeftButton, Qt::NoModifier, QPoint(xOf(2), 12));
    EXPECT_EQ(selected(), "");
}

// The double-click time for one test, put back afterwards.
class DoubleClickInterval {
public:
    explicit DoubleClickInterval(int ms) : saved_(hints()->mouseDoubleClickInterval())
    {
        hints()->setMouseDoubleClickInterval(ms);
    }
    ~DoubleClickInterval() { hints()->setMouseDoubleClickInterval(saved_); }
    DoubleClickInterval(const DoubleClickInterval&) = delete;
    DoubleClickInterval& operator=(const DoubleClickInterval&) = delete;

private:
    static QStyleHints* hints() { return QGuiApplication::styleHints(); }
    int saved_;
};

// A real double click reaches the label through the window system as press, release,
// double click, release; with a press right after it, it makes a triple click.
TEST_F(D2DEditLabelTest, DoubleAndTripleClicksFromTheWindowSystem)
{
    label_->setText(L"alpha beta-gamma");
    focusLabel();
    QWindow* window = window_->getHandle()->windowHandle();
    const QPoint inBeta = edit()->mapTo(window_->getHandle(), QPoint(xOf(7), 12));
    const QPoint inGamma = edit()->mapTo(window_->getHandle(), QPoint(xOf(12), 12));
    {
        // Generous, so that a slow machine still counts the third press in time.
        const DoubleClickInterval generous(10000);
        QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, inBeta);
        EXPECT_EQ(selected(), "beta");
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, inBeta);
        EXPECT_EQ(selected(), "alpha beta-gamma");
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, inBeta);
        EXPECT_EQ(selected(), "alpha beta-gamma");
    }

    // A double click elsewhere selects that word only.
    const DoubleClickInterval shortTime(100);
    QTest::qWait(150);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, inGamma);
    EXPECT_EQ(selected(), "gamma");
    EXPECT_TRUE(label_->isEditing());

    // The events' own times decide, not when a busy program gets to them: two clicks 10 ms
    // apart that arrive later than the double-click time are still a double click.
    QTest::qWait(150);
    const QPointF global = window->mapToGlobal(QPointF(inBeta));
    const int t = QTest::lastMouseTimestamp + 100000;
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons, int time) {
        qt_handleMouseEvent(window, QPointF(inBeta), global, buttons, Qt::LeftButton, type,
                            Qt::NoModifier, time);
        QApplication::processEvents();
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, t);
    send(QEvent::MouseButtonRelease, Qt::NoButton, t);
    EXPECT_EQ(selected(), "");
    QTest::qWait(150);
    send(QEvent::MouseButtonPress, Qt::LeftButton, t + 10);
    send(QEvent::MouseButtonRelease, Qt::NoButton, t + 10);
    EXPECT_EQ(selected(), "beta");
    QTest::lastMouseTimestamp = t + 100000;
}

}  // namespace
}  // namespace GUI
