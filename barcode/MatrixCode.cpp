#include "MatrixCode.h"

#include <zint.h>

#include <algorithm>
#include <memory>

std::optional<MatrixCode> encodeMatrixCode(MatrixSymbology symbology, const QString &text, QrLevel level)
{
    if (text.isEmpty())
        return std::nullopt;
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    if (!symbol)
        return std::nullopt;
    symbol->input_mode = UNICODE_MODE;
    if (symbology == MatrixSymbology::QrCode) {
        symbol->symbology = BARCODE_QRCODE;
        symbol->option_1 = int(level) + 1;
    } else {
        symbol->symbology = BARCODE_DATAMATRIX;
        symbol->option_3 = DM_SQUARE;
    }
    const QByteArray bytes = text.toUtf8();
    const int error = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size()));
    if (error >= ZINT_ERROR || symbol->rows <= 0 || symbol->width <= 0)
        return std::nullopt;
    MatrixCode code;
    code.columns = symbol->width;
    code.rows = symbol->rows;
    code.dark.reserve(code.columns * code.rows);
    // zint keeps each row as a bit string, the first module in the lowest bit.
    for (int row = 0; row < code.rows; ++row) {
        for (int column = 0; column < code.columns; ++column)
            code.dark.append((symbol->encoded_data[row][column >> 3] >> (column & 7)) & 1);
    }
    return code;
}

int matrixQuietModules(MatrixSymbology symbology)
{
    return symbology == MatrixSymbology::QrCode ? 4 : 1;
}

int matrixSide(const MatrixCode &code, MatrixSymbology symbology, int module)
{
    return (std::max(code.columns, code.rows) + 2 * matrixQuietModules(symbology)) * module;
}

int matrixModule(const MatrixCode &code, MatrixSymbology symbology, int width, int height, int asked)
{
    const int largest = std::min(width, height) / std::max(1, matrixSide(code, symbology, 1));
    return asked > 0 ? std::min(asked, largest) : largest;
}
