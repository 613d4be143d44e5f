// The window thread's longest stall while "Etiquetas com preços" works: a 5 ms
// timer on that thread notes the largest gap between its ticks, on the real
// window, (a) while a job of 10,000 labels is written and read back (a model
// that prints nothing, so only the job is timed), and (b) while the printer
// queue is asked about and the scheduler never answers (a stand-in lpstat
// that sleeps), until "Cancelar" after 2 s.
#include "BenchList.h"
#include "BenchRegistry.h"
#include "StallProbe.h"
#include "ListWindow.h"
#include "RunValues.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

namespace {

// (a): a model no output serves ("09" names none), so the click writes and reads back the job only.
qint64 jobStall(qint64 *totalMs)
{
    ListWindow window;
    if (!window.start(QStringLiteral("09")) || !openListOf(window, 1000, 10))
        qFatal("the window did not open its list");
    StallProbe probe;
    probe.start();
    QElapsedTimer clock;
    clock.start();
    QSignalSpy ended(window.form(), &TFormSelvarra::printEnded);
    QTest::mouseClick(window.form()->btnEtiqSemPreco, Qt::LeftButton);
    if (ended.isEmpty() && !ended.wait(600000))
        qFatal("the print did not end");
    const qint64 stall = probe.stop();
    *totalMs = clock.elapsed();
    window.app.suite.disconnect();
    const int rows = window.app.suite.scalar(QStringLiteral("select count(*) from TABREV2")).toInt();
    if (rows != 10000 || !window.app.messages.isEmpty())
        qFatal("the job has %d rows; messages: %s; line: %s; list rows %d", rows, qPrintable(window.app.messages.join(QLatin1Char('|'))),
               qPrintable(window.form()->LabelImpressao->text()),
               window.app.suite.scalar(QStringLiteral("select count(*) from TABREV1")).toInt());
    return stall;
}

// (b): the thermal model, a marked queue and a scheduler that never answers.
qint64 queueStall()
{
    QTemporaryDir shims;
    QFile lpstat(shims.filePath(QStringLiteral("lpstat")));
    if (!lpstat.open(QIODevice::WriteOnly))
        qFatal("no stand-in lpstat");
    lpstat.write("#!/bin/sh\nexec sleep 600\n");
    lpstat.close();
    lpstat.setPermissions(lpstat.permissions() | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", shims.path().toLocal8Bit() + ':' + path);

    ListWindow window;
    if (!window.start(QStringLiteral("02")) || !openListOf(window, 10, 1))
        qFatal("the window did not open its list");
    const QString workFolder = window.app.suite.path(QStringLiteral("Interfac01"));
    QDir().mkpath(workFolder);
    QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
    batch.open(QIODevice::WriteOnly);
    batch.close();
    RunValues::LabelPrinterPath = QStringLiteral("cups:Zebra");

    StallProbe probe;
    probe.start();
    QTest::mouseClick(window.form()->btnEtiqSemPreco, Qt::LeftButton);
    QTest::qWait(2000);
    auto *panel = window.form()->findChild<QFrame *>(QStringLiteral("PainelEspera"));
    if (!panel || !panel->isVisible())
        qFatal("the window is not asking the printer");
    QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("BotCancelarEspera")), Qt::LeftButton);
    const qint64 stall = probe.stop();
    qputenv("PATH", path);
    return stall;
}

int benchPrintStall(const QStringList &)
{
    QTextStream out(stdout);
    qint64 totalMs = 0;
    const qint64 job = jobStall(&totalMs);
    out << "job_10000_write_read_ms: " << totalMs << Qt::endl;
    out << "job_10000_longest_stall_ms: " << job << Qt::endl;
    out << "queue_check_silent_scheduler_longest_stall_ms: " << queueStall() << Qt::endl;
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("print-stall", benchPrintStall);
