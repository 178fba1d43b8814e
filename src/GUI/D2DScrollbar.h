#pragma once

#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"

namespace GUI {

class StackedLayout;

// A scrollbar over integer units (pixels of content when it drives a stacked layout): a
// position within a total, of which one page is visible. The arrows at both ends are as
// long as the bar is thick; between them lies the track with the thumb.
//
// Pressing an arrow moves one step, pressing the track one page towards the mouse; both
// repeat while the button is held, at the system's keyboard delay and rate. Dragging the
// thumb moves the position by the units a pixel stands for. Every change of the position
// tells the stacked layout it drives to place its content again.
class D2DScrollbar : public D2DComponent {
public:
    enum Orientation { kVertical = 0, kHorizontal = 1 };
    enum Part {
        kPartNone = -1,
        kPartArrowUp = 0,
        kPartArrowDown = 1,
        kPartTrack = 2,
        kPartThumb = 3
    };
    // The keyboard repeat settings, on the scales of the desktop's keyboard settings.
    struct RepeatSettings {
        int delay = 1;   // 0 (shortest, 250 ms) .. 3 (longest, 1 s)
        int speed = 31;  // 0 (about 2.5 repeats a second) .. 31 (about 30)
        // The desktop's settings as Qt reports them. Qt tells the repeat rate only; the
        // delay keeps the usual desktop default (1, half a second).
        static RepeatSettings fromSystem();
        int firstDelayMs() const;
        int intervalMs() const;
    };
    static constexpr int kRepeatTimer = 1;
    static constexpr int kLineStep = 20;

    explicit D2DScrollbar(Orientation orientation = kVertical, WidgetColors colors = {});
    ~D2DScrollbar() override;

    std::wstring getWindowClassName() const override { return L"D2DScrollbar"; }
    std::intptr_t handleMessage(Message& message) override;
    void draw(RenderTarget& target) override;

    void setTotal(int total);
    void setPage(int page);
    void setPosition(int position);
    int getTotal() const { return total_; }
    int getPage() const { return page_; }
    int getPosition() const { return position_; }
    // Moves by `pixels` units (negative towards the start).
    void scrollBy(int pixels);
    // Scrolls as little as needed to show the units from `start` to `end`; when the range
    // is longer than the page, its start is shown.
    void makeVisible(int start, int end);

    // Becomes the scroll function of the layout (null: none): the layout tells the content
    // and visible lengths, which become total and page, and gets the position back.
    void installOn(StackedLayout* layout);

    void setRepeatSettings(RepeatSettings settings) { repeat_ = settings; }
    Orientation getOrientation() const { return orientation_; }

    // The geometry along the bar, in pixels from its start.
    int getLength() const;
    int getThickness() const;
    double getThumbStart() const;
    double getThumbEnd() const;
    // Units per pixel of thumb movement; 0 when the thumb cannot move.
    double getPixelsToUnits() const;
    Part hitTest(QPoint point) const;
    Part getPressedPart() const { return pressed_; }

private:
    int along(QPoint point) const { return orientation_ == kVertical ? point.y() : point.x(); }
    void setPositionClamped(int position, bool tellLayout);
    void step();
    void stopRepeat();

    Orientation orientation_;
    WidgetColors colors_;
    int position_ = 0;
    int total_ = 0;
    int page_ = 0;
    Part pressed_ = kPartNone;
    int dragStartMouse_ = 0;
    int dragStartValue_ = 0;
    int trackTarget_ = 0;  // where the mouse pressed the track, along the bar
    bool repeating_ = false;
    bool hover_ = false;
    bool placingLayout_ = false;
    RepeatSettings repeat_;
    StackedLayout* layout_ = nullptr;
};

}  // namespace GUI
