#include "GUI/Graphics.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <cstdio>

#include "GUI/RenderTarget.h"
#include "GUI/SpriteCache.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

Graphics* instance = nullptr;

QFont makeFont(const QString& family, QFont::Weight weight, int pixelSize)
{
    QFont font(Graphics::resolveFamily(family));
    font.setWeight(weight);
    font.setStyle(QFont::StyleNormal);
    font.setStretch(QFont::Unstretched);
    // Sizes are device-independent pixels, as the layouts are.
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

QString Graphics::resolveFamily(const QString& family)
{
    if (QFontDatabase::hasFamily(family)) {
        return family;
    }
    // Metric-compatible stand-ins. Nothing free matches Arial Black's widths; the heaviest
    // Liberation Sans comes nearest in look.
    static const char* const standIns[] = {"Liberation Sans", "Arimo"};
    for (const char* standIn : standIns) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(standIn))) {
            return QString::fromLatin1(standIn);
        }
    }
    return family;
}

Graphics* Graphics::create()
{
    SKY_ASSERT(instance == nullptr, "Graphics");
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        std::printf("Could not initialize the window system!\n");
        return nullptr;
    }
    if (QFontDatabase::families().isEmpty()) {
        std::printf("Could not initialize the fonts!\n");
        return nullptr;
    }
    instance = new Graphics;
    return instance;
}

void Graphics::destroy()
{
    // The widgets' kept pictures hold text in these fonts.
    SpriteCache::clear();
    delete instance;
    instance = nullptr;
}

Graphics* Graphics::getInstance()
{
    return instance;
}

Graphics::Graphics()
{
    fonts_[0] = makeFont(QStringLiteral("Arial Black"), QFont::Black, 10);
    fonts_[1] = makeFont(QStringLiteral("Arial Black"), QFont::Black, 30);
    fonts_[2] = makeFont(QStringLiteral("Arial"), QFont::Normal, 13);
    fonts_[3] = makeFont(QStringLiteral("Arial"), QFont::Normal, 18);

    // Bitmaps made for one screen set-up do not fit another: every target is rebuilt.
    auto* app = static_cast<QGuiApplication*>(QCoreApplication::instance());
    connections_.push_back(QObject::connect(app, &QGuiApplication::screenAdded,
                                            [](QScreen*) { RenderTarget::markDeviceLost(); }));
    connections_.push_back(QObject::connect(app, &QGuiApplication::screenRemoved,
                                            [](QScreen*) { RenderTarget::markDeviceLost(); }));
}

Graphics::~Graphics()
{
    for (const QMetaObject::Connection& connection : connections_) {
        QObject::disconnect(connection);
    }
}

}  // namespace GUI
