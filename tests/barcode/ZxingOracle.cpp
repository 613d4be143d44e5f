#include "ZxingOracle.h"

#include "TZetaDBBarcode.h"

#include <ReadBarcode.h>

namespace {

ZXing::BarcodeFormat zxingFormat(TBarCodeTipo tipo)
{
    switch (tipo) {
    case btCode128A:
    case btCode128B:
    case btCode128C:
        return ZXing::BarcodeFormat::Code128;
    case btCode39:
        return ZXing::BarcodeFormat::Code39;
    case btCodeEAN13:
        return ZXing::BarcodeFormat::EAN13;
    case btCode2e5I:
        return ZXing::BarcodeFormat::ITF;
    case btCodeEAN8:
        return ZXing::BarcodeFormat::EAN8;
    case btCodeUPCA:
        return ZXing::BarcodeFormat::UPCA;
    }
    return ZXing::BarcodeFormat::None;
}

} // namespace

QString DecodeWithZxing(const QImage &image, TBarCodeTipo tipo)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                int(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(zxingFormat(tipo));
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return {};
    return QString::fromStdString(result.text());
}

QImage RenderControl(TZetaDBBarcode &control)
{
    // The control sizes itself while painting; settle the width first so the
    // image holds the whole symbol and its right margin.
    control.resize(control.Plan().width(), control.height());
    QImage image(control.size(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    control.render(&image);
    return image;
}
