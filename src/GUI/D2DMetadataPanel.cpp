#include "GUI/D2DMetadataPanel.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "Config/Settings.h"
#include "GUI/BasicLayout.h"
#include "GUI/Graphics.h"
#include "GUI/StackedLayout.h"
#include "GUI/WindowStyle.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

constexpr std::uint32_t kVisibleChild = kStyleChild | kStyleVisible;
constexpr int kRemoveWidth = 26;       // the least width of the remove buttons
constexpr int kRemovePadding = 12;     // beside a remove button's caption
constexpr float kKeyFraction = 0.42f;  // of the row's width, for the key edit

}  // namespace

// The strip that holds one row's widgets.
class D2DMetadataPanel::RowBox : public D2DContainer {
public:
    explicit RowBox(ColorF background) : background_(background) {}
    std::wstring getWindowClassName() const override { return L"D2DMetadataRow"; }
    void draw(RenderTarget& target) override
    {
        target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), background_.toQColor());
    }

private:
    ColorF background_;
};

namespace {

// The box that holds the rows, one under the other, as one entry of the panel's stack: the
// rows stay together above whatever else the panel holds.
class RowsBox : public D2DContainer {
public:
    explicit RowsBox(ColorF background) : background_(background) {}
    std::wstring getWindowClassName() const override { return L"D2DMetadataRows"; }
    void draw(RenderTarget& target) override
    {
        target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), background_.toQColor());
    }

private:
    ColorF background_;
};

}  // namespace

D2DMetadataPanel::D2DMetadataPanel(WidgetColors colors)
    : D2DPanel(colors), removeWidth_(kRemoveWidth)
{
}

D2DMetadataPanel::~D2DMetadataPanel()
{
    // The rows' widgets outlive the panel object by a moment when the window goes; a focus
    // change then must not reach the panel's listeners.
    for (Row& row : rows_) {
        row.key->removeListener(&nameEditListener_);
        row.value->removeListener(&valueEditListener_);
        row.remove->removeListener(&removeKeyButtonListener_);
    }
}

void D2DMetadataPanel::onCreate()
{
    D2DPanel::onCreate();
    rowsBox_ = new RowsBox(getColors().background);
    rowsBox_->createAsD2DChild(L"Rows", L"", getStack(), kVisibleChild, 0, this);
    buildRows();
}

void D2DMetadataPanel::setRows(const Rows& rows)
{
    data_ = rows;
    buildRows();
}

void D2DMetadataPanel::setKeyLabels(std::map<std::wstring, std::wstring> labels)
{
    keyLabels_ = std::move(labels);
    buildRows();
}

void D2DMetadataPanel::setRemoveCaption(const std::wstring& caption)
{
    removeCaption_ = caption;
    // The button grows to hold a longer caption (a word, where the default is one sign),
    // and the value edits give it the room.
    int width = kRemoveWidth;
    if (Graphics* graphics = Graphics::getInstance()) {
        const QFontMetricsF metrics(graphics->getFont(Graphics::TextStyle::kRegular13));
        width = std::max(width, static_cast<int>(std::ceil(
                                    metrics.horizontalAdvance(QString::fromStdWString(caption)))) +
                                    kRemovePadding);
    }
    const bool moved = width != removeWidth_;
    removeWidth_ = width;
    for (Row& row : rows_) {
        row.remove->setCaption(caption);
        if (moved) {
            row.value->setLayout(valueLayout());
            row.remove->setLayout(removeLayout());
        }
    }
}

BasicLayout* D2DMetadataPanel::valueLayout() const
{
    return new BasicLayout(kKeyFraction, 3, 0, 0, 1, -(removeWidth_ + 4), 1, 0);
}

BasicLayout* D2DMetadataPanel::removeLayout() const
{
    return new BasicLayout(1, -removeWidth_, 0, 0, 1, 0, 1, 0);
}

void D2DMetadataPanel::addRow()
{
    const int index = static_cast<int>(rows_.size());
    const int top = index * kRowPitch;
    Row row;
    row.box = new RowBox(getColors().background);
    row.box->createAsD2DChild(L"Row" + std::to_wstring(nextRowId_++), L"",
                              new BasicLayout(0, 0, 0, top, 1, 0, 0, top + kRowHeight),
                              kVisibleChild, 0, rowsBox_);
    row.key =
        new D2DEditLabel(WidgetColors{getColors().face, getColors().edge, getColors().background});
    row.key->createAsD2DChild(L"Key", L"", new BasicLayout(0, 0, 0, 0, kKeyFraction, -3, 1, 0),
                              kVisibleChild | kStyleTabStop, 0, row.box);
    row.value =
        new D2DEditLabel(WidgetColors{getColors().face, getColors().edge, getColors().background});
    row.value->createAsD2DChild(L"Value", L"", valueLayout(), kVisibleChild | kStyleTabStop, 0,
                                row.box);
    row.remove = new D2DButton(false, getColors());
    row.remove->setCaption(removeCaption_);
    row.remove->createAsD2DChild(L"Remove", L"", removeLayout(), kVisibleChild | kStyleTabStop, 0,
                                 row.box);
    row.key->addListener(&nameEditListener_);
    row.value->addListener(&valueEditListener_);
    row.remove->addListener(&removeKeyButtonListener_);
    rows_.push_back(row);
}

void D2DMetadataPanel::buildRows()
{
    if (rowsBox_ == nullptr) {
        return;  // built when the window is created
    }
    const std::size_t wanted = data_.size() + 1;
    while (rows_.size() > wanted) {
        Row row = rows_.back();
        rows_.pop_back();
        row.key->removeListener(&nameEditListener_);
        row.value->removeListener(&valueEditListener_);
        row.remove->removeListener(&removeKeyButtonListener_);
        row.box->destroyWindow();
    }
    while (rows_.size() < wanted) {
        addRow();
    }
    for (std::size_t i = 0; i < data_.size(); ++i) {
        configureRow(rows_[i], kKeyRow, data_[i].first, data_[i].second);
    }
    configureRow(rows_.back(), kNewKeyRow, std::wstring(), std::wstring());

    const int height = static_cast<int>(rows_.size()) * kRowPitch - (kRowPitch - kRowHeight);
    if (rowsBox_->getLayout() != nullptr) {
        rowsBox_->getLayout()->setSize(rowsBox_, rowsBox_->getHandle()->width(), height);
    }
    fitHeight();
}

void D2DMetadataPanel::configureRow(Row& row, int kind, const std::wstring& key,
                                    const std::wstring& value)
{
    row.kind = kind;
    row.keyText = key;
    row.valueText = value;
    row.key->setText(shownKey(row));
    row.key->setHintText(kind == kNewKeyRow ? Config::tr(L"SIDEBAR.NEW_KEY") : std::wstring());
    // A labelled key is a name the system gave: it cannot be renamed.
    row.key->setEnabled(kind == kNewKeyRow || keyLabels_.count(key) == 0);
    row.value->setText(value);
    row.remove->getHandle()->setVisible(kind == kKeyRow);
}

std::wstring D2DMetadataPanel::shownKey(const Row& row) const
{
    auto label = keyLabels_.find(row.keyText);
    return label != keyLabels_.end() ? label->second : row.keyText;
}

int D2DMetadataPanel::getRowKind(int row) const
{
    SKY_ASSERT(row >= 0 && row < static_cast<int>(rows_.size()), "D2DMetadataPanel");
    return rows_[row].kind;
}

const std::wstring& D2DMetadataPanel::getKey(int row) const
{
    SKY_ASSERT(row >= 0 && row < static_cast<int>(rows_.size()), "D2DMetadataPanel");
    return rows_[row].keyText;
}

const std::wstring& D2DMetadataPanel::getValue(int row) const
{
    SKY_ASSERT(row >= 0 && row < static_cast<int>(rows_.size()), "D2DMetadataPanel");
    return rows_[row].valueText;
}

D2DEditLabel* D2DMetadataPanel::getKeyEdit(int row) const
{
    SKY_ASSERT(row >= 0 && row < static_cast<int>(rows_.size()), "D2DMetadataPanel");
    return rows_[row].key;
}

D2DEditLabel* D2DMetadataPanel::getValueEdit(int row) const
{
    SKY_ASSERT(row >= 0 && row < static_cast<int>(rows_.size()), "D2DMetadataPanel");
    return rows_[row].value;
}

D2DButton* D2DMetadataPanel::getRemoveButton(int row) const
{
    SKY_ASSERT(row >= 0 && row < static_cast<int>(rows_.size()), "D2DMetadataPanel");
    return rows_[row].remove;
}

int D2DMetadataPanel::findRow(const void* widget) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        if (widget == row.key || widget == row.value || widget == row.remove) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void D2DMetadataPanel::reportError(const std::wstring& key) const
{
    if (errorReporter_) {
        errorReporter_(key);
    }
}

bool D2DMetadataPanel::NameEditListener::commit(D2DEditLabel* label, bool)
{
    const int index = panel_->findRow(label);
    if (index < 0) {
        return true;
    }
    const Row& row = panel_->rows_[index];
    const std::wstring text = label->getText();
    if (text.empty()) {
        revert(label);
        return true;
    }
    if (text.find(L'~') != std::wstring::npos) {
        panel_->reportError(L"ERROR.INVALID_METADATA_TILDE");
        return false;
    }
    if (row.kind == kNewKeyRow) {
        panel_->listeners_.notify(&D2DMetadataPanel::Listener::keyAdded, panel_, text);
    } else if (text != panel_->shownKey(row)) {
        panel_->listeners_.notify(&D2DMetadataPanel::Listener::keyChanged, panel_, index, text);
    }
    return true;
}

void D2DMetadataPanel::NameEditListener::revert(D2DEditLabel* label)
{
    const int index = panel_->findRow(label);
    if (index >= 0) {
        label->setText(panel_->shownKey(panel_->rows_[index]));
    }
}

bool D2DMetadataPanel::ValueEditListener::commit(D2DEditLabel* label, bool byEnter)
{
    const int index = panel_->findRow(label);
    if (index < 0) {
        return true;
    }
    const std::wstring text = label->getText();
    if (text.find(L'~') != std::wstring::npos) {
        panel_->reportError(L"ERROR.INVALID_METADATA_TILDE");
        return false;
    }
    // A value needs a key: on the new-key row it is ignored.
    if (panel_->rows_[index].kind == kKeyRow) {
        panel_->listeners_.notify(&D2DMetadataPanel::Listener::valueChanged, panel_, index, text,
                                  byEnter);
    }
    return true;
}

void D2DMetadataPanel::ValueEditListener::revert(D2DEditLabel* label)
{
    const int index = panel_->findRow(label);
    if (index >= 0) {
        label->setText(panel_->rows_[index].valueText);
    }
}

void D2DMetadataPanel::RemoveKeyButtonListener::clicked(D2DButton* button)
{
    const int index = panel_->findRow(button);
    if (index >= 0 && panel_->rows_[index].kind == kKeyRow) {
        panel_->listeners_.notify(&D2DMetadataPanel::Listener::keyRemoved, panel_, index);
    }
}

}  // namespace GUI
