// A counter's thermal printing without its window, for the tests that kill the
// program part way through a job: the hand-over, the job's record and the print
// history the window uses, joined as the window joins them, on a database of
// the server. It prints what it is told, then ends when nothing is left to hand
// over; the test kills it (or it kills itself with SIGKILL) where the test says.
//
//   selvar-thermal-station FOLDER DATABASE print TAG FILES [EVENT:N]
//       a job of FILES files of 3 labels, product "TAG Pk" in file k. EVENT:
//       "antes:N"  killed as file N is about to go (its record not yet marked);
//       "depois:N" killed once file N is marked sent, before its history;
//       "parar:N"  "Parar envio" as file N goes;
//       "numero:N" as file 1 goes, a job B of 2 files is queued and its history
//                  number held; killed once file N is marked sent.
//   selvar-thermal-station FOLDER DATABASE continue sim|nao [TAG FILES]
//       "Continuar envio", the question answered so; with TAG FILES a new job
//       is queued as soon as the first file of the continuation goes.
//   selvar-thermal-station FOLDER DATABASE test FILES
//       the label designer's test print, through the same files Etiq001.txt...
//
// Questions and messages go to the standard output, one a line.
#include "HandOverIdle.h"
#include "HistoryStore.h"
#include "HistoryWork.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintHistory.h"
#include "StationJobs.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace {

QTextStream out(stdout);

void say(const QString &what, const QString &text)
{
    out << what << ": " << QString(text).replace(QLatin1Char('\r'), QLatin1Char(' ')) << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5)
        return 2;
    const QString folder = args[1];
    const QString database = args[2];
    const QString mode = args[3];

    HistoryStore store([database] { return database; });
    HistoryWork work;
    PrintHistory history(store, work, [database] { return database; });
    PrintHandOver handOver;
    handOver.setFileTimeLimitSeconds(300);
    handOver.setRecorder([&history](const PrintJob &job, int filesDone, PrintHandOver::Keep keep,
                                    PrintHandOver::Recorded recorded) {
        history.thermalOut(job.history, job.positionsPerFile(), filesDone, std::move(keep), std::move(recorded));
    });
    Messages::setSink([](const QString &text) { say(QStringLiteral("MENSAGEM"), text); });
    QObject::connect(&handOver, &PrintHandOver::jobEnded, [](const HandOverResult &result) {
        say(QStringLiteral("FIM"), QStringLiteral("%1 etiquetas, %2 guardados%3 %4")
                                       .arg(result.labels())
                                       .arg(result.jobsKept)
                                       .arg(result.historyNote, result.message));
    });
    auto print = [&](const QString &tag, int files) {
        history.jobWritten(StationJobs::printed(tag, files));
        PrintJob job = StationJobs::commandFiles(folder, tag, files);
        handOver.enqueue(std::move(job), [&history](PrintHandOver::HistoryGiven given) {
            history.thermalRecord(std::move(given));
        });
    };

    if (mode == QLatin1String("print")) {
        const QString event = args.value(6).section(QLatin1Char(':'), 0, 0);
        const int at = args.value(6).section(QLatin1Char(':'), 1).toInt();
        QObject::connect(&handOver, &PrintHandOver::sending, [&handOver, event, at](int file) {
            if (file == at && event == QLatin1String("antes"))
                ::kill(::getpid(), SIGKILL);
            if (file == at && event == QLatin1String("parar"))
                handOver.stop();
        });
        QObject::connect(&handOver, &PrintHandOver::sending, [&work, &print, event](int file) {
            if (file == 1 && event == QLatin1String("numero")) {
                work.setBeforeTask([] {
                    for (;;)
                        QThread::sleep(1);
                });
                print(QStringLiteral("B"), 2);
            }
        });
        QObject::connect(&handOver, &PrintHandOver::fileDone, [event, at](int file) {
            if (file == at && (event == QLatin1String("depois") || event == QLatin1String("numero")))
                ::kill(::getpid(), SIGKILL);
        });
        print(args.value(4), args.value(5).toInt());
    } else if (mode == QLatin1String("continue")) {
        const bool yes = args.value(4) == QLatin1String("sim");
        Messages::setQuestionSink([yes](const QString &text) {
            say(QStringLiteral("PERGUNTA"), text);
            return yes;
        });
        if (args.size() >= 7) {
            const QString tag = args[5];
            const int files = args[6].toInt();
            auto queued = std::make_shared<bool>(false);
            QObject::connect(&handOver, &PrintHandOver::sending, [&, tag, files, queued] {
                if (!std::exchange(*queued, true))
                    print(tag, files);
            });
        }
        handOver.settle(folder);
        say(QStringLiteral("CONTINUADOS"), QString::number(handOver.continuePending(folder)));
    } else if (mode == QLatin1String("test")) {
        PrintJob job = StationJobs::commandFiles(folder, QStringLiteral("TESTE"), args.value(4).toInt());
        job.test = true;
        handOver.enqueue(std::move(job));
    } else {
        return 2;
    }
    waitUntilIdle(handOver);
    return 0;
}
