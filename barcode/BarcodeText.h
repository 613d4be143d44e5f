#pragma once

#include <QString>
#include <QStringView>

// Module strings spell one module per character. Code 128, Code 39 and
// Interleaved 2 of 5 use P (bar, "preto") and B (space, "branco"); the EAN/UPC
// family uses 1 and 0, as its standard tables are written.
inline constexpr char16_t ModuloBarra = u'P';
inline constexpr char16_t ModuloEspaco = u'B';
inline constexpr char16_t ModuloBarraEAN = u'1';
inline constexpr char16_t ModuloEspacoEAN = u'0';

// Whether a module is painted dark, whichever of the two alphabets it is in.
inline bool IsBarModule(QChar module)
{
    return module == QChar(ModuloBarra) || module == QChar(ModuloBarraEAN);
}

// Barcode texts come from 255-character string fields. Every encoder reads at
// most this many characters, so the data and the Code 128 check sum always
// cover the same characters and a longer text can never yield a symbol whose
// check character disagrees with its data.
inline constexpr int MaxTextoBarras = 255;

inline QStringView BarcodeTextView(const QString &texto)
{
    return QStringView(texto).left(MaxTextoBarras);
}

// The characters "0" to "9" of the text's first 255 characters, in order.
QString ApenasDigitos(const QString &texto);

// The text filled on the left with `preenche` up to `total` characters; a text
// already that long comes back unchanged.
QString PreencheEsquerda(const QString &texto, QChar preenche, int total);
