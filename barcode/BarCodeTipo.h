#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace Barras {
Q_NAMESPACE

// The symbologies the barcode control can draw. The ordinals are what a form
// stores for the Tipo property, so the order must never change.
enum TBarCodeTipo : quint8 {
    btCode128A,
    btCode128B,
    btCode128C,
    btCode39,
    btCodeEAN13,
    btCode2e5I,
    btCodeEAN8,
    btCodeUPCA,
};
Q_ENUM_NS(TBarCodeTipo)

} // namespace Barras

using Barras::TBarCodeTipo;
using enum Barras::TBarCodeTipo;

// "btCodeEAN13" -> btCodeEAN13; an ordinal written in decimal ("4") is taken too,
// because scripts tend to carry the stored byte rather than the name.
std::optional<TBarCodeTipo> TipoFromText(const QString &text);

// The enumerator's name, for messages and tool output.
QString TipoName(TBarCodeTipo tipo);
