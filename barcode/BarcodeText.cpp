#include "BarcodeText.h"

QString ApenasDigitos(const QString &texto)
{
    QString digitos;
    const QStringView usable = BarcodeTextView(texto);
    digitos.reserve(usable.size());
    for (const QChar c : usable) {
        if (c >= u'0' && c <= u'9')
            digitos.append(c);
    }
    return digitos;
}

QString PreencheEsquerda(const QString &texto, QChar preenche, int total)
{
    if (texto.size() >= total)
        return texto;
    return QString(total - texto.size(), preenche) + texto;
}
