#include "MonoPicture.h"

#include <QPainter>

#include <vector>

namespace {

// Transparent parts of a logo print as the label's white.
QImage greyOnWhite(const QImage &source, QSize dots)
{
    const QImage fitted = source.scaled(dots, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage grey(fitted.size(), QImage::Format_ARGB32);
    grey.fill(Qt::white);
    QPainter painter(&grey);
    painter.drawImage(0, 0, fitted);
    painter.end();
    return grey.convertToFormat(QImage::Format_Grayscale8);
}

} // namespace

QImage monoPicture(const QImage &source, QSize dots, const MonoSettings &settings)
{
    if (source.isNull() || dots.isEmpty())
        return {};
    QImage grey = greyOnWhite(source, dots);
    const int width = grey.width();
    const int height = grey.height();
    const int cut = settings.threshold * 255 / 100;
    if (!settings.dither) {
        for (int y = 0; y < height; ++y) {
            uchar *row = grey.scanLine(y);
            for (int x = 0; x < width; ++x)
                row[x] = row[x] < cut ? 0 : 255;
        }
        return grey;
    }
    // Error carried to the right and to the next row, in 1/16ths.
    std::vector<int> current(width + 2, 0), next(width + 2, 0);
    for (int y = 0; y < height; ++y) {
        uchar *row = grey.scanLine(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < width; ++x) {
            const int value = row[x] + current[x + 1] / 16;
            const int printed = value < cut ? 0 : 255;
            const int error = value - printed;
            row[x] = uchar(printed);
            current[x + 2] += error * 7;
            next[x] += error * 3;
            next[x + 1] += error * 5;
            next[x + 2] += error;
        }
        std::swap(current, next);
    }
    return grey;
}
