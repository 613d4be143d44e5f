#pragma once

#include <QObject>
#include <array>

struct SheetLayout;

// The report object QuickRep1 of a fixed layout, as far as anything outside
// the layout uses it: its page. The report engine keeps page values in tenths
// of a millimetre; the rest of the program reads and writes them by index in
// millimetres.
class QuickRepPage : public QObject
{
    Q_OBJECT
public:
    enum Index { BottomMargin, PaperLength, TopMargin, PaperWidth, LeftMargin, RightMargin, ColumnSpace, ValueCount };

    QuickRepPage(const SheetLayout &layout, QObject *parent = nullptr);

    // Millimetres; an index outside 0..6 reads 0 and writes nothing.
    double pageValue(int index) const;
    // Stores ten times the value. Paper length and width follow the paper size
    // and change only on custom paper.
    void setPageValue(int index, double millimetres);
    // As kept: tenths of a millimetre.
    double storedValue(int index) const;

    const QString &paperSize() const { return m_paperSize; }
    bool customPaper() const { return m_paperSize == QLatin1String("Custom"); }
    int columns() const { return m_columns; }

    // Every fixed layout shares these.
    static constexpr int zoomPercent = 120;
    static constexpr bool portrait = true;
    static constexpr bool printIfEmpty = true;
    static QString fontFamily() { return QStringLiteral("Arial"); }

private:
    QString m_paperSize;
    int m_columns;
    std::array<double, ValueCount> m_tenths{};
};
