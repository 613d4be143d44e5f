#include "DrawnElements.h"

#include "ProjectError.h"
#include "ProjectStatement.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QMutex>
#include <QFileInfo>
#include <QImageReader>

namespace {

const QStringList BoxAttributes = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("largura"), QStringLiteral("altura")};
constexpr double MinElementSide = 0.5;

double thickness(const ProjectStatement &st)
{
    const double mm = st.positive(QStringLiteral("espessura"), DefaultLineMm);
    if (mm < MinLineMm)
        st.fail(QStringLiteral("'espessura' de %1 mm não se imprime; use ao menos %2 mm").arg(brNumber(mm), brNumber(MinLineMm)));
    return mm;
}

// A line lies along the side it is given: largura= draws it across, altura=
// down; its box is the ink itself.
void line(const ProjectStatement &st, CellElement *e)
{
    st.attributesOnly(BoxAttributes + QStringList{QStringLiteral("espessura")});
    const bool across = st.has(QStringLiteral("largura"));
    if (across == st.has(QStringLiteral("altura")))
        st.fail(QStringLiteral("dê o comprimento da linha em 'largura' (linha deitada) ou em 'altura' (linha em pé), um dos dois"));
    const double length = st.atLeast(across ? QStringLiteral("largura") : QStringLiteral("altura"), MinElementSide, QStringLiteral("a linha"));
    const double thick = thickness(st);
    const QPointF at(st.nonNegative(QStringLiteral("x"), 0.0), st.nonNegative(QStringLiteral("y"), 0.0));
    e->box = QRectF(at, across ? QSizeF(length, thick) : QSizeF(thick, length));
}

void box(const ProjectStatement &st, CellElement *e, const QStringList &more)
{
    st.acceptOnly(BoxAttributes + more);
    e->box = QRectF(st.nonNegative(QStringLiteral("x"), 0.0), st.nonNegative(QStringLiteral("y"), 0.0),
                    st.atLeast(QStringLiteral("largura"), MinElementSide, QStringLiteral("o elemento")),
                    st.atLeast(QStringLiteral("altura"), MinElementSide, QStringLiteral("o elemento")));
}

// "https://x/" + CODIGOEAN: quoted arguments are texts, plain ones fields,
// joined by '+'.
QList<ValuePart> parts(const ProjectStatement &st)
{
    const QStringList &args = st.arguments();
    if (args.isEmpty())
        st.fail(QStringLiteral("falta o que o código leva: um campo, um texto entre aspas, ou os dois unidos por + (\"https://...\" + CODIGOEAN)"));
    QList<ValuePart> parts;
    for (int i = 0; i < args.size(); ++i) {
        const bool plus = !st.quoted(i) && args[i] == QLatin1String("+");
        if (plus != (i % 2 == 1))
            st.fail(plus ? QStringLiteral("'+' sem um campo ou texto antes dele")
                         : QStringLiteral("falta '+' antes de '%1'").arg(args[i]));
        if (!plus)
            parts.append({args[i], !st.quoted(i)});
    }
    if (args.size() % 2 == 0)
        st.fail(QStringLiteral("'+' sem um campo ou texto depois dele"));
    return parts;
}

void matrix(const ProjectStatement &st, CellElement *e)
{
    const bool qr = e->kind == CellElement::Kind::QrCode;
    box(st, e, qr ? QStringList{QStringLiteral("correcao"), QStringLiteral("modulo")} : QStringList{QStringLiteral("modulo")});
    e->parts = parts(st);
    e->moduleMm = st.nonNegative(QStringLiteral("modulo"), 0.0);
    if (qr) {
        // The levels go by their capital letters, as on every QR reference.
        const QString level = st.text(QStringLiteral("correcao"), QStringLiteral("M")).toUpper();
        const qsizetype index = level.size() == 1 ? QStringLiteral("LMQH").indexOf(level) : -1;
        if (index < 0)
            st.fail(QStringLiteral("'%1' não serve para 'correcao' (use L, M, Q, H)").arg(st.text(QStringLiteral("correcao"), {})));
        e->qrLevel = QrLevel(index);
    }
}

void picture(const ProjectStatement &st, CellElement *e)
{
    box(st, e, {QStringLiteral("limiar"), QStringLiteral("pontilhado")});
    st.expectArguments(1, 1, QStringLiteral("o arquivo da imagem (PNG, JPEG ou BMP), entre aspas"));
    e->value = st.arguments().first();
    if (e->value.trimmed().isEmpty())
        st.fail(QStringLiteral("o nome do arquivo da imagem não pode ficar vazio"));
    const double threshold = st.number(QStringLiteral("limiar"), 50.0);
    if (threshold != std::trunc(threshold) || threshold < 1 || threshold > 99)
        st.fail(QStringLiteral("'limiar' deve ser um número inteiro de 1 a 99 (por cento do branco)"));
    e->threshold = int(threshold);
    e->dither = st.flag(QStringLiteral("pontilhado"), false);
}

} // namespace

QString imageFile(const SheetReport &report, const CellElement &element)
{
    QString name = element.value;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(report.folder).absoluteFilePath(name);
}

namespace {

// The designer draws a label again at every step of a drag: a logo is read
// from disk once, and again only when its file changes.
struct DecodedImage
{
    QDateTime modified;
    qint64 size = -1;
    QImage image;
};

QImage cachedImage(const QString &file, QString *error)
{
    static QMutex mutex;
    static QHash<QString, DecodedImage> decoded;
    const QFileInfo info(file);
    const QMutexLocker lock(&mutex);
    const auto found = decoded.constFind(file);
    if (found != decoded.constEnd() && info.exists() && found->modified == info.lastModified() && found->size == info.size())
        return found->image;
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        *error = reader.errorString();
        decoded.remove(file);
        return image;
    }
    if (decoded.size() >= 16)
        decoded.clear();
    decoded.insert(file, {info.lastModified(), info.size(), image});
    return image;
}

} // namespace

QImage loadElementImage(const SheetReport &report, const CellElement &element, QString *fault)
{
    const QString file = imageFile(report, element);
    QString error;
    const QImage image = cachedImage(file, &error);
    if (image.isNull() && fault) {
        *fault = QFileInfo::exists(file) ? QStringLiteral("a imagem \"%1\" não pôde ser lida (%2)").arg(element.value, error)
                                         : QStringLiteral("a imagem \"%1\" não existe (procurada em %2)").arg(element.value, QDir::toNativeSeparators(file));
    }
    return image;
}

bool isDrawnElement(CellElement::Kind kind)
{
    return kind == CellElement::Kind::Line || kind == CellElement::Kind::Frame || kind == CellElement::Kind::QrCode ||
           kind == CellElement::Kind::DataMatrix || kind == CellElement::Kind::Image;
}

CellElement parseDrawnElement(const ProjectStatement &st, CellElement::Kind kind)
{
    CellElement e;
    e.kind = kind;
    e.line = st.line();
    switch (kind) {
    case CellElement::Kind::Line:
        st.expectArguments(0, 0, QStringLiteral("a linha"));
        line(st, &e);
        break;
    case CellElement::Kind::Frame:
        st.expectArguments(0, 0, QStringLiteral("o quadro"));
        box(st, &e, {QStringLiteral("espessura")});
        e.thickness = thickness(st);
        if (2 * e.thickness > std::min(e.box.width(), e.box.height()))
            st.fail(QStringLiteral("'espessura' de %1 mm enche o quadro de %2 × %3 mm").arg(brNumber(e.thickness), brNumber(e.box.width()),
                                                                                             brNumber(e.box.height())));
        break;
    case CellElement::Kind::Image:
        picture(st, &e);
        break;
    default:
        matrix(st, &e);
        break;
    }
    return e;
}

int parseRotation(const ProjectStatement &st)
{
    static const QStringList turns = {QStringLiteral("0"), QStringLiteral("90"), QStringLiteral("180"), QStringLiteral("270")};
    return 90 * st.choice(QStringLiteral("rotacao"), turns, 0);
}

const QStringList &dateFormats()
{
    static const QStringList formats = {QStringLiteral("dd/mm/aaaa"), QStringLiteral("mm/aaaa"), QStringLiteral("dd/mm/aa")};
    return formats;
}

void parseDate(const ProjectStatement &st, CellElement *e)
{
    st.expectArguments(0, 1, QStringLiteral("o formato da data"));
    if (!st.arguments().isEmpty()) {
        const QString format = st.arguments().first().toLower();
        if (!dateFormats().contains(format))
            st.fail(QStringLiteral("formato de data desconhecido '%1' (use %2)").arg(st.arguments().first(), dateFormats().join(QStringLiteral(", "))));
        e->dateFormat = format;
    }
    // A "válido até" a few years out; more is a typing slip.
    constexpr double MaxDays = 3660;
    constexpr double MaxMonths = 120;
    const double days = st.number(QStringLiteral("dias"), 0.0);
    const double months = st.number(QStringLiteral("meses"), 0.0);
    if (days != std::trunc(days) || std::abs(days) > MaxDays)
        st.fail(QStringLiteral("'dias' deve ser um número inteiro de -%1 a %1").arg(int(MaxDays)));
    if (months != std::trunc(months) || std::abs(months) > MaxMonths)
        st.fail(QStringLiteral("'meses' deve ser um número inteiro de -%1 a %1").arg(int(MaxMonths)));
    e->dayOffset = int(days);
    e->monthOffset = int(months);
}

QString dateText(const CellElement &element, const QDate &printDay)
{
    const QDate day = printDay.addMonths(element.monthOffset).addDays(element.dayOffset);
    QString qtFormat = element.dateFormat;
    qtFormat.replace(QStringLiteral("aaaa"), QStringLiteral("yyyy")).replace(QStringLiteral("aa"), QStringLiteral("yy"));
    qtFormat.replace(QStringLiteral("mm"), QStringLiteral("MM"));
    return day.toString(qtFormat);
}

std::optional<QList<ValuePart>> partsFromStatement(const QString &text, QString *fault)
{
    try {
        ProjectStatement st;
        ProjectStatement::split(QStringLiteral("qr ") + text, 1, {}, &st);
        return parts(st);
    } catch (const ProjectError &error) {
        // Only the cause: the statement is no line of a file.
        *fault = error.message().section(QStringLiteral("): "), 1);
        return std::nullopt;
    }
}

QString partsStatement(const QList<ValuePart> &parts)
{
    QStringList pieces;
    for (const ValuePart &part : parts) {
        if (part.field) {
            pieces << part.text;
        } else {
            QString text = part.text;
            pieces << QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        }
    }
    return pieces.join(QStringLiteral(" + "));
}
