#include "GUIMain/SidebarGrids.h"

#include <QPainter>
#include <QPen>
#include <cmath>

#include "Controller/Controller.h"
#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUIMain/Sidebar.h"

namespace GUIMain {

namespace {

using Emulator = Controller::Emulator;

bool has(const Emulator::PinState& pin, std::uint8_t flag)
{
    return (pin.flags & flag) != 0;
}

}  // namespace

ModuleMark moduleMarkOf(const Emulator::ModuleState& state)
{
    bool anyTested = state.tested;
    bool usedOpen = false;
    bool usedUntested = false;
    bool strayContinuity = false;
    for (const Emulator::PinState& pin : state.pins) {
        const bool tested = has(pin, Emulator::PIN_TESTED) || has(pin, Emulator::PIN_TESTED_BEFORE);
        const bool continuity = has(pin, Emulator::PIN_TESTED)
                                    ? has(pin, Emulator::PIN_CONTINUITY)
                                    : has(pin, Emulator::PIN_CONTINUITY_BEFORE);
        anyTested = anyTested || has(pin, Emulator::PIN_TESTED);
        if (has(pin, Emulator::PIN_ASSIGNED)) {
            usedOpen = usedOpen || (tested && !continuity);
            usedUntested = usedUntested || !tested;
        } else if (has(pin, Emulator::PIN_TESTED) && has(pin, Emulator::PIN_CONTINUITY)) {
            strayContinuity = true;
        }
    }
    if (!anyTested) {
        return ModuleMark::kNotReported;
    }
    if (!state.responsive || usedOpen) {
        return ModuleMark::kCross;
    }
    return usedUntested || strayContinuity ? ModuleMark::kQuestion : ModuleMark::kGood;
}

GUI::D2DPyroSlave::ModuleState slaveStateOf(int address, const Emulator::ModuleState& state)
{
    using Status = GUI::D2DPyroSlave::ChannelStatus;
    GUI::D2DPyroSlave::ModuleState view;
    view.address = address;
    for (int i = 0; i < GUI::D2DPyroSlave::kChannelCount; ++i) {
        const Emulator::PinState& pin = state.pins[static_cast<std::size_t>(i)];
        Status status = Status::kUnknown;
        if (has(pin, Emulator::PIN_FIRED)) {
            status = Status::kFired;
        } else if (has(pin, Emulator::PIN_TESTED)) {
            status = has(pin, Emulator::PIN_CONTINUITY) && state.responsive ? Status::kConnected
                                                                            : Status::kOpen;
        }
        view.channels[static_cast<std::size_t>(i)] = status;
    }
    return view;
}

std::intptr_t FiringButton::handleMessage(GUI::Message& message)
{
    if ((message.code == GUI::kMessageKeyDown || message.code == GUI::kMessageKeyUp) &&
        message.autoRepeat) {
        return 0;
    }
    return GUI::D2DButton::handleMessage(message);
}

// --- module grid ---------------------------------------------------------------------

SidebarModuleGrid::SidebarModuleGrid(Sidebar& sidebar)
    : GUI::D2DButtonGrid(kSingle), sidebar_(sidebar)
{
}

void SidebarModuleGrid::onCreate()
{
    GUI::D2DButtonGrid::onCreate();
    setMetrics({kColumns, kRows, kCell, kCell, 1, 0, 0});
    addListener(this);
}

void SidebarModuleGrid::showSelected(int address)
{
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            setCellSelected(x, y, x + kColumns * y == address);
        }
    }
    invalidate();
}

void SidebarModuleGrid::cellClicked(GUI::D2DButtonGrid*, int x, int y)
{
    sidebar_.selectModule(x + kColumns * y);
}

void SidebarModuleGrid::drawCell(GUI::RenderTarget& target, QBrush&, int x, int y)
{
    if (controller_ == nullptr) {
        return;
    }
    const ModuleMark mark = moduleMarkOf(controller_->getModuleState(x + kColumns * y));
    const QRectF cell(getCellRect(x, y));
    QPainter& p = target.painter();
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (mark) {
        case ModuleMark::kNotReported: break;
        case ModuleMark::kGood: p.fillRect(cell.adjusted(1, 1, -1, -1), QColor(60, 170, 80)); break;
        case ModuleMark::kCross: {
            p.setPen(QPen(QColor(220, 50, 40), 1.5));
            const QPointF o = cell.topLeft();
            p.drawLine(o + QPointF(2, 2), o + QPointF(9, 9));
            p.drawLine(o + QPointF(2, 9), o + QPointF(9, 2));
            break;
        }
        case ModuleMark::kQuestion: {
            p.setPen(QColor(230, 160, 30));
            if (const GUI::Graphics* graphics = GUI::Graphics::getInstance()) {
                p.setFont(graphics->getFont(GUI::Graphics::TextStyle::kHeavy10));
            }
            p.drawText(cell, Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
    }
}

// --- DMX grid ------------------------------------------------------------------------

SidebarDmxGrid::SidebarDmxGrid(Sidebar& sidebar) : GUI::D2DButtonGrid(kSingle), sidebar_(sidebar) {}

void SidebarDmxGrid::onCreate()
{
    GUI::D2DButtonGrid::onCreate();
    setMetrics({kColumns, kRows, kCell, kCell, 1, 0, 0});
    addListener(this);
}

int SidebarDmxGrid::barWidth(int level)
{
    return static_cast<int>(std::trunc(level / 255.0 * 11.0));
}

void SidebarDmxGrid::showSelected(int channelNumber)
{
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            setCellSelected(x, y, x + kColumns * y == channelNumber);
        }
    }
    invalidate();
}

void SidebarDmxGrid::cellClicked(GUI::D2DButtonGrid*, int x, int y)
{
    const int cell = x + kColumns * y;
    if (cell >= 1 && cell <= Sidebar::kDmxChannelCount) {
        sidebar_.selectManualChannel(cell - 1);
    } else {
        showSelected(sidebar_.getManualChannel() + 1);
    }
}

void SidebarDmxGrid::cellHovered(GUI::D2DButtonGrid*, int x, int y)
{
    const int cell = x < 0 ? -1 : x + kColumns * y;
    sidebar_.showHoveredChannel(cell >= 1 && cell <= Sidebar::kDmxChannelCount ? cell : -1);
}

void SidebarDmxGrid::drawCell(GUI::RenderTarget& target, QBrush&, int x, int y)
{
    const int cell = x + kColumns * y;
    const QRect rect = getCellRect(x, y);
    QPainter& p = target.painter();
    if (cell < 1 || cell > Sidebar::kDmxChannelCount) {
        // No channel behind it: blanked out.
        p.fillRect(rect, QColor(40, 40, 46));
        return;
    }
    if (controller_ == nullptr) {
        return;
    }
    const Controller::Emulator::ChannelState channel = controller_->getChannelState(cell - 1);
    const int level =
        channel.timedUntil != Controller::Emulator::kNoTime ? channel.timedValue : channel.value;
    const int width = barWidth(level);
    if (width > 0) {
        p.fillRect(QRect(rect.left() + (rect.width() - 11) / 2,
                         rect.top() + (rect.height() - 8) / 2, width, 8),
                   QColor(250, 200, 60));
    }
}

}  // namespace GUIMain
