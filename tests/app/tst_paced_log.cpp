// The build log's memo fed a slice at a time: nothing lands while the batch's
// own event runs, every line lands in order once the window has turned a few
// times, a flush puts the rest in at once and a clear drops what waited.
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

    static QString expected(int count) { return batch(0, count); }

private slots:
    void linesLandInOrderAfterTheBatch()
    {
        QPlainTextEdit memo;
        PacedLog log(&memo);
        log.append(batch(0, 1500));
        log.append(batch(1500, 1500));
        QCOMPARE(memo.toPlainText(), QString()); // the batch's event did not append
        QTRY_VERIFY(!log.pending());
        QCOMPARE(memo.toPlainText(), expected(3000));
    }

    void flushAndClear()
    {
        QPlainTextEdit memo;
        PacedLog log(&memo);
        log.append(batch(0, 500));
        log.flush();
        QCOMPARE(memo.toPlainText(), expected(500));
        log.append(batch(500, 500));
        log.clear();
        QCOMPARE(memo.toPlainText(), QString());
        log.append(batch(0, 2));
        QTRY_VERIFY(!log.pending());
        QCOMPARE(memo.toPlainText(), expected(2)); // nothing of the dropped batch came back
    }
};

QTEST_MAIN(TstPacedLog)
#include "tst_paced_log.moc"
