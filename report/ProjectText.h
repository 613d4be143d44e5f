#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The bytes of a project file as they lie on disk, and what it takes to change
// some of its lines while every other byte stays: the encoding it was read in
// (UTF-8 with or without its mark, Windows-1252, UTF-16 either order) and its
// line ends. Lines are numbered from 1 as the parser numbers them.
class ProjectText
{
public:
    enum class Encoding { Utf8, Utf8Bom, Cp1252, Utf16LE, Utf16BE };

    ProjectText() : ProjectText(QByteArray()) {}
    explicit ProjectText(const QByteArray &bytes);

    const QByteArray &bytes() const { return m_bytes; }
    Encoding encoding() const { return m_encoding; }
    // "\r\n" or "\n", as the file's first line ends; CR LF for a file of one line.
    QString lineEnd() const { return m_lineEnd; }
    int lineCount() const { return int(m_starts.size()) - 1; }
    QString line(int number) const; // without its line end

    // The file with lines first..last replaced by `lines`; last = first - 1
    // inserts them before line `first`.
    QByteArray replaced(int first, int last, const QStringList &lines) const;
    // The file with `lines` after its last line (a line end is added first
    // when the file lacks one).
    QByteArray appended(const QStringList &lines) const;
    // The whole file in UTF-8 with its byte-order mark: every character and
    // line end as it is, only the bytes that carry them change.
    QByteArray inUtf8WithMark() const;

private:
    QByteArray encode(const QString &text) const;
    QString decode(const QByteArray &raw) const; // bytes of whole characters, without the mark
    int unitSize() const;
    bool lastLineBare() const; // the last line has text and no line end

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Utf8;
    QString m_lineEnd = QStringLiteral("\r\n");
    QList<qsizetype> m_starts; // byte offset of each line, then the end of the file
};
