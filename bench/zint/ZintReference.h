#pragma once

#include <QByteArray>

// zint's library as a yardstick for our encoders: it runs only in the
// benchmark, never in the program.
class ZintReference
{
public:
    enum class Symbology { Ean13, Code128B };

    explicit ZintReference(Symbology symbology);
    ~ZintReference();
    ZintReference(const ZintReference &) = delete;
    ZintReference &operator=(const ZintReference &) = delete;

    // Encodes the text into a symbol row and returns its width in modules, or
    // 0 when zint refused the text.
    int encode(const QByteArray &text);

private:
    struct zint_symbol *symbol_;
    int symbology_;
};
