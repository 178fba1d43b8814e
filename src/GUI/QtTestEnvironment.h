#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>

#include "GUI/Graphics.h"

namespace GUI {

// The application object and the graphics resources for the GUI tests, made once per test
// program. Qt's offscreen platform stands in for a display unless QT_QPA_PLATFORM names
// another (xcb under Xvfb, say).
class QtTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
        }
        static int argc = 1;
        static char name[] = "sky_GUI_tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
        ASSERT_NE(Graphics::create(), nullptr);
    }

    void TearDown() override
    {
        Graphics::destroy();
        delete application_;
        application_ = nullptr;
    }

private:
    QApplication* application_ = nullptr;
};

// Registered once for the whole program, by whichever test file comes first.
inline const bool qtTestEnvironmentRegistered =
    (::testing::AddGlobalTestEnvironment(new QtTestEnvironment), true);

// Runs the deferred deletions (windows closed from inside an event).
inline void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace GUI
