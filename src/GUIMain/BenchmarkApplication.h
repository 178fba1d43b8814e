#pragma once

#include <QApplication>
#include <QByteArray>

#include "GUI/Graphics.h"

namespace GUIMain {

// The one application object and the graphics resources of the GUIMain benchmarks, made at
// the first call: every benchmark file of the program shares it, as Qt allows only one. On
// the offscreen platform unless QT_QPA_PLATFORM names another.
inline QApplication& benchmarkApplication()
{
    static int argc = 1;
    static char name[] = "sky_GUIMain_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
        }
        auto* made = new QApplication(argc, argv);
        GUI::Graphics::create();
        return made;
    }();
    return *application;
}

}  // namespace GUIMain
