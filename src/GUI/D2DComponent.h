#pragma once

#include <QBrush>
#include <QRegion>
#include <memory>

#include "GUI/Component.h"
#include "GUI/RenderTarget.h"

namespace GUI {

class D2DContainer;

// A component that draws itself with the toolkit's painter scheme. One whose parent is not
// a drawing container is a root: it draws straight onto its window when the window is
// painted. Every other one draws into a bitmap of its own size, and its parent copies that
// bitmap into its own target at the child's position; only roots are painted by Qt.
//
// Drawing is incremental: a component draws again only when it is dirty, and then only the
// part that changed; a clean child is composed from the bitmap it drew last. invalidateRect()
// adds a rectangle to the component's dirty region and climbs to the root with it (it stops
// at the first ancestor whose dirty region covers it already), and the root asks for a paint
// of that rectangle. A component draws its dirty region with the painter clipped to it, so a
// ticking clock redraws the clock and the pixels of its parents under it, not the window.
// Drawing code never replaces the clip: it intersects with it (Qt::IntersectClip).
class D2DComponent : public Component {
public:
    D2DComponent();
    ~D2DComponent() override;

    // Creates the window under the container's window as a transparent child, records the
    // drawing parent and registers with it.
    virtual QWidget* createAsD2DChild(const std::wstring& name, const std::wstring& text,
                                      ILayout* layout, std::uint32_t style, std::uint32_t exStyle,
                                      D2DContainer* parent, int controlId = 0);

    QWidget* create(const std::wstring& name, const std::wstring& text, ILayout* layout,
                    std::uint32_t style, std::uint32_t exStyle, QWidget* parentWindow,
                    int controlId = 0) override;
    std::intptr_t handleMessage(Message& message) override;
    void onPaint() override;

    virtual void draw(RenderTarget& target) = 0;
    // Builds what the component keeps for drawing on this target (images, paths).
    virtual void createDeviceResources(RenderTarget& target);
    virtual void releaseDeviceResources();
    // The window's size changed; the component is invalidated right after.
    virtual void resized();
    virtual void createRenderTarget();
    // Drops the target and the kept brush, then the device resources.
    virtual void discardRenderTarget();
    virtual void markClean();
    // The whole component.
    virtual void invalidate();
    // A part of the component, in its own coordinates.
    virtual void invalidateRect(const QRect& rect);
    virtual void renderTargetCreated();
    // Draws into the own target; false when the drawing has to be done again.
    virtual bool render();

    // Renders the component if it is dirty (a root always) and, for a child, copies its
    // bitmap into the parent's target. False when a target was lost on the way; the
    // component then stays dirty and draws again at the next paint.
    bool renderComponent();

    bool isRoot() const { return d2dParent_ == nullptr; }
    bool isDirty() const { return dirty_; }
    const QRegion& getDirtyRegion() const { return dirtyRegion_; }
    // While render() runs: the part being drawn, in the component's coordinates. Children
    // outside it are neither drawn nor composed.
    const QRegion& getDrawRegion() const { return drawRegion_; }
    D2DContainer* getD2DParent() const { return d2dParent_; }
    void clearD2DParent() { d2dParent_ = nullptr; }
    RenderTarget* getRenderTarget() const { return target_.get(); }
    int getTag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // One brush the component may keep for drawing; dropped with the target.
    QBrush& getKeptBrush() { return keptBrush_; }

private:
    int tag_ = 0;
    D2DContainer* d2dParent_ = nullptr;
    std::unique_ptr<RenderTarget> target_;
    bool dirty_ = true;
    QRegion dirtyRegion_;
    QRegion drawRegion_;
    int failedPaints_ = 0;
    QBrush keptBrush_;
};

}  // namespace GUI
