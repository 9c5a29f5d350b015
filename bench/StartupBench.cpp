// Start-up of a new process to the first complete paint of its canvas: Skorel with an empty
// document and with a 10,000-record drawing, beside a bare Qt main window (menu bar, toolbar,
// status bar and a white 1280 × 1024 image) started the same way. Each run starts this
// program again in a child mode that makes the window and ends once the canvas has painted;
// the counter canvas_ms is the time from the start to that paint, as the child saw it (the
// rest of a run is the child's end and the wait for it).
#include "BareWindow.h"
#include "Ratios.h"

#include "app/Skorel.h"

#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

extern char** environ;

namespace {

std::string g_self;

// The child writes the milliseconds from its start to the canvas's first paint here.
constexpr int kReportFd = 3;

std::int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The widget that shows the canvas: the main window's central widget, or the one it scrolls.
bool IsCanvas(const QWidget* w)
{
    const auto* main = qobject_cast<const QMainWindow*>(w->window());
    if (!main || !main->centralWidget())
        return false;
    if (const auto* area = qobject_cast<const QScrollArea*>(main->centralWidget()))
        return area->widget() == w;
    return main->centralWidget() == w;
}

// Reports the time to the canvas's first paint and ends the process once that paint is done.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* event) override
    {
        auto* w = qobject_cast<QWidget*>(obj);
        if (event->type() != QEvent::Paint || !w || !IsCanvas(w))
            return false;
        QTimer::singleShot(0, [] {
            const QByteArray since = qgetenv("SKOREL_BENCH_SPAWNED");
            const std::string ms = std::to_string((Now() - since.toLongLong()) / 1e6) + '\n';
            if (::write(kReportFd, ms.data(), ms.size()) < 0)
                std::_Exit(1);
            std::_Exit(0);
        });
        return false;
    }
};

void WatchFirstPaint() { qApp->installEventFilter(new FirstPaint); }
Q_COREAPP_STARTUP_FUNCTION(WatchFirstPaint)

class WhiteCanvas : public QWidget {
public:
    WhiteCanvas() : m_image(1280, 1024, QImage::Format_RGB32) { m_image.fill(Qt::white); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_image); }

private:
    QImage m_image;
};

int RunBareWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    bench::FurnishLikeSkorel(window);
    window.setCentralWidget(new WhiteCanvas);
    window.resize(1200, 900);
    window.show();
    return app.exec();
}

int RunSkorel(int argc, char** argv)
{
    static CSkorelApp theApp;
    return AfxWinMain(argc, argv);
}

std::string DrawingFile(int nRecords)
{
    static QTemporaryDir dir;
    const std::string path =
        dir.filePath(QStringLiteral("drawing%1.skr").arg(nRecords)).toStdString();
    std::ofstream out(path, std::ios::binary);
    auto put = [&out](std::int32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    put(nRecords);
    for (int i = 0; i < nRecords; ++i)
        for (int v :
             {i % 1200, i % 1000, i % 1200 + 80, i % 1000 + 60, 1 + i % 3, 0, 0xFFFFFF, 1 + i % 7})
            put(v);
    return path;
}

void Launch(benchmark::State& state, std::vector<std::string> args)
{
    args.insert(args.begin(), g_self);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    double canvasMs = 0;
    for (auto _ : state) {
        int report[2];
        if (::pipe(report) != 0) {
            state.SkipWithError("cannot make a pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, report[1], kReportFd);
        ::setenv("SKOREL_BENCH_SPAWNED", std::to_string(Now()).c_str(), 1);
        pid_t pid = 0;
        const int started =
            posix_spawn(&pid, g_self.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(report[1]);
        if (started != 0) {
            ::close(report[0]);
            state.SkipWithError("cannot start the child");
            return;
        }
        char text[64] = {};
        const ssize_t n = ::read(report[0], text, sizeof text - 1);
        ::close(report[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child failed");
            return;
        }
        canvasMs += std::strtod(text, nullptr);
    }
    state.counters["canvas_ms"] = benchmark::Counter(canvasMs, benchmark::Counter::kAvgIterations);
}

void BM_Startup_Skorel(benchmark::State& state)
{
    std::vector<std::string> args = {"--child=skorel"};
    if (state.range(0))
        args.push_back(DrawingFile(int(state.range(0))));
    Launch(state, args);
}
BENCHMARK(BM_Startup_Skorel)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Startup_BareQtWindow(benchmark::State& state) { Launch(state, {"--child=bare"}); }
BENCHMARK(BM_Startup_BareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child=skorel") == 0)
        return RunSkorel(argc - 1, argv + 1);
    if (argc > 1 && std::strcmp(argv[1], "--child=bare") == 0)
        return RunBareWindow(argc - 1, argv + 1);
    g_self = argv[0];
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    return bench::RunWithRatios(
        argc, argv,
        {{"BM_Startup_Skorel/0/real_time", "BM_Startup_BareQtWindow/real_time"},
         {"BM_Startup_Skorel/10000/real_time", "BM_Startup_BareQtWindow/real_time"}});
}
