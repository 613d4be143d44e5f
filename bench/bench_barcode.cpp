// Encoder throughput: how many symbols per second the control's encoding path
// turns into module strings. A sheet of labels encodes one symbol per label,
// so this bounds how fast any layout can draw.
//
// With --zint the same texts go, the same number of times, through zint's
// library (encode only, no drawing), in runs interleaved with ours so that a
// busy machine weighs on both sides alike.

#include "BenchRegistry.h"

#include "Code128.h"
#include "EanUpc.h"

#ifdef SELVAR_BENCH_ZINT
#include "zint/ZintReference.h"
#endif

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

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

// Encodes every sample `rounds` times; `encode` returns the symbol's width in
// modules, which is summed so the work cannot be optimised away. A width of 0
// is a refused text and makes the whole figure -1: a refusal is no encode.
template <typename Samples, typename Encode>
qint64 encodesPerSecond(const Samples &samples, int rounds, Encode encode)
{
    qint64 modules = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < rounds; ++round) {
        for (const auto &text : samples) {
            const qsizetype width = encode(text);
            if (width == 0)
                return -1;
            modules += width;
        }
    }
    const qint64 nanoseconds = qMax<qint64>(1, timer.nsecsElapsed());
    if (modules <= 0)
        return -1;
    return qint64(samples.size()) * rounds * 1000000000LL / nanoseconds;
}

struct Figure {
    const char *name;
    std::function<qint64()> measure;
    qint64 best = -1;
};

#ifdef SELVAR_BENCH_ZINT
QList<QByteArray> latin1Texts(const QStringList &texts)
{
    QList<QByteArray> bytes;
    for (const QString &text : texts)
        bytes << text.toLatin1();
    return bytes;
}
#endif

} // namespace

// selvar-bench barcode [--rounds N] [--zint]: each figure is the best of three
// runs of N rounds over 1,000 texts (default 500 rounds, half a million encodes).
int runBarcodeBench(const QStringList &args)
{
    int rounds = 500;
    const qsizetype roundsAt = args.indexOf(QStringLiteral("--rounds"));
    if (roundsAt >= 0 && roundsAt + 1 < args.size())
        rounds = qMax(1, args[roundsAt + 1].toInt());
    const bool withZint = args.contains(QStringLiteral("--zint"));

    QTextStream out(stdout);
#ifndef SELVAR_BENCH_ZINT
    if (withZint) {
        QTextStream(stderr) << "selvar-bench foi construído sem a biblioteca zint (libzint-dev); --zint indisponível\n";
        return 2;
    }
#endif

    const QStringList eanTexts = sampleTexts(1000, 12, QStringLiteral("0123456789"));
    const QStringList code128Texts =
        sampleTexts(1000, 20, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -."));

    std::vector<Figure> figures;
    // EAN-13 the way the control encodes it: 12 digits, check digit, modules.
    figures.push_back({"ean13_encodes_per_s", [&] {
        return encodesPerSecond(eanTexts, rounds, [](const QString &text) {
            const QString code = NormalizaEAN(text, 12);
            return ModulosEAN13(code + DigitoVerificador(code)).size();
        });
    }});
    figures.push_back({"code128b_encodes_per_s", [&] {
        return encodesPerSecond(code128Texts, rounds, [](const QString &text) {
            return ModulosCode128(text, Code128Set::B).size();
        });
    }});

#ifdef SELVAR_BENCH_ZINT
    // zint takes bytes; turning our texts into them is not part of encoding.
    const QList<QByteArray> zintEanTexts = latin1Texts(eanTexts);
    const QList<QByteArray> zintCode128Texts = latin1Texts(code128Texts);
    ZintReference zintEan13(ZintReference::Symbology::Ean13);
    ZintReference zintCode128B(ZintReference::Symbology::Code128B);
    if (withZint) {
        figures.push_back({"zint_ean13_encodes_per_s", [&] {
            return encodesPerSecond(zintEanTexts, rounds, [&](const QByteArray &text) {
                return zintEan13.encode(text);
            });
        }});
        figures.push_back({"zint_code128b_encodes_per_s", [&] {
            return encodesPerSecond(zintCode128Texts, rounds, [&](const QByteArray &text) {
                return zintCode128B.encode(text);
            });
        }});
    }
#endif

    for (int run = 0; run < 3; ++run) {
        for (Figure &figure : figures)
            figure.best = qMax(figure.best, figure.measure());
    }
    bool refused = false;
    for (const Figure &figure : figures) {
        out << figure.name << ": " << figure.best << '\n';
        refused = refused || figure.best < 0;
    }
    if (withZint && !refused) {
        out << "ean13_vs_zint: " << QString::number(double(figures[0].best) / double(figures[2].best), 'f', 2) << '\n';
        out << "code128b_vs_zint: " << QString::number(double(figures[1].best) / double(figures[3].best), 'f', 2) << '\n';
    }
    return refused ? 1 : 0;
}

SELVAR_BENCH_GROUP("barcode", runBarcodeBench);
