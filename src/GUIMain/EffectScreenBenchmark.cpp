// The effect screen with a catalogue of 10,000 effects, on the offscreen platform: opening it
// until it is painted, one keystroke in a search field until the table is painted with the
// hits, and one sort by a column until the table is painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "GUI/Graphics.h"
#include "GUI/QtMessagePump.h"
#include "GUIMain/BenchmarkApplication.h"
#include "GUIMain/EffectListView.h"
#include "GUIMain/EffectScreen.h"
#include "GUIMain/ScriptDialogs.h"
#include "GUIMain/Skyfirewright.h"
#include "Platform/Folders.h"
#include "Platform/MessageQueue.h"
#include "Platform/Utf.h"
#include "Show/ShowSession.h"

namespace {

using GUIMain::EffectScreen;

constexpr int kEffects = 10000;

void drain()
{
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The whole program for one benchmark: main window offscreen, silent audio, no
// controller, the catalogue in the effect library.
struct Program {
    Program()
    {
        GUIMain::benchmarkApplication();
        pump = std::make_unique<GUI::QtMessagePump>(queue);
        // A folder of its own for the settings and the library files.
        folder = std::filesystem::temp_directory_path() /
                 ("sky-effect-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "user");
        const std::wstring user = Platform::fromUtf8((folder / "user").string()) + L"/";
        setenv("appdata", (folder / "appdata").string().c_str(), 1);
        Show::ShowSessionOptions options;
        options.programFolder = Platform::programFolder();
        options.userFolder = user;
        options.audio.device = L"silent";
        options.controller.findPorts = [] { return std::vector<std::string>{}; };
        options.messageBoxes = &dialogs;
        session = std::make_unique<Show::ShowSession>(std::move(options));
        session->waitUntilReady(std::chrono::seconds(5));
        window = new GUIMain::Skyfirewright(*session, dialogs, dialogs);
        window->start(GUIMain::Skyfirewright::kMinimumWidth,
                      GUIMain::Skyfirewright::kMinimumHeight);
        windowHandle = window->getHandle();
        Project::EffectList& library = session->project().getProjectData().getEffectList();
        library.clearEffects();
        for (int n = 0; n < kEffects; ++n) {
            Project::EffectTexts texts;
            texts[0] = L"Effect " + std::to_wstring(n) + (n % 3 == 0 ? L" red" : L" gold");
            texts[1] = L"A-" + std::to_wstring(n * 7 % 10007);
            texts[2] = std::to_wstring(n % 40);
            texts[4] = std::to_wstring(n % 500) + L"." + std::to_wstring(n % 100);
            texts[5] = n % 2 == 0 ? L"Vulcan" : L"Nova";
            texts[6] = std::to_wstring(n % 2000);
            library.addEffectFromText(texts);
        }
        drain();
    }

    // Each benchmark has the program to itself: a thread has one message queue, and the
    // other benchmarks of the process make their own.
    ~Program()
    {
        if (window != nullptr && !windowHandle.isNull()) {
            window->closeWithoutQuestions();
        }
        drain();
        session.reset();
        unsetenv("appdata");
        std::filesystem::remove_all(folder);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    EffectScreen* open()
    {
        window->runCommand(85);
        drain();
        return EffectScreen::current();
    }
    void close()
    {
        if (EffectScreen* screen = EffectScreen::current()) {
            screen->getHandle()->close();
        }
        drain();
    }

    std::filesystem::path folder;
    GUIMain::ScriptDialogs dialogs;
    Platform::MessageQueue queue;
    std::unique_ptr<GUI::QtMessagePump> pump;
    std::unique_ptr<Show::ShowSession> session;
    GUIMain::Skyfirewright* window = nullptr;
    QPointer<QWidget> windowHandle;
};

void BM_OpenEffectScreen(benchmark::State& state)
{
    Program p;
    for (auto _ : state) {
        EffectScreen* screen = p.open();
        screen->getListView()->table()->viewport()->repaint();
        benchmark::DoNotOptimize(screen);
        state.PauseTiming();
        p.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenEffectScreen)->Unit(benchmark::kMillisecond);

void BM_SearchKeystroke(benchmark::State& state)
{
    Program p;
    EffectScreen* screen = p.open();
    GUIMain::EffectListView* view = screen->getListView();
    QLineEdit* field = view->searchField(Project::EffectField::DESCRIPTION);
    field->setText(QStringLiteral("red"));
    bool typed = false;
    for (auto _ : state) {
        // One key: a character narrowing "red" to "red1"-less hits, or Backspace widening it.
        if (typed) {
            QTest::keyClick(field, Qt::Key_Backspace);
        } else {
            QTest::keyClick(field, Qt::Key_X);
        }
        typed = !typed;
        view->table()->viewport()->repaint();
        benchmark::DoNotOptimize(view->visibleCount());
    }
    field->clear();
    p.close();
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_SearchKeystrokeNumber(benchmark::State& state)
{
    Program p;
    EffectScreen* screen = p.open();
    GUIMain::EffectListView* view = screen->getListView();
    QLineEdit* field = view->searchField(Project::EffectField::DURATION);
    field->setText(QStringLiteral("<1"));
    bool typed = false;
    for (auto _ : state) {
        if (typed) {
            QTest::keyClick(field, Qt::Key_Backspace);  // "<1": a few hundred hits
        } else {
            QTest::keyClick(field, Qt::Key_5);  // "<15": thousands
        }
        typed = !typed;
        view->table()->viewport()->repaint();
        benchmark::DoNotOptimize(view->visibleCount());
    }
    field->clear();
    p.close();
}
BENCHMARK(BM_SearchKeystrokeNumber)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state)
{
    Program p;
    EffectScreen* screen = p.open();
    QTableView* table = screen->getListView()->table();
    const int column = static_cast<int>(state.range(0));
    bool descending = false;
    for (auto _ : state) {
        table->horizontalHeader()->setSortIndicator(
            column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        descending = !descending;
        table->viewport()->repaint();
    }
    p.close();
}
// Description (text), duration (whole number), price (real).
BENCHMARK(BM_SortByColumn)->Arg(0)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
