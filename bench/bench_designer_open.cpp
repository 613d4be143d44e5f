// The designer opened on the sample project at the screen sizes shops have,
// shown and left alone: the CPU it takes in its first 5 s, and when the
// canvas last did anything (a resize, a zoom, a paint), which is when the
// window settled. A window that settles takes a fraction of a second of CPU
// and is still after well under a second; a layout chasing itself takes the
// whole 5 s.
#include "BenchRegistry.h"
#include "DesignerWindow.h"
#include "LabelCanvas.h"
#include "Messages.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <ctime>

namespace {

constexpr int WatchMs = 5000;

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

// Notes the time of the canvas's last resize, layout or paint.
class Activity : public QObject
{
public:
    explicit Activity(const QElapsedTimer &clock) : m_clock(clock) {}
    qint64 last = 0;

    void note() { last = m_clock.elapsed(); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest || event->type() == QEvent::Paint)
            note();
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

int benchDesignerOpen(const QStringList &)
{
    QTextStream out(stdout);
    Messages::setSink([](const QString &) {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Selvar.rav"));
    QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), path);
    out << "designer opened on the sample and left alone, first " << WatchMs / 1000 << " s (platform " << qgetenv("QT_QPA_PLATFORM") << ")\n";
    for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1200, 867), QSize(1366, 768), QSize(1920, 1080)}) {
        DesignerWindow window;
        window.openProject(path);
        window.resize(size);
        QElapsedTimer clock;
        Activity activity(clock);
        LabelCanvas *canvas = window.canvas();
        canvas->installEventFilter(&activity);
        canvas->viewport()->installEventFilter(&activity);
        QObject::connect(canvas, &LabelCanvas::zoomChanged, &activity, [&activity] { activity.note(); });
        const double cpuBefore = cpuSeconds();
        clock.start();
        window.show();
        QEventLoop loop;
        QTimer::singleShot(WatchMs, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = cpuSeconds() - cpuBefore;
        out << QStringLiteral("%1x%2: cpu %3 s of %4 s, idle after %5 ms, zoom %6 %\n")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(cpu, 0, 'f', 2)
                   .arg(WatchMs / 1000)
                   .arg(activity.last)
                   .arg(canvas->zoom());
        out.flush();
    }
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("designer-open", benchDesignerOpen);
