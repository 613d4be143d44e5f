#include "MarginsFile.h"

#include "QuickRepPage.h"
#include "SelvarError.h"
#include "SuitePaths.h"
#include "TextFile.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>

namespace MarginsFile {

QString path()
{
    return QStringLiteral("C:\\BOTICON\\GUARDMARG.TXT");
}

QString marginText(double millimetres)
{
    return QString::number(millimetres, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

double marginValue(const QString &text)
{
    QString number = text.trimmed();
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = number.isEmpty() ? 0 : QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

void step(QuickRepPage &page)
{
    const QString file = SuitePaths::toNative(path());
    if (!QFileInfo::exists(file)) {
        TextFile::writeLines(file, {marginText(page.pageValue(QuickRepPage::LeftMargin)),
                                    marginText(page.pageValue(QuickRepPage::RightMargin))});
        return;
    }
    const QStringList lines = TextFile::readLines(file);
    const QString left = lines.value(0);
    const QString right = lines.value(1);
    page.setPageValue(QuickRepPage::LeftMargin, marginValue(left));
    page.setPageValue(QuickRepPage::RightMargin, marginValue(right));
}

} // namespace MarginsFile
