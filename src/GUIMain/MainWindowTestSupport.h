#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>

#include "Config/Settings.h"
#include "GUI/KeyRouter.h"
#include "GUI/QtMessagePump.h"
#include "GUI/QtTestEnvironment.h"
#include "GUIMain/ScriptDialogs.h"
#include "GUIMain/ScriptRunner.h"
#include "GUIMain/Skyfirewright.h"
#include "Midi/FakeMidiPorts.h"
#include "Platform/Folders.h"
#include "Platform/MessageQueue.h"
#include "Platform/TestFolder.h"
#include "Show/ShowSession.h"

namespace GUIMain::Testing {

// The whole windowed program in a test: a show session on the silent output with no firing
// controller, the main window on the offscreen platform, its dialogs answered by a script,
// and a script runner that drives it. The settings come from the program's own folder and
// a fresh user folder, so the shipped key maps apply.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        userFolder_ = folder_.path("user") + L"/";
        std::filesystem::create_directories(folder_.root() / "user");
        Show::ShowSessionOptions options;
        options.programFolder = Platform::programFolder();
        options.userFolder = userFolder_;
        options.audio.device = L"silent";
        // No firing controller unless a test names its ports (the device simulator's).
        options.controller.findPorts = [this] {
            return controllerPorts_ ? controllerPorts_() : std::vector<std::string>{};
        };
        options.midiPorts = std::make_unique<Midi::FakePorts>(midiDevices_);
        options.messageBoxes = &dialogs_;
        session_ = std::make_unique<Show::ShowSession>(std::move(options));
        ASSERT_TRUE(session_->waitUntilReady(std::chrono::seconds(5)));
        keyRouter_ = std::make_unique<GUI::KeyRouter>();
        window_ = new Skyfirewright(*session_, dialogs_, dialogs_);
        window_->start(Skyfirewright::kMinimumWidth, Skyfirewright::kMinimumHeight);
        handle_ = window_->getHandle();
        ASSERT_TRUE(QTest::qWaitForWindowActive(handle_));
        runner_ = std::make_unique<ScriptRunner>(*window_, dialogs_, out_, err_);
        ScriptRunner::drainEvents();
    }

    void TearDown() override
    {
        runner_.reset();
        if (!handle_.isNull()) {
            window_->closeWithoutQuestions();
        }
        ScriptRunner::drainEvents();
        keyRouter_.reset();
        session_.reset();
    }

    // Runs script lines; fails the test at a line that fails.
    void run(std::initializer_list<std::string> lines)
    {
        for (const std::string& line : lines) {
            std::string reason;
            ASSERT_TRUE(runner_->runLine(line, reason)) << line << ": " << reason;
        }
    }
    // The reason a line fails, or empty when it ran.
    std::string failureOf(const std::string& line)
    {
        std::string reason;
        return runner_->runLine(line, reason) ? std::string() : reason;
    }
    nlohmann::json state() { return runner_->makeState(); }
    bool windowAlive() const { return !handle_.isNull(); }
    std::wstring path(const std::string& relative) const { return folder_.path(relative); }
    std::string pathUtf8(const std::string& relative) const
    {
        return (folder_.root() / relative).string();
    }

    Platform::TestFolder folder_;
    std::wstring userFolder_;
    // The controller's candidate ports; none unless a test sets them before SetUp (a device
    // simulator's terminal, say).
    std::function<std::vector<std::string>()> controllerPorts_;
    Midi::Devices midiDevices_;
    ScriptDialogs dialogs_;
    Platform::MessageQueue queue_;
    GUI::QtMessagePump pump_{queue_};
    std::unique_ptr<Show::ShowSession> session_;
    std::unique_ptr<GUI::KeyRouter> keyRouter_;
    Skyfirewright* window_ = nullptr;
    QPointer<QWidget> handle_;
    std::ostringstream out_;
    std::ostringstream err_;
    std::unique_ptr<ScriptRunner> runner_;
};

// The main window with the per-user data folder ("appdata") in the test's own folder, for
// tests whose windows store the per-user library files.
class MainWindowWithUserFolderTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        setenv("appdata", pathUtf8("appdata").c_str(), 1);
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        unsetenv("appdata");
    }
};

}  // namespace GUIMain::Testing
