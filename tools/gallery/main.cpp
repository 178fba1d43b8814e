// skyfirewright-gallery: the toolkit's components on one window, to look at and to try.
//
//   skyfirewright-gallery [--screenshot FILE.png] [--size WIDTHxHEIGHT]
//
// With --screenshot the window is captured into FILE.png and the program ends: from the
// screen on a real display (X under Xvfb, say), drawn by the widgets without one
// (QT_QPA_PLATFORM=offscreen). --size gives the window's size (to see it as a small or a
// large screen shows it); a screenshot is otherwise tall enough to hold every widget.
// Exit status: 0 on success, 1 when the picture could not be made or written, 2 for usage
// errors.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSize>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <string>

#include "GUI/Graphics.h"
#include "GUI/WindowStyle.h"
#include "GalleryWindow.h"

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: skyfirewright-gallery [--screenshot FILE.png] "
                 "[--size WIDTHxHEIGHT]\n");
}

// Lets the window be shown and painted before it is captured. A real window system maps
// the window and reports it exposed some time after show().
void settle(QWidget* window)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000 &&
           (window->windowHandle() == nullptr || !window->windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    timer.restart();
    while (timer.elapsed() < 200) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Painted and handed to the window system now: a capture from the screen, asked for
    // after this on the same connection, sees the finished picture.
    window->repaint();
    QApplication::processEvents();
}

// The picture of the window. On a real window system it is taken from the screen, so it
// shows what the display server really holds; without a display the widgets draw it.
QImage capture(QWidget* window)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        if (QScreen* screen = window->screen()) {
            const QPixmap shot = screen->grabWindow(window->winId());
            if (!shot.isNull()) {
                return shot.toImage();
            }
        }
    }
    return window->grab().toImage();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QString screenshot;
    QSize size;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            const QStringList parts = args[++i].split('x');
            bool widthOk = false;
            bool heightOk = false;
            if (parts.size() == 2) {
                size = QSize(parts[0].toInt(&widthOk), parts[1].toInt(&heightOk));
            }
            if (!widthOk || !heightOk || size.width() < 100 || size.height() < 100 ||
                size.width() > 10000 || size.height() > 10000) {
                usage();
                return 2;
            }
        } else if (args[i] == "--help" || args[i] == "-h") {
            usage();
            return 0;
        } else {
            usage();
            return 2;
        }
    }

    if (GUI::Graphics::create() == nullptr) {
        return 1;
    }
    auto* gallery = new GalleryWindow;
    QWidget* window =
        gallery->createTopLevel(L"Gallery", L"Skyfirewright toolkit gallery",
                                GUI::kStyleOverlappedWindow, GUI::kExStyleControlParent);
    // A screenshot is taken tall enough to hold every widget without scrolling.
    if (!size.isValid()) {
        size = QSize(1000, screenshot.isEmpty() ? 760 : 1400);
    }
    window->resize(size);
    window->show();

    int status = 0;
    if (screenshot.isEmpty()) {
        status = QApplication::exec();
    } else {
        settle(window);
        const QImage image = capture(window);
        if (image.isNull() || !image.save(screenshot, "PNG")) {
            std::fprintf(stderr, "skyfirewright-gallery: cannot write %s\n",
                         screenshot.toLocal8Bit().constData());
            status = 1;
        }
        gallery->destroyWindow();
    }
    GUI::Graphics::destroy();
    return status;
}
