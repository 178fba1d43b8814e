#pragma once

#include <QString>
#include <chrono>
#include <string>

#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"
#include "Platform/ListenerSet.h"

namespace GUI {

// A one-line text field edited in place. Gaining the focus starts editing with the whole text
// selected; Enter commits, Escape reverts, and leaving the field commits what was typed or
// reverts what was not. A listener that refuses a commit keeps the field focused with its
// text. The field never interprets its text: its listeners parse it and put the shown value
// back on revert (with setText, which does not notify).
//
// Positions are UTF-16 offsets into the text; a surrogate pair is stepped over as one.
class D2DEditLabel : public D2DComponent {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void editingStarted(D2DEditLabel* /*label*/) {}
        // The typed text is final. True accepts it; false keeps the field focused.
        virtual bool commit(D2DEditLabel* /*label*/, bool /*byEnter*/) { return true; }
        virtual void textChanged(D2DEditLabel* /*label*/) {}
        // The edit is abandoned: put the current value back.
        virtual void revert(D2DEditLabel* /*label*/) {}
    };

    // The caret blink timer.
    static constexpr int kCaretTimer = 1;

    explicit D2DEditLabel(WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DEditLabel"; }
    std::optional<WindowClass> getWindowClassDescription() const override;
    std::intptr_t handleMessage(Message& message) override;
    void onCreate() override;
    void draw(RenderTarget& target) override;

    // Replaces the text without notifying and without marking it modified. While editing the
    // new text is selected, so that typing replaces it.
    void setText(const std::wstring& text);
    std::wstring getText() const { return text_.toStdWString(); }
    // Shown, dimmed, while the text is empty.
    void setHintText(const std::wstring& hint);
    const QString& getHintText() const { return hint_; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    bool isEditing() const { return editing_; }
    bool isModified() const { return modified_; }
    int getCaret() const { return caret_; }
    int getSelectionStart() const { return std::min(anchor_, caret_); }
    int getSelectionEnd() const { return std::max(anchor_, caret_); }
    QString getSelectedText() const;
    // Selects [anchor, caret), clamped to the text; the caret goes to `caret`.
    void select(int anchor, int caret);

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    void onSetFocus();
    void onKillFocus();
    void onKeyDown(const Message& message);
    void onCharacter(const Message& message);
    void onButtonDown(const Message& message);
    // Ask the listeners; a focus change they cause meanwhile commits nothing again.
    bool commitAll(bool byEnter);
    void revertAll();
    void endEditing();
    // After Enter or Escape: when a listener moved the focus to another field, the edit ends.
    void endEditingIfFocusLeft();

    // Replaces the selection with `text`; marks the field modified and notifies.
    void replaceSelection(const QString& text);
    void deleteRange(int from, int to);
    void moveCaret(int position, bool extend);
    int previousPosition(int position) const;
    int nextPosition(int position) const;
    int previousWordStart(int position) const;
    int nextWordStart(int position) const;
    int indexAt(int x) const;
    qreal textX(int index) const;
    void keepCaretVisible();
    void restartBlink();
    void copySelection() const;

    WidgetColors colors_;
    QString text_;
    QString hint_;
    int caret_ = 0;
    int anchor_ = 0;
    bool editing_ = false;
    bool modified_ = false;
    bool enabled_ = true;
    bool dragging_ = false;
    bool caretShown_ = true;
    bool focusJustGained_ = false;  // no mouse move or key since the focus came
    bool textSet_ = false;
    bool notifying_ = false;  // inside a commit or revert of the listeners
    bool focusLostWhileNotifying_ = false;
    qreal scroll_ = 0;  // pixels of text scrolled out on the left
    QPoint lastClickPosition_;
    std::chrono::steady_clock::time_point lastClickTime_;
    int clickCount_ = 0;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUI
