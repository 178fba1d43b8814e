#pragma once

#include <string>
#include <vector>

#include "GUI/D2DContainer.h"
#include "GUI/WidgetColors.h"
#include "GUI/WindowStyle.h"

namespace GUI {

class D2DLabel;
class BasicLayout;

// One row of a panel: a label at the left and its fields beside it in equal columns. It
// holds an edit field under its label, a pair of buttons under a label, or, without a label,
// two group buttons side by side (eight such rows make the sixteen group buttons).
//
// The label is the window text given at creation; an empty text makes no label and gives
// the fields the whole width. Fields are created in the row by addField(), column after
// column, and live as long as the row's window.
class D2DRow : public D2DContainer {
public:
    static constexpr int kHeight = 24;
    static constexpr int kGap = 6;
    static constexpr float kDefaultLabelFraction = 0.4f;

    explicit D2DRow(int columns = 1, WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DRow"; }
    void onCreate() override;
    void draw(RenderTarget& target) override;

    // Creates `field` in the next free column under `name` (unique in the row) with the
    // window text `text`; at most `columns` fields. Returns the field's window.
    QWidget* addField(D2DComponent* field, const std::wstring& name, const std::wstring& text = {},
                      std::uint32_t style = kStyleChild | kStyleVisible | kStyleTabStop);

    int getColumnCount() const { return columns_; }
    int getFieldCount() const { return static_cast<int>(fields_.size()); }
    D2DComponent* getField(int column) const;
    // Null for a row without a label.
    D2DLabel* getLabel() const { return label_; }
    void setLabelText(const std::wstring& text);
    // The share of the width the label takes; the fields share the rest. Changing it places
    // the label and every field again.
    void setLabelFraction(float fraction);
    float getLabelFraction() const { return labelFraction_; }

private:
    BasicLayout* labelLayout() const;
    BasicLayout* columnLayout(int column) const;

    WidgetColors colors_;
    int columns_;
    float labelFraction_ = kDefaultLabelFraction;
    D2DLabel* label_ = nullptr;
    std::vector<D2DComponent*> fields_;
};

}  // namespace GUI
