// Encoder throughput: how many symbols per second the control's encoding path
// turns into module strings. A sheet of labels encodes one symbol per label,
// so this bounds how fast any layout can draw.

#include "BenchRegistry.h"

#include "Code128.h"
#include "EanUpc.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace {

QStringList sampleTexts(int count, int length, const QString &alphabet)
{
    QRandomGenerator random(20240601);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        for (int c = 0; c < length; ++c)
            text.append(alphabet[random.bounded(int(alphabet.size()))]);
        texts << text;
    }
    return texts;
}

// Runs `encode` over the samples, round after round, for about `budgetMs`.
qint64 encodesPerSecond(const QStringList &samples, const std::function<QString(const QString &)> &encode,
                        qint64 budgetMs)
{
    qint64 encodes = 0;
    qint64 modules = 0; // consumed so the work cannot be optimised away
    QElapsedTimer timer;
    timer.start();
    do {
        for (const QString &text : samples)
            modules += encode(text).size();
        encodes += samples.size();
    } while (timer.elapsed() < budgetMs);
    const qint64 nanoseconds = timer.nsecsElapsed();
    if (modules == 0)
        return 0;
    return encodes * 1000000000LL / qMax<qint64>(1, nanoseconds);
}

} // namespace

// selvar-bench barcode [--ms N]: N milliseconds per figure (default 1000).
int runBarcodeBench(const QStringList &args)
{
    qint64 budgetMs = 1000;
    const qsizetype msAt = args.indexOf(QStringLiteral("--ms"));
    if (msAt >= 0 && msAt + 1 < args.size())
        budgetMs = qMax(1, args[msAt + 1].toInt());

    const QStringList eanTexts = sampleTexts(1000, 12, QStringLiteral("0123456789"));
    const QStringList code128Texts =
        sampleTexts(1000, 20, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -."));

    // EAN-13 the way the control encodes it: 12 digits, check digit, modules.
    const qint64 ean13 = encodesPerSecond(eanTexts, [](const QString &text) {
        const QString code = NormalizaEAN(text, 12);
        return ModulosEAN13(code + DigitoVerificador(code));
    }, budgetMs);
    const qint64 code128b = encodesPerSecond(code128Texts, [](const QString &text) {
        return ModulosCode128(text, Code128Set::B);
    }, budgetMs);

    QTextStream out(stdout);
    out << "ean13_encodes_per_s: " << ean13 << '\n';
    out << "code128b_encodes_per_s: " << code128b << '\n';
    return 0;
}

SELVAR_BENCH_GROUP("barcode", runBarcodeBench);
