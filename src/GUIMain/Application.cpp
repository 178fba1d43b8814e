#include "GUIMain/Application.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>

#include "Config/Settings.h"
#include "GUI/FileChooser.h"
#include "GUI/Graphics.h"
#include "GUI/KeyRouter.h"
#include "GUI/QtMessageBox.h"
#include "GUI/QtMessagePump.h"
#include "GUIMain/Commands.h"
#include "GUIMain/ExternalLinks.h"
#include "GUIMain/ScriptDialogs.h"
#include "GUIMain/ScriptRunner.h"
#include "GUIMain/Skyfirewright.h"
#include "Platform/Folders.h"
#include "Platform/Log.h"
#include "Platform/MessageQueue.h"
#include "Platform/Utf.h"
#include "Show/ShowSession.h"

namespace GUIMain {

std::optional<int> commandForCommandLineFile(const std::wstring& path)
{
    const bool effects = path.find(L".fwe") != std::wstring::npos;
    const bool presets = path.find(L".fwf") != std::wstring::npos;
    if (effects && presets) {
        return std::nullopt;
    }
    if (effects) {
        return Command::kLoadEffectLibrary;
    }
    if (presets) {
        return Command::kLoadFixtureLibrary;
    }
    return Command::kOpenCommandLineProject;
}

namespace {

bool readLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return true;
}

void showGraphicsError()
{
    QMessageBox::critical(nullptr, QStringLiteral("Skyfirewright"),
                          QString::fromStdWString(Config::tr(L"ERROR.GRAPHICS.NOTVISTA")));
}

}  // namespace

int runApplication(const ApplicationOptions& options)
{
    // The show file export draws its padding from the C library's generator.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    std::vector<std::string> scriptLines;
    if (options.scriptPath && !readLines(*options.scriptPath, scriptLines)) {
        std::cerr << "cannot read the script " << *options.scriptPath << '\n';
        return 1;
    }

    Platform::MessageQueue queue;
    GUI::QtMessagePump pump(queue);

    std::unique_ptr<ScriptDialogs> scriptDialogs;
    GUI::QtMessageBox qtMessageBox;
    GUI::QtFileChooser qtFileChooser;
    Platform::MessageBoxService* messageBoxes = &qtMessageBox;
    GUI::FileChooser* fileChooser = &qtFileChooser;
    ExternalOpener previousOpener;
    if (options.scriptPath) {
        scriptDialogs = std::make_unique<ScriptDialogs>();
        messageBoxes = scriptDialogs.get();
        fileChooser = scriptDialogs.get();
        // A script never starts a browser; it sees the address in the log.
        previousOpener = setExternalOpener(
            [](const QUrl& url) { Platform::logLine(L"open: " + url.toString().toStdWString()); });
    }

    int status = 0;
    bool restart = false;
    {
        Show::ShowSessionOptions sessionOptions;
        sessionOptions.programFolder = Platform::programFolder();
        sessionOptions.userFolder = Platform::userDataFolder();
        sessionOptions.audio.device = options.audioDevice;
        sessionOptions.messageBoxes = messageBoxes;
        Show::ShowSession session(std::move(sessionOptions));
        session.waitUntilReady(std::chrono::seconds(5));

        // The application icon, drawn by the build beside the other pictures; none when missing.
        const QString icon = QString::fromStdWString(Platform::programFolder()) +
                             QStringLiteral("images/skyfirewright.png");
        if (QFileInfo::exists(icon)) {
            QApplication::setWindowIcon(QIcon(icon));
        }
        if (GUI::Graphics::create() == nullptr) {
            showGraphicsError();
            return 1;
        }
        {
            GUI::KeyRouter keyRouter;
            auto* window = new Skyfirewright(session, *messageBoxes, *fileChooser);
            window->setCommandLineFile(options.commandLineFile);
            bool restartRequested = false;
            window->setDestroyedHandler([&restartRequested, window] {
                restartRequested = window->isRestartRequested();
                QCoreApplication::exit(0);
            });
            window->start(options.width, options.height);
            QPointer<QWidget> handle = window->getHandle();

            if (!options.commandLineFile.empty()) {
                if (const std::optional<int> command =
                        commandForCommandLineFile(options.commandLineFile)) {
                    postCommand(*command);
                }
            }

            std::unique_ptr<ScriptRunner> runner;
            if (options.scriptPath) {
                runner =
                    std::make_unique<ScriptRunner>(*window, *scriptDialogs, std::cout, std::cerr);
                QTimer::singleShot(0, [&] { status = runner->run(scriptLines); });
            }
            QApplication::exec();
            if (!handle.isNull()) {
                // The loop ended without the window closing (a quit request from outside).
                static_cast<Skyfirewright*>(GUI::Component::fromHandle(handle))
                    ->closeWithoutQuestions();
                ScriptRunner::drainEvents();
            }
            // A script never restarts the program; its state reports the request.
            restart = restartRequested && !options.scriptPath;
        }
        GUI::Graphics::destroy();
        // The session ends its services in reverse order: the controller first, which
        // leaves the device disarmed, the settings last (written when changed).
    }
    if (options.scriptPath) {
        setExternalOpener(std::move(previousOpener));
    }
    if (restart) {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    }
    return status;
}

}  // namespace GUIMain
