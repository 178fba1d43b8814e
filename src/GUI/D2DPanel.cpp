#include "GUI/D2DPanel.h"

#include "GUI/D2DLabel.h"
#include "GUI/StackedLayout.h"
#include "GUI/WidgetLook.h"
#include "GUI/WindowStyle.h"

namespace GUI {

namespace {

constexpr int kTitleHeight = 16;

}  // namespace

D2DPanel::D2DPanel(WidgetColors colors) : colors_(colors)
{
    preferredWidth_ = 250;
    preferredHeight_ = 40;
}

void D2DPanel::onCreate()
{
    if (!titleSet_) {
        title_ = getHandle()->windowTitle().toStdWString();
    }
    stack_ = new StackedLayout(getHandle(), StackedLayout::kDownward);
    // The title is the first entry of the stack, so the children start below it; hidden
    // while empty, it takes no room.
    WidgetColors titleColors = colors_;
    titleColors.background = {0, 0, 0, 0};
    titleLabel_ = new D2DLabel(D2DLabel::Alignment::kLeading, titleColors);
    titleLabel_->setTextStyle(Graphics::TextStyle::kHeavy10);
    titleLabel_->setText(title_);
    titleLabel_->createAsD2DChild(L"PanelTitle", title_, stack_,
                                  kStyleChild | (title_.empty() ? 0 : kStyleVisible), 0, this);
    stack_->setSize(titleLabel_, 0, kTitleHeight);
}

void D2DPanel::setTitle(const std::wstring& title)
{
    titleSet_ = true;
    if (title == title_) {
        return;
    }
    title_ = title;
    if (titleLabel_ != nullptr) {
        titleLabel_->setText(title_);
        if (titleLabel_->getHandle()->isHidden() != title_.empty()) {
            titleLabel_->getHandle()->setVisible(!title_.empty());
            stack_->scrolled();
            fitHeight();
        }
    }
}

int D2DPanel::fitHeight()
{
    if (getHandle() == nullptr || stack_ == nullptr) {
        return 0;
    }
    const int height = stack_->placeEntries(nullptr, getHandle()->width(), getHandle()->height());
    if (getLayout() != nullptr) {
        getLayout()->setSize(this, getHandle()->width(), height);
    }
    return height;
}

void D2DPanel::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, colors_.background.toQColor());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colors_.edge.toQColor(), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), WidgetLook::kCornerRadius,
                      WidgetLook::kCornerRadius);
}

}  // namespace GUI
