#pragma once

#include <QBrush>
#include <QRect>
#include <cstdint>
#include <vector>

#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"
#include "Platform/ListenerSet.h"

namespace GUI {

// A grid of equal cells, each drawn by the grid's listeners (module and channel cells, for
// instance). The mouse hovers one cell at a time; a press and release on the same cell
// selects it: in single mode it becomes the only selected cell, in multiple mode its mark
// toggles. Cell addresses outside the grid are programming errors.
class D2DButtonGrid : public D2DComponent {
public:
    struct Metrics {
        int columnCount = 0;
        int rowCount = 0;
        int cellWidth = 0;
        int cellHeight = 0;
        int gap = 0;
        int leftMargin = 0;
        int topMargin = 0;
    };
    // The bits of a cell's state byte.
    enum CellState : std::uint8_t {
        kHovered = 2,
        kPressed = 4,
        kSelected = 8,  // the selection the mouse sets
        kMarked = 16,   // a second mark the owner may set
    };
    enum SelectionMode { kSingle = 1, kMultiple = 2 };

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void cellClicked(D2DButtonGrid* /*grid*/, int /*x*/, int /*y*/) {}
        // (-1, -1) when the mouse left the cells.
        virtual void cellHovered(D2DButtonGrid* /*grid*/, int /*x*/, int /*y*/) {}
        // Draws cell (x, y) into the grid's target, inside getCellRect(x, y) (the cells
        // after it are drawn over their whole rectangles); the grid has drawn the cell's
        // body for its state already.
        virtual void drawCell(RenderTarget& /*target*/, QBrush& /*brush*/, int /*x*/, int /*y*/) {}
    };

    explicit D2DButtonGrid(SelectionMode mode = kSingle, WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DButtonGrid"; }
    std::intptr_t handleMessage(Message& message) override;
    void getPreferredSize(int& width, int& height) override;
    void draw(RenderTarget& target) override;

    // Clears every cell's state.
    void setMetrics(const Metrics& metrics);
    const Metrics& getMetrics() const { return metrics; }
    void setSelectionMode(SelectionMode mode) { mode_ = mode; }
    // Sets or clears `mark` (kSelected or kMarked) of one cell; listeners are not called.
    void setCellSelected(int x, int y, bool selected, std::uint8_t mark = kSelected);
    std::uint8_t getCellState(int x, int y) const;
    QRect getCellRect(int x, int y) const;
    // The cell under a point, or false in a gap or outside.
    bool cellAt(QPoint point, int& x, int& y) const;
    int getCurrentX() const { return currentX_; }
    int getCurrentY() const { return currentY_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    std::uint8_t& cell(int x, int y);
    void setHovered(int x, int y);
    void clearBit(std::uint8_t bit);

    // Named as the assertions name it.
    Metrics metrics;
    WidgetColors colors_;
    SelectionMode mode_;
    std::vector<std::uint8_t> cells_;
    int currentX_ = -1;  // the hovered cell
    int currentY_ = -1;
    int pressedX_ = -1;
    int pressedY_ = -1;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUI
