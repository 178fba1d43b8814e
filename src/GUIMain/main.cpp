// skyfirewright [FILE] [--script SCRIPT] [--audio DEVICE] [--size WIDTHxHEIGHT]
//
// The windowed program. FILE is a project (".fwp"), an effect library (".fwe") or a preset
// library (".fwf") to open at start. --script runs a script of actions (see ScriptRunner.h)
// and closes the program without saving when it ends; the exit status is the script's.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <iostream>

#include "GUIMain/Application.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyfirewright"));
    QApplication::setDesktopFileName(QStringLiteral("skyfirewright"));

    GUIMain::ApplicationOptions options;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--script") && i + 1 < args.size()) {
            options.scriptPath = args[++i].toStdString();
        } else if (arg == QLatin1String("--audio") && i + 1 < args.size()) {
            options.audioDevice = args[++i].toStdWString();
        } else if (arg == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList size = args[++i].split(QLatin1Char('x'));
            if (size.size() == 2) {
                options.width = size[0].toInt();
                options.height = size[1].toInt();
            }
        } else if (arg == QLatin1String("--help")) {
            std::cout << "usage: skyfirewright [FILE] [--script SCRIPT] [--audio DEVICE] "
                         "[--size WIDTHxHEIGHT]\n";
            return 0;
        } else if (options.commandLineFile.empty() && !arg.startsWith(QLatin1String("--"))) {
            // The full path, so that it still names the file wherever the program looks.
            options.commandLineFile =
                QDir::toNativeSeparators(QFileInfo(arg).absoluteFilePath()).toStdWString();
        }
    }
    return GUIMain::runApplication(options);
}
