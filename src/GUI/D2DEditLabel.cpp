#include "GUI/D2DEditLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

#include "GUI/Graphics.h"
#include "GUI/VirtualKeys.h"
#include "GUI/WidgetLook.h"

namespace GUI {

namespace {

constexpr qreal kPadding = 5.0;  // between the frame and the text

QFont textFont()
{
    Graphics* graphics = Graphics::getInstance();
    return graphics != nullptr ? graphics->getFont(Graphics::TextStyle::kRegular13) : QFont();
}

// Word steps and double clicks treat letters, digits and '_' as word characters; runs of
// blanks and runs of other characters are words of their own kind.
enum class CharClass { kBlank, kWord, kOther };

CharClass classOf(QChar c)
{
    if (c.isSpace()) {
        return CharClass::kBlank;
    }
    if (c.isLetterOrNumber() || c == u'_' || c.isSurrogate() || c.isMark()) {
        return CharClass::kWord;
    }
    return CharClass::kOther;
}

}  // namespace

D2DEditLabel::D2DEditLabel(WidgetColors colors) : colors_(colors)
{
    preferredWidth_ = 150;
    preferredHeight_ = 24;
}

std::optional<WindowClass> D2DEditLabel::getWindowClassDescription() const
{
    return WindowClass{Qt::IBeamCursor, colors_.background.toQColor()};
}

void D2DEditLabel::onCreate()
{
    if (!textSet_) {
        text_ = getHandle()->windowTitle();
    }
    enabled_ = getHandle()->isEnabled();
    getHandle()->setCursor(enabled_ ? Qt::IBeamCursor : Qt::ArrowCursor);
}

std::intptr_t D2DEditLabel::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageSetFocus: onSetFocus(); break;
        case kMessageKillFocus: onKillFocus(); break;
        case kMessageKeyDown:
            focusJustGained_ = false;
            onKeyDown(message);
            break;
        case kMessageChar: onCharacter(message); break;
        case kMessageLButtonDown: {
            // A click that brings the focus only starts editing (all selected); once editing,
            // clicks place the caret and select words and all.
            // Qt may hand the focus over just before the press: that press brought it.
            const bool wasEditing = editing_ && !focusJustGained_;
            focusJustGained_ = false;
            const std::intptr_t result = D2DComponent::handleMessage(message);
            if (wasEditing) {
                onButtonDown(message);
            } else {
                clickCount_ = 1;
                lastClickPosition_ = message.position;
                lastClickTime_ = std::chrono::steady_clock::now();
            }
            return result;
        }
        case kMessageMouseMove:
            focusJustGained_ = false;
            if (dragging_) {
                moveCaret(indexAt(message.position.x()), true);
            }
            break;
        case kMessageLButtonUp: dragging_ = false; break;
        case kMessageTimer:
            if (message.wParam == static_cast<std::uint64_t>(kCaretTimer) && editing_) {
                caretShown_ = !caretShown_;
                invalidate();
            }
            break;
        case kMessageEnable:
            enabled_ = message.wParam != 0;
            getHandle()->setCursor(enabled_ ? Qt::IBeamCursor : Qt::ArrowCursor);
            invalidate();
            break;
        default: break;
    }
    return D2DComponent::handleMessage(message);
}

void D2DEditLabel::onSetFocus()
{
    if (editing_) {
        return;  // the focus came back after a refused commit: the edit goes on
    }
    editing_ = true;
    focusJustGained_ = true;
    anchor_ = 0;
    caret_ = static_cast<int>(text_.size());
    keepCaretVisible();
    restartBlink();
    invalidate();
    listeners_.notify(&Listener::editingStarted, this);
    requestEnsureVisible();
}

void D2DEditLabel::onKillFocus()
{
    if (!editing_) {
        return;
    }
    if (notifying_) {
        // A listener took the focus while it commits or reverts (a message box): the call
        // under way decides, and a second commit of the same text would act twice.
        focusLostWhileNotifying_ = true;
        return;
    }
    if (modified_) {
        if (!commitAll(false)) {
            // Refused: the field keeps the focus and its text, all selected.
            select(0, static_cast<int>(text_.size()));
            if (getHandle() != nullptr && getHandle()->isVisible() && enabled_) {
                getHandle()->setFocus(Qt::OtherFocusReason);
            }
            if (getHandle() != nullptr && getHandle()->hasFocus()) {
                return;
            }
            // The focus cannot come back (the field was hidden, or its window went
            // inactive): the edit ends, but the typed text stays and stays modified.
            endEditing();
            return;
        }
        modified_ = false;
    } else {
        revertAll();
    }
    endEditing();
}

void D2DEditLabel::endEditing()
{
    editing_ = false;
    dragging_ = false;
    killTimer(kCaretTimer);
    anchor_ = caret_;
    invalidate();
}

void D2DEditLabel::endEditingIfFocusLeft()
{
    // A message box hands the focus back once its window is gone, which the window system
    // may do a little later: the edit goes on then. Only a focus that a listener put on
    // another field of this window ends it.
    const QWidget* focus = QApplication::focusWidget();
    if (focusLostWhileNotifying_ && editing_ && getHandle() != nullptr && focus != nullptr &&
        focus != getHandle() && focus->window() == getHandle()->window()) {
        endEditing();
    }
    focusLostWhileNotifying_ = false;
}

bool D2DEditLabel::commitAll(bool byEnter)
{
    const bool outer = !notifying_;
    notifying_ = true;
    bool accepted = true;
    listeners_.forEach([&](Listener* listener) {
        if (!listener->commit(this, byEnter)) {
            accepted = false;
        }
    });
    notifying_ = !outer;
    return accepted;
}

void D2DEditLabel::revertAll()
{
    const bool outer = !notifying_;
    notifying_ = true;
    listeners_.notify(&Listener::revert, this);
    notifying_ = !outer;
}

void D2DEditLabel::onKeyDown(const Message& message)
{
    if (!editing_) {
        return;
    }
    const bool control = message.modifiers.testFlag(Qt::ControlModifier);
    const bool shift = message.modifiers.testFlag(Qt::ShiftModifier);
    const int length = static_cast<int>(text_.size());
    const bool hasSelection = anchor_ != caret_;
    switch (virtualKeyOf(message)) {
        case VirtualKey::kReturn:
            commitAll(true);
            modified_ = false;
            select(0, static_cast<int>(text_.size()));
            endEditingIfFocusLeft();
            break;
        case VirtualKey::kEscape:
            revertAll();
            modified_ = false;
            select(0, static_cast<int>(text_.size()));
            endEditingIfFocusLeft();
            break;
        case VirtualKey::kBack:
            if (hasSelection) {
                replaceSelection(QString());
            } else {
                deleteRange(control ? previousWordStart(caret_) : previousPosition(caret_), caret_);
            }
            break;
        case VirtualKey::kDelete:
            if (hasSelection) {
                replaceSelection(QString());
            } else {
                deleteRange(caret_, control ? nextWordStart(caret_) : nextPosition(caret_));
            }
            break;
        case VirtualKey::kHome: moveCaret(0, shift); break;
        case VirtualKey::kEnd: moveCaret(length, shift); break;
        case VirtualKey::kLeft:
            if (control) {
                moveCaret(previousWordStart(caret_), shift);
            } else if (hasSelection && !shift) {
                moveCaret(getSelectionStart(), false);
            } else {
                moveCaret(previousPosition(caret_), shift);
            }
            break;
        case VirtualKey::kRight:
            if (control) {
                moveCaret(nextWordStart(caret_), shift);
            } else if (hasSelection && !shift) {
                moveCaret(getSelectionEnd(), false);
            } else {
                moveCaret(nextPosition(caret_), shift);
            }
            break;
        case 'A':
            if (control) {
                select(0, length);
            }
            break;
        case 'C':
            if (control) {
                copySelection();
            }
            break;
        case 'X':
            if (control && hasSelection) {
                copySelection();
                replaceSelection(QString());
            }
            break;
        case 'V':
            if (control) {
                QString pasted = QGuiApplication::clipboard()->text();
                pasted.remove(u'\n');
                pasted.remove(u'\r');
                if (!pasted.isEmpty()) {
                    replaceSelection(pasted);
                }
            }
            break;
        default: break;
    }
}

void D2DEditLabel::onCharacter(const Message& message)
{
    if (!editing_) {
        return;
    }
    // A character typed with Control or Alt is a shortcut, not text. Both together are
    // AltGr on many layouts ('@' on a German keyboard), which types text.
    const bool control = message.modifiers.testFlag(Qt::ControlModifier);
    const bool alt = message.modifiers.testFlag(Qt::AltModifier);
    if (control != alt) {
        return;
    }
    const char32_t c = message.character;
    // Backspace, tab, line feed, carriage return, escape, delete: keys with a meaning of
    // their own. The other control characters cannot be typed without Control anyway.
    if (c < 0x20 || c == 0x7F) {
        return;
    }
    replaceSelection(QString::fromUcs4(&c, 1));
}

void D2DEditLabel::onButtonDown(const Message& message)
{
    const auto now = std::chrono::steady_clock::now();
    const int distance = QGuiApplication::styleHints()->mouseDoubleClickDistance();
    const bool samePoint = (message.position - lastClickPosition_).manhattanLength() <= distance;
    const bool inTime =
        now - lastClickTime_ <=
        std::chrono::milliseconds(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    if (message.doubleClick) {
        // Qt's double click stands for the second press (Qt judged it by the events' own
        // times); a press that follows it closely makes three.
        clickCount_ = 2;
    } else {
        clickCount_ = samePoint && inTime && clickCount_ < 3 ? clickCount_ + 1 : 1;
    }
    lastClickPosition_ = message.position;
    lastClickTime_ = now;

    const int index = indexAt(message.position.x());
    if (clickCount_ == 1) {
        moveCaret(index, message.modifiers.testFlag(Qt::ShiftModifier));
        dragging_ = true;
    } else if (clickCount_ == 2) {
        dragging_ = false;
        if (text_.isEmpty()) {
            return;
        }
        const int at = std::min(index, static_cast<int>(text_.size()) - 1);
        const CharClass kind = classOf(text_[at]);
        int start = at;
        int end = at + 1;
        while (start > 0 && classOf(text_[start - 1]) == kind) {
            --start;
        }
        while (end < text_.size() && classOf(text_[end]) == kind) {
            ++end;
        }
        select(start, end);
    } else {
        dragging_ = false;
        select(0, static_cast<int>(text_.size()));
    }
}

void D2DEditLabel::setText(const std::wstring& text)
{
    textSet_ = true;
    const QString newText = QString::fromStdWString(text);
    modified_ = false;
    if (newText == text_) {
        return;
    }
    text_ = newText;
    if (editing_) {
        select(0, static_cast<int>(text_.size()));
    } else {
        anchor_ = caret_ = 0;
        scroll_ = 0;
    }
    invalidate();
}

void D2DEditLabel::setHintText(const std::wstring& hint)
{
    const QString newHint = QString::fromStdWString(hint);
    if (newHint != hint_) {
        hint_ = newHint;
        invalidate();
    }
}

void D2DEditLabel::setEnabled(bool enabled)
{
    if (getHandle() != nullptr) {
        getHandle()->setEnabled(enabled);  // a disabled field loses the focus
    } else {
        enabled_ = enabled;
    }
}

QString D2DEditLabel::getSelectedText() const
{
    return text_.mid(getSelectionStart(), getSelectionEnd() - getSelectionStart());
}

void D2DEditLabel::select(int anchor, int caret)
{
    const int length = static_cast<int>(text_.size());
    anchor_ = std::clamp(anchor, 0, length);
    caret_ = std::clamp(caret, 0, length);
    keepCaretVisible();
    restartBlink();
    invalidate();
}

void D2DEditLabel::replaceSelection(const QString& text)
{
    const int start = getSelectionStart();
    const int count = getSelectionEnd() - start;
    if (count == 0 && text.isEmpty()) {
        return;
    }
    text_.replace(start, count, text);
    caret_ = anchor_ = start + static_cast<int>(text.size());
    modified_ = true;
    keepCaretVisible();
    restartBlink();
    invalidate();
    listeners_.notify(&Listener::textChanged, this);
}

void D2DEditLabel::deleteRange(int from, int to)
{
    if (from == to) {
        return;
    }
    anchor_ = from;
    caret_ = to;
    replaceSelection(QString());
}

void D2DEditLabel::moveCaret(int position, bool extend)
{
    const int length = static_cast<int>(text_.size());
    caret_ = std::clamp(position, 0, length);
    if (!extend) {
        anchor_ = caret_;
    }
    keepCaretVisible();
    restartBlink();
    invalidate();
}

int D2DEditLabel::previousPosition(int position) const
{
    if (position <= 0) {
        return 0;
    }
    --position;
    if (position > 0 && text_[position].isLowSurrogate() && text_[position - 1].isHighSurrogate()) {
        --position;
    }
    return position;
}

int D2DEditLabel::nextPosition(int position) const
{
    const int length = static_cast<int>(text_.size());
    if (position >= length) {
        return length;
    }
    if (text_[position].isHighSurrogate() && position + 1 < length &&
        text_[position + 1].isLowSurrogate()) {
        return position + 2;
    }
    return position + 1;
}

int D2DEditLabel::previousWordStart(int position) const
{
    while (position > 0 && classOf(text_[position - 1]) == CharClass::kBlank) {
        --position;
    }
    if (position == 0) {
        return 0;
    }
    const CharClass kind = classOf(text_[position - 1]);
    while (position > 0 && classOf(text_[position - 1]) == kind) {
        --position;
    }
    return position;
}

int D2DEditLabel::nextWordStart(int position) const
{
    const int length = static_cast<int>(text_.size());
    if (position < length && classOf(text_[position]) != CharClass::kBlank) {
        const CharClass kind = classOf(text_[position]);
        while (position < length && classOf(text_[position]) == kind) {
            ++position;
        }
    }
    while (position < length && classOf(text_[position]) == CharClass::kBlank) {
        ++position;
    }
    return position;
}

qreal D2DEditLabel::textX(int index) const
{
    return kPadding + QFontMetricsF(textFont()).horizontalAdvance(text_.left(index)) - scroll_;
}

int D2DEditLabel::indexAt(int x) const
{
    // The boundary nearest to x; labels hold short texts, so measuring each prefix is cheap.
    int best = 0;
    qreal bestDistance = std::abs(textX(0) - x);
    const int length = static_cast<int>(text_.size());
    for (int i = 0; i < length;) {
        i = nextPosition(i);
        const qreal distance = std::abs(textX(i) - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void D2DEditLabel::keepCaretVisible()
{
    if (getHandle() == nullptr) {
        return;
    }
    const QFontMetricsF metrics(textFont());
    const qreal visible = std::max<qreal>(1.0, getHandle()->width() - 2 * kPadding);
    const qreal caretX = metrics.horizontalAdvance(text_.left(caret_));
    const qreal textWidth = metrics.horizontalAdvance(text_);
    if (caretX - scroll_ < 0) {
        scroll_ = caretX;
    } else if (caretX - scroll_ > visible) {
        scroll_ = caretX - visible;
    }
    scroll_ = std::clamp(scroll_, 0.0, std::max<qreal>(0.0, textWidth - visible));
}

void D2DEditLabel::restartBlink()
{
    caretShown_ = true;
    if (!editing_) {
        return;
    }
    // Qt's flash time is a whole on-and-off cycle; the caret toggles twice in it.
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0) {
        setTimer(kCaretTimer, flash / 2);
    }
}

void D2DEditLabel::copySelection() const
{
    if (anchor_ != caret_) {
        QGuiApplication::clipboard()->setText(getSelectedText());
    }
}

void D2DEditLabel::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, colors_.background.toQColor());
    if (!enabled_) {
        p.setOpacity(WidgetLook::kDisabledOpacity);
    }
    WidgetLook::drawFieldBody(p, rect, colors_, editing_, false);

    const QFont font = textFont();
    const QFontMetricsF metrics(font);
    p.setFont(font);
    const QRectF inner = rect.adjusted(kPadding - 2, 2, -(kPadding - 2), -2);
    p.setClipRect(inner, Qt::IntersectClip);
    const qreal baseline = (rect.height() - metrics.height()) / 2 + metrics.ascent();
    const QColor face = colors_.face.toQColor();

    if (text_.isEmpty()) {
        if (!hint_.isEmpty()) {
            p.setPen(WidgetLook::mix(colors_.background.toQColor(), face, 0.5));
            p.drawText(QPointF(kPadding, baseline), hint_);
        }
    } else {
        p.setPen(face);
        p.drawText(QPointF(textX(0), baseline), text_);
        if (editing_ && anchor_ != caret_) {
            // The selection: the text drawn again, inverted, inside the selected span.
            const QRectF span(QPointF(textX(getSelectionStart()), rect.top() + 3),
                              QPointF(textX(getSelectionEnd()), rect.bottom() - 3));
            p.save();
            p.setClipRect(span.intersected(inner), Qt::IntersectClip);
            p.fillRect(span, face);
            p.setPen(colors_.background.toQColor());
            p.drawText(QPointF(textX(0), baseline), text_);
            p.restore();
        }
    }
    if (editing_ && caretShown_ && anchor_ == caret_) {
        const qreal x = std::round(textX(caret_)) + 0.5;
        p.setPen(QPen(face, 1.0));
        p.drawLine(QPointF(x, baseline - metrics.ascent()),
                   QPointF(x, baseline + metrics.descent()));
    }
}

}  // namespace GUI
