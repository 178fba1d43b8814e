#include "GUI/D2DRow.h"

#include "GUI/BasicLayout.h"
#include "GUI/D2DLabel.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

constexpr const char* kUnit = "D2DRow";

}  // namespace

D2DRow::D2DRow(int columns, WidgetColors colors) : colors_(colors), columns_(columns)
{
    SKY_ASSERT(columns >= 1, kUnit);
    preferredWidth_ = 250;
    preferredHeight_ = kHeight;
}

void D2DRow::onCreate()
{
    const std::wstring text = getHandle()->windowTitle().toStdWString();
    if (text.empty()) {
        return;
    }
    label_ = new D2DLabel(D2DLabel::Alignment::kLeading, colors_);
    label_->createAsD2DChild(L"RowLabel", text, labelLayout(), kStyleChild | kStyleVisible, 0,
                             this);
}

void D2DRow::draw(RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), colors_.background.toQColor());
}

BasicLayout* D2DRow::labelLayout() const
{
    return new BasicLayout(0, 0, 0, 0, labelFraction_, -kGap / 2, 1, 0);
}

BasicLayout* D2DRow::columnLayout(int column) const
{
    // The columns share the width right of the label (all of it without one); a gap
    // separates neighbours, none lies at the outer edges.
    const float start = label_ != nullptr ? labelFraction_ : 0.0f;
    const float share = (1.0f - start) / static_cast<float>(columns_);
    const int leftOffset = column == 0 && label_ == nullptr ? 0 : kGap / 2;
    const int rightOffset = column == columns_ - 1 ? 0 : -(kGap - kGap / 2);
    return new BasicLayout(start + share * static_cast<float>(column), leftOffset, 0, 0,
                           start + share * static_cast<float>(column + 1), rightOffset, 1, 0);
}

QWidget* D2DRow::addField(D2DComponent* field, const std::wstring& name, const std::wstring& text,
                          std::uint32_t style)
{
    SKY_ASSERT(getHandle() != nullptr, kUnit);
    SKY_ASSERT_TEXT(getFieldCount() < columns_, "a free column", kUnit);
    const int column = getFieldCount();
    QWidget* handle = field->createAsD2DChild(name, text, columnLayout(column), style, 0, this);
    fields_.push_back(field);
    return handle;
}

D2DComponent* D2DRow::getField(int column) const
{
    SKY_ASSERT(column >= 0 && column < getFieldCount(), kUnit);
    return fields_[static_cast<std::size_t>(column)];
}

void D2DRow::setLabelText(const std::wstring& text)
{
    if (label_ != nullptr) {
        label_->setText(text);
    }
}

void D2DRow::setLabelFraction(float fraction)
{
    if (fraction == labelFraction_) {
        return;
    }
    labelFraction_ = fraction;
    if (label_ != nullptr) {
        label_->setLayout(labelLayout());
    }
    for (int column = 0; column < getFieldCount(); ++column) {
        fields_[static_cast<std::size_t>(column)]->setLayout(columnLayout(column));
    }
}

}  // namespace GUI
