#include "HistoryBench.h"

#include "HistoryStore.h"

#include <QElapsedTimer>
#include <algorithm>
#include <limits>

qint64 timeHistoryRecord10000(const QString &database)
{
    PrintedJob job;
    job.station = QStringLiteral("BE");
    job.user = QStringLiteral("bench");
    job.modelCode = QStringLiteral("03");
    job.modelDescription = QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas");
    for (int i = 0; i < 1000; ++i)
        job.items.append(PrintedItem{i + 1, QStringLiteral("R%1").arg(i, 5, 10, QLatin1Char('0')),
                                     QStringLiteral("Produto de revenda com nome comprido nº %1").arg(i),
                                     QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')), Decimal((i % 300) * 100 + 90, 2),
                                     10});
    HistoryStore store([&] { return database; });
    qint64 warmUp = 0;
    store.record(job, HistoryStore::thermalOutput(), &warmUp); // the attachment and the tables' check
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        qint64 id = 0;
        QElapsedTimer timer;
        timer.start();
        store.record(job, HistoryStore::thermalOutput(), &id);
        best = std::min(best, timer.elapsed());
    }
    return best;
}
