#pragma once

#include <array>
#include <cstdint>

#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"

namespace GUI {

// The view of one firing module: its address and the state of its 16 channels, as the
// controller last reported them. It only shows what it is given.
class D2DPyroSlave : public D2DComponent {
public:
    static constexpr int kChannelCount = 16;
    enum class ChannelStatus : std::uint8_t {
        kUnknown = 0,    // not reported yet
        kOpen = 1,       // no igniter connected
        kConnected = 2,  // an igniter with continuity, ready to fire
        kFired = 3,      // fired
    };
    // What a module reports: its address (-1: no module selected) and its channels.
    struct ModuleState {
        int address = -1;
        std::array<ChannelStatus, kChannelCount> channels{};
        bool operator==(const ModuleState&) const = default;
    };

    explicit D2DPyroSlave(WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DPyroSlave"; }
    void draw(RenderTarget& target) override;

    void setModuleState(const ModuleState& state);
    const ModuleState& getModuleState() const { return state_; }
    void setAddress(int address);
    int getAddress() const { return state_.address; }
    void setChannelStatus(int channel, ChannelStatus status);
    ChannelStatus getChannelStatus(int channel) const;

private:
    QColor lampColor(ChannelStatus status) const;

    WidgetColors colors_;
    ModuleState state_;
};

}  // namespace GUI
