// skyfirewright-artwork: draws the program's pictures, so that no image file needs to be
// kept in the repository. The build runs it into the build tree's images folder.
//
//   skyfirewright-artwork FOLDER
//
// writes FOLDER/mainhead.png, logoglowred.png, menuhead.png (the main window's pictures),
// skyfirewright.png (the 256 x 256 application icon) and skyfirewright.svg (the same icon,
// scalable). Exit status: 0 when every file was written, 1 when one could not be, 2 for
// usage errors.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <cstdio>

#include "ProgramIcon.h"
#include "ProgramImages.h"

namespace {

bool writeImage(const QImage& image, const QString& path)
{
    // Written under a temporary name and renamed, so that a failed run leaves no half file
    // that the build would take for finished.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "skyfirewright-artwork: %s: cannot be written\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeText(const QString& text, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "skyfirewright-artwork: %s: cannot be written\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skyfirewright-artwork FOLDER\n");
        return 2;
    }
    // The lettering needs fonts, and so a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "skyfirewright-artwork: %s: cannot be made\n", argv[1]);
        return 1;
    }
    const QDir out(folder);
    bool ok = writeImage(Artwork::headerBand(), out.filePath(QStringLiteral("mainhead.png")));
    ok = writeImage(Artwork::logoGlow(), out.filePath(QStringLiteral("logoglowred.png"))) && ok;
    ok = writeImage(Artwork::menuHead(), out.filePath(QStringLiteral("menuhead.png"))) && ok;
    ok = writeImage(Artwork::programIcon(256), out.filePath(QStringLiteral("skyfirewright.png"))) &&
         ok;
    ok = writeText(Artwork::programIconSvg(), out.filePath(QStringLiteral("skyfirewright.svg"))) &&
         ok;
    return ok ? 0 : 1;
}
