#include "ProjectText.h"

#include "Cp1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

ProjectText::Encoding encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return ProjectText::Encoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return ProjectText::Encoding::Utf16BE;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    if (utf8.hasError())
        return ProjectText::Encoding::Cp1252;
    return bytes.startsWith("\xEF\xBB\xBF") ? ProjectText::Encoding::Utf8Bom : ProjectText::Encoding::Utf8;
}

qsizetype markSize(ProjectText::Encoding encoding)
{
    switch (encoding) {
    case ProjectText::Encoding::Utf8Bom:
        return 3;
    case ProjectText::Encoding::Utf16LE:
    case ProjectText::Encoding::Utf16BE:
        return 2;
    default:
        return 0;
    }
}

} // namespace

ProjectText::ProjectText(const QByteArray &bytes) : m_bytes(bytes), m_encoding(encodingOf(bytes))
{
    const int unit = unitSize();
    const bool bigEndian = m_encoding == Encoding::Utf16BE;
    // The byte of a code unit that holds a character below 256.
    const auto low = [&](qsizetype at) { return m_bytes[unit == 2 && bigEndian ? at + 1 : at]; };
    const auto high = [&](qsizetype at) { return unit == 2 ? m_bytes[bigEndian ? at : at + 1] : char(0); };
    bool endSeen = false;
    m_starts.append(markSize(m_encoding));
    for (qsizetype at = m_starts.first(); at + unit <= m_bytes.size(); at += unit) {
        if (low(at) != '\n' || high(at) != 0)
            continue;
        if (!endSeen) {
            const bool cr = at >= m_starts.first() + unit && low(at - unit) == '\r' && high(at - unit) == 0;
            m_lineEnd = cr ? QStringLiteral("\r\n") : QStringLiteral("\n");
            endSeen = true;
        }
        m_starts.append(at + unit);
    }
    m_starts.append(m_bytes.size());
}

int ProjectText::unitSize() const
{
    return m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE ? 2 : 1;
}

QString ProjectText::line(int number) const
{
    if (number < 1 || number > lineCount())
        return {};
    QString text = decode(m_bytes.mid(m_starts[number - 1], m_starts[number] - m_starts[number - 1]));
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

QByteArray ProjectText::encode(const QString &text) const
{
    switch (m_encoding) {
    case Encoding::Cp1252:
        return toCp1252(text);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return QStringEncoder(m_encoding == Encoding::Utf16LE ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
                              QStringEncoder::Flag::Stateless)
            .encode(text);
    default:
        return text.toUtf8();
    }
}

QByteArray ProjectText::replaced(int first, int last, const QStringList &lines) const
{
    Q_ASSERT(first >= 1 && last >= first - 1 && last <= lineCount());
    const qsizetype from = m_starts[first - 1];
    const qsizetype to = m_starts[last];
    QString middle;
    for (const QString &line : lines)
        middle += line + m_lineEnd;
    // The file's last line keeps lacking its line end when it lacked one.
    if (to == m_bytes.size() && last >= first && lastLineBare() && !middle.isEmpty())
        middle.chop(m_lineEnd.size());
    return m_bytes.left(from) + encode(middle) + m_bytes.mid(to);
}

QByteArray ProjectText::appended(const QStringList &lines) const
{
    QByteArray bytes = m_bytes;
    if (lastLineBare())
        bytes += encode(m_lineEnd);
    QString text;
    for (const QString &line : lines)
        text += line + m_lineEnd;
    return bytes + encode(text);
}

bool ProjectText::lastLineBare() const
{
    return m_starts[lineCount() - 1] < m_bytes.size();
}

QString ProjectText::decode(const QByteArray &raw) const
{
    switch (m_encoding) {
    case Encoding::Cp1252:
        return fromCp1252(raw);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return QStringDecoder(m_encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                              QStringDecoder::Flag::Stateless)
            .decode(raw);
    default:
        return QString::fromUtf8(raw);
    }
}

QByteArray ProjectText::inUtf8WithMark() const
{
    // Every line after the mark, each with its own line end.
    return QByteArray("\xEF\xBB\xBF") + decode(m_bytes.mid(m_starts.first())).toUtf8();
}
