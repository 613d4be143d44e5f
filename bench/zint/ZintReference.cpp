#include "ZintReference.h"

#include <zint.h>

ZintReference::ZintReference(Symbology symbology)
    : symbol_(ZBarcode_Create()),
      symbology_(symbology == Symbology::Ean13 ? BARCODE_EANX : BARCODE_CODE128B)
{
}

ZintReference::~ZintReference()
{
    ZBarcode_Delete(symbol_);
}

int ZintReference::encode(const QByteArray &text)
{
    // A zint symbol stacks every row it encodes until it is cleared: without
    // the clear, the 201st encode fails at once with "Too many stacked
    // symbols" and the loop would time refusals instead of encodes.
    ZBarcode_Clear(symbol_);
    symbol_->symbology = symbology_;
    const int error = ZBarcode_Encode(symbol_, reinterpret_cast<const unsigned char *>(text.constData()),
                                      int(text.size()));
    if (error >= ZINT_ERROR || symbol_->rows != 1)
        return 0;
    return symbol_->width;
}
