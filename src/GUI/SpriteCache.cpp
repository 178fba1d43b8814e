#include "GUI/SpriteCache.h"

#include <cmath>
#include <cstring>

#include "GUI/RenderTarget.h"

namespace GUI {

namespace {

// Past this many bytes of pictures all are dropped and drawn again as they are needed.
constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;

struct Pictures {
    std::unordered_map<std::string, QImage> map;
    qsizetype bytes = 0;
    bool enabled = true;
};

Pictures& pictures()
{
    static Pictures all;
    return all;
}

}  // namespace

SpriteCache::Key& SpriteCache::Key::add(const QColor& color)
{
    return add(static_cast<int>(color.rgba()));
}

SpriteCache::Key& SpriteCache::Key::add(const QString& text)
{
    add(static_cast<int>(text.size()));
    return addBytes(text.constData(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
}

SpriteCache::Key& SpriteCache::Key::addBytes(const void* data, std::size_t size)
{
    bytes_.append(static_cast<const char*>(data), size);
    return *this;
}

bool SpriteCache::canCopyTo(const RenderTarget& target, const QPainter& painter,
                            const QColor& background)
{
    const qreal ratio = target.getDevicePixelRatio();
    return pictures().enabled && !target.isWindowTarget() && ratio == std::floor(ratio) &&
           background.alpha() == 255 && painter.opacity() == 1.0 &&
           painter.transform().isIdentity() &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           !painter.hasClipping();
}

void SpriteCache::draw(QPainter& painter, qreal pixelRatio, const QRect& area, const Key& key,
                       const QColor& background, const std::function<void(QPainter&)>& paint)
{
    if (area.isEmpty()) {
        return;
    }
    Key full = key;
    full.add(area.width()).add(area.height()).add(pixelRatio).add(background);
    Pictures& all = pictures();
    auto it = all.map.find(full.bytes());
    if (it == all.map.end()) {
        if (all.bytes > kMaxBytes) {
            clear();
        }
        QImage image(area.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(pixelRatio);
        image.fill(background);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            // Moved by whole device pixels: shapes keep their fractions of a pixel.
            p.translate(-area.topLeft());
            paint(p);
        }
        all.bytes += image.sizeInBytes();
        it = all.map.emplace(full.bytes(), std::move(image)).first;
    }
    painter.drawImage(area.topLeft(), it->second);
}

std::size_t SpriteCache::size()
{
    return pictures().map.size();
}

void SpriteCache::clear()
{
    pictures().map.clear();
    pictures().bytes = 0;
}

void SpriteCache::setEnabled(bool enabled)
{
    pictures().enabled = enabled;
}

}  // namespace GUI
