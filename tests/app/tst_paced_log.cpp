// The build log's memo fed a slice at a time: nothing lands while the batch's
// own event runs, and every line lands, in order.
#include "PacedLog.h"

#include <QPlainTextEdit>
#include <QtTest>

class TstPacedLog : public QObject
{
    Q_OBJECT

    static QString batch(int first, int count)
    {
        QStringList lines;
        for (int i = first; i < first + count; ++i)
            lines << QStringLiteral("Código: %1").arg(i);
        return lines.join(QLatin1Char('\n'));
    }

private slots:
    void linesLandInOrder()
    {
        QPlainTextEdit memo;
        PacedLog log(&memo);
        log.append(batch(0, 1500));
        log.append(batch(1500, 1500));
        QCOMPARE(memo.toPlainText(), QString()); // the batch's own event did not append
        QTRY_VERIFY(!log.pending());
        QCOMPARE(memo.toPlainText(), batch(0, 3000));
        // A clear drops what waited; a flush puts the rest in at once.
        log.append(batch(0, 500));
        log.clear();
        log.append(batch(7, 2));
        log.flush();
        QCOMPARE(memo.toPlainText(), batch(7, 2));
    }
};

QTEST_MAIN(TstPacedLog)
#include "tst_paced_log.moc"
