// Which work runs again after a lost connection, and how often: a table of
// the failure, the run it ended and what a lost commit leaves of the work.
#include "LostConnection.h"

#include <QtTest>

namespace {

enum class Failure { Refused, Lost, CommitLost, NotBack };

[[noreturn]] void raise(Failure kind)
{
    switch (kind) {
    case Failure::Refused:
        throw DatabaseError(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"), -803);
    case Failure::Lost:
        throw DatabaseError(QStringLiteral("connection shutdown"), -902);
    case Failure::CommitLost:
        throw CommitUnknown(commitUnknownText(QStringLiteral("Error reading data from the connection.")), -902);
    case Failure::NotBack:
        throw ConnectionLost(QStringLiteral("Não foi possível conectar ao banco de dados"), -902);
    }
    throw DatabaseError(QString(), 0);
}

} // namespace

Q_DECLARE_METATYPE(Failure)
Q_DECLARE_METATYPE(LostConnection::Commit)

class LostConnectionRuleTest : public QObject
{
    Q_OBJECT

private slots:
    void runAgain_data()
    {
        QTest::addColumn<Failure>("kind");
        QTest::addColumn<int>("attempt");
        QTest::addColumn<LostConnection::Commit>("commit");
        QTest::addColumn<bool>("again");
        using C = LostConnection::Commit;
        QTest::newRow("refused row: never") << Failure::Refused << 1 << C::WrittenOnce << false;
        QTest::newRow("lost before the commit: once") << Failure::Lost << 1 << C::Unknown << true;
        QTest::newRow("lost a second time: no more") << Failure::Lost << 2 << C::WrittenOnce << false;
        QTest::newRow("commit lost: not known, not again") << Failure::CommitLost << 1 << C::Unknown << false;
        QTest::newRow("commit lost of work that writes once: again") << Failure::CommitLost << 1 << C::WrittenOnce << true;
        QTest::newRow("commit lost on the second run: no more") << Failure::CommitLost << 2 << C::WrittenOnce << false;
        QTest::newRow("no attachment to be had: once more") << Failure::NotBack << 1 << C::Unknown << true;
    }

    void runAgain()
    {
        QFETCH(Failure, kind);
        QFETCH(int, attempt);
        QFETCH(LostConnection::Commit, commit);
        QFETCH(bool, again);
        try {
            raise(kind);
        } catch (const DatabaseError &thrown) {
            QCOMPARE(LostConnection::commitLost(thrown), kind == Failure::CommitLost);
            QCOMPARE(LostConnection::runAgain(thrown, attempt, commit), again);
        }
    }

    // The runner: work lost once runs twice and gives its result; lost twice,
    // the second failure reaches the caller; a lost commit of work that
    // cannot be written twice runs once.
    void retriedRunsAtMostTwice()
    {
        QStringList runs;
        const int result = LostConnection::retried(
            LostConnection::Commit::Unknown,
            [&](int attempt) {
                runs << QStringLiteral("run %1").arg(attempt);
                if (attempt == 1)
                    raise(Failure::Lost);
                return 7;
            },
            [&](const DatabaseError &) { runs << QStringLiteral("again"); });
        QCOMPARE(result, 7);
        QCOMPARE(runs, QStringList({"run 1", "again", "run 2"}));

        runs.clear();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, LostConnection::retried(
                                                    LostConnection::Commit::WrittenOnce,
                                                    [&](int attempt) {
                                                        runs << QStringLiteral("run %1").arg(attempt);
                                                        raise(Failure::Lost);
                                                    },
                                                    [](const DatabaseError &) {}));
        QCOMPARE(runs, QStringList({"run 1", "run 2"}));

        runs.clear();
        QVERIFY_THROWS_EXCEPTION(CommitUnknown, LostConnection::retried(
                                                    LostConnection::Commit::Unknown,
                                                    [&](int attempt) {
                                                        runs << QStringLiteral("run %1").arg(attempt);
                                                        raise(Failure::CommitLost);
                                                    },
                                                    [](const DatabaseError &) {}));
        QCOMPARE(runs, QStringList({"run 1"}));
    }
};

QTEST_MAIN(LostConnectionRuleTest)
#include "tst_lost_connection_rule.moc"
