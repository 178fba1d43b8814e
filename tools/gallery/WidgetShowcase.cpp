#include "WidgetShowcase.h"

#include <QPainterPath>

#include "DemoBox.h"
#include "DemoLabel.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DButton.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/D2DGlyphButton.h"
#include "GUI/D2DLabel.h"
#include "GUI/D2DMetadataPanel.h"
#include "GUI/D2DPanel.h"
#include "GUI/D2DPyroSlave.h"
#include "GUI/D2DRow.h"
#include "GUI/D2DSMPTEDisplay.h"
#include "GUI/D2DScrollbar.h"
#include "GUI/WindowStyle.h"

using namespace GUI;

namespace {

constexpr std::uint32_t kVisible = kStyleChild | kStyleVisible;
constexpr std::uint32_t kFocusable = kVisible | kStyleTabStop;

BasicLayout* at(int x, int y, int width, int height)
{
    return new BasicLayout(0, x, 0, y, 0, x + width, 0, y + height);
}

// A play triangle: the glyph of the demo glyph buttons.
class PlayButton : public D2DGlyphButton {
public:
    using D2DGlyphButton::D2DGlyphButton;
    void drawGlyph(QPainterPath& sink, const QRectF& box) override
    {
        sink.moveTo(box.left(), box.top());
        sink.lineTo(box.right(), box.center().y());
        sink.lineTo(box.left(), box.bottom());
        sink.closeSubpath();
    }
};

// Writes each cell's number into the demo grid (16 columns of 30 x 24, gap 2, margins 4).
class NumberedCells : public D2DButtonGrid::Listener {
public:
    void drawCell(RenderTarget& target, QBrush&, int x, int y) override
    {
        QPainter& p = target.painter();
        p.setPen(Qt::white);
        p.drawText(QRect(6 + x * 32, 6 + y * 26, 30, 24), Qt::AlignCenter,
                   QString::number(y * 16 + x + 1));
    }
};

NumberedCells numberedCells;

}  // namespace

void addWidgetShowcase(D2DContainer* panel, StackedLayout* stack, int& count)
{
    auto name = [&](const wchar_t* base) { return base + std::to_wstring(++count); };
    auto heading = [&](const char* text) {
        auto* l = new DemoLabel(text, Graphics::TextStyle::kHeavy10, 22);
        l->createAsD2DChild(name(L"Label"), L"", stack, kVisible, 0, panel);
    };
    auto box = [&](int height) {
        auto* b = new DemoBox(-1, 0.0f, height);
        b->createAsD2DChild(name(L"Box"), L"", stack, kVisible, 0, panel);
        return b;
    };

    heading("BUTTONS: PLAIN, TOGGLE ON, DISABLED; GLYPH BUTTONS OFF, ON, DISABLED");
    DemoBox* buttons = box(44);
    auto* plain = new D2DButton;
    plain->createAsD2DChild(name(L"Button"), L"Plain", at(8, 9, 120, 26), kFocusable, 0, buttons);
    auto* toggle = new D2DButton(true);
    toggle->createAsD2DChild(name(L"Button"), L"Toggle (on)", at(136, 9, 120, 26), kFocusable, 0,
                             buttons);
    toggle->setOn(true);
    auto* disabled = new D2DButton;
    disabled->createAsD2DChild(name(L"Button"), L"Disabled", at(264, 9, 120, 26), kFocusable, 0,
                               buttons);
    disabled->setEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto* glyph = new PlayButton(true);
        glyph->createAsD2DChild(name(L"Glyph"), L"", at(400 + 34 * i, 9, 26, 26), kFocusable, 0,
                                buttons);
        glyph->setLook(i == 1);
        glyph->setEnabled(i != 2);
    }

    heading("LABELS AND EDIT LABELS: TEXT, HINT WHEN EMPTY, DISABLED");
    DemoBox* labels = box(44);
    auto* label = new D2DLabel;
    label->createAsD2DChild(name(L"Text"), L"", at(8, 9, 150, 26), kVisible, 0, labels);
    label->setText(L"A label");
    auto* edit = new D2DEditLabel;
    edit->createAsD2DChild(name(L"Edit"), L"", at(166, 9, 170, 26), kFocusable, 0, labels);
    edit->setText(L"Click to edit me");
    auto* hinted = new D2DEditLabel;
    hinted->createAsD2DChild(name(L"Edit"), L"", at(344, 9, 170, 26), kFocusable, 0, labels);
    hinted->setHintText(L"Hint shown when empty");
    auto* disabledEdit = new D2DEditLabel;
    disabledEdit->createAsD2DChild(name(L"Edit"), L"", at(522, 9, 170, 26), kFocusable, 0, labels);
    disabledEdit->setText(L"Disabled");
    disabledEdit->setEnabled(false);

    heading("A PANEL WITH A METADATA PANEL (TWO KEYS AND THE NEW-KEY ROW)");
    auto* titled = new D2DPanel;
    titled->createAsD2DChild(name(L"Panel"), L"Cue metadata", stack, kVisible, 0, panel);
    auto* metadata = new D2DMetadataPanel;
    metadata->createAsD2DChild(name(L"Metadata"), L"", titled->getStack(), kVisible, 0, titled);
    metadata->setRemoveCaption(L"Remove");
    metadata->setRows({{L"Position", L"North pontoon"}, {L"Angle", L"30"}});
    titled->fitHeight();

    heading("SCROLLBARS: AT THE START, IN THE MIDDLE, NOTHING TO SCROLL");
    DemoBox* bars = box(140);
    const int positions[] = {0, 400, 0};
    for (int i = 0; i < 3; ++i) {
        auto* vertical = new D2DScrollbar(D2DScrollbar::kVertical);
        vertical->createAsD2DChild(name(L"VBar"), L"", at(8 + 26 * i, 8, 16, 124), kVisible, 0,
                                   bars);
        auto* horizontal = new D2DScrollbar(D2DScrollbar::kHorizontal);
        horizontal->createAsD2DChild(name(L"HBar"), L"", at(100, 8 + 26 * i, 400, 16), kVisible, 0,
                                     bars);
        for (D2DScrollbar* bar : {vertical, horizontal}) {
            bar->setPage(i == 2 ? 1000 : 250);
            bar->setTotal(1000);
            bar->setPosition(positions[i]);
        }
    }

    heading("BUTTON GRID: HOVERED 2, PRESSED 3, SELECTED 5 AND 6, MARKED 20");
    DemoBox* grids = box(70);
    auto* grid = new D2DButtonGrid(D2DButtonGrid::kMultiple);
    grid->setMetrics({16, 2, 30, 24, 2, 4, 4});
    grid->addListener(&numberedCells);
    grid->createAsD2DChild(name(L"Grid"), L"", at(8, 4, 530, 60), kVisible, 0, grids);
    grid->setCellSelected(4, 0, true);
    grid->setCellSelected(5, 0, true);
    grid->setCellSelected(3, 1, true, D2DButtonGrid::kMarked);
    Message hover;
    hover.code = kMessageMouseMove;
    hover.position = grid->getCellRect(1, 0).center();
    Component::send(grid->getHandle(), hover);
    Message press;
    press.code = kMessageLButtonDown;
    press.position = grid->getCellRect(2, 0).center();
    Component::send(grid->getHandle(), press);

    heading("TIMECODE DISPLAY: A VALUE, DROP-FRAME, EMPTY; FIRING MODULES");
    DemoBox* displays = box(100);
    const std::int64_t values[] = {0x01234512, 0x00595942, D2DSMPTEDisplay::kEmpty};
    for (int i = 0; i < 3; ++i) {
        auto* display = new D2DSMPTEDisplay;
        display->createAsD2DChild(name(L"Time"), L"", at(8, 4 + 31 * i, 200, 30), kVisible, 0,
                                  displays);
        display->setValue(values[i]);
    }
    D2DPyroSlave::ModuleState module;
    module.address = 7;
    for (int c = 0; c < D2DPyroSlave::kChannelCount; ++c) {
        module.channels[static_cast<std::size_t>(c)] =
            static_cast<D2DPyroSlave::ChannelStatus>(c % 4);
    }
    auto* slave = new D2DPyroSlave;
    slave->createAsD2DChild(name(L"Module"), L"", at(220, 4, 232, 92), kVisible, 0, displays);
    slave->setModuleState(module);
    auto* none = new D2DPyroSlave;
    none->createAsD2DChild(name(L"Module"), L"", at(460, 4, 232, 92), kVisible, 0, displays);

    heading("TIMECODE DISPLAYS WITH CAPTIONS, SIZED BY THEIR USERS: STATUS DISPLAY, TIMELINE");
    DemoBox* captioned = box(72);
    const struct {
        const wchar_t* caption;
        std::int64_t value;
    } status[] = {{L"nxt", 0x00012310}, {L"cur", 0x00011504}, {L"len", 0x00043000}};
    for (int i = 0; i < 3; ++i) {
        auto* display = new D2DSMPTEDisplay({}, status[i].caption);
        display->createAsD2DChild(name(L"Time"), L"", at(8 + 158 * i, 4, 150, 34), kVisible, 0,
                                  captioned);
        display->setValue(status[i].value);
    }
    // The timeline's strip: 72 x 20, in the timeline's colours.
    const WidgetColors timeline{
        {0.588f, 0.851f, 1, 1}, {0.114f, 0.369f, 0.514f, 1}, {0.067f, 0.302f, 0.435f, 1}};
    const std::int64_t strip[] = {0x00000000, D2DSMPTEDisplay::kEmpty, 0x00043000};
    for (int i = 0; i < 3; ++i) {
        auto* display = new D2DSMPTEDisplay(timeline);
        display->createAsD2DChild(name(L"Time"), L"", at(8 + 79 * i, 44, 72, 20), kVisible, 0,
                                  captioned);
        display->setValue(strip[i]);
    }

    heading("ROWS: A LABEL AND ITS EDIT, A LABELLED BUTTON PAIR, THE SIXTEEN GROUP BUTTONS");
    auto* rows = new D2DPanel;
    rows->createAsD2DChild(name(L"Panel"), L"Cue and manual fire", stack, kVisible, 0, panel);
    auto* timecode = new D2DRow(1);
    timecode->createAsD2DChild(name(L"Row"), L"Timecode", rows->getStack(), kVisible, 0, rows);
    auto* timecodeEdit = new D2DEditLabel;
    timecode->addField(timecodeEdit, L"TimecodeEdit");
    timecodeEdit->setText(L"00:01:23:10");
    auto* type = new D2DRow(2);
    type->createAsD2DChild(name(L"Row"), L"Cue type", rows->getStack(), kVisible, 0, rows);
    auto* pyro = new D2DButton(true);
    type->addField(pyro, L"PyroBtn", L"Pyro");
    pyro->setOn(true);
    type->addField(new D2DButton(true), L"DMXBtn", L"DMX");
    for (int group = 1; group <= 8; ++group) {
        auto* pair = new D2DRow(2);
        pair->createAsD2DChild(name(L"Row"), L"", rows->getStack(), kVisible, 0, rows);
        pair->addField(new D2DButton, L"Left", L"Group " + std::to_wstring(group));
        pair->addField(new D2DButton, L"Right", L"Group " + std::to_wstring(group + 8));
    }
    rows->fitHeight();
}
