#include "BenchList.h"

#include "EanUpc.h"
#include "ListWindow.h"
#include "TFormSelvarra.h"

#include <QFrame>

bool openListOf(ListWindow &window, int products, int labelsEach)
{
    for (int i = 0; i < products; ++i) {
        const QString digits = QStringLiteral("789%1").arg(i, 9, 10, QLatin1Char('0'));
        window.addProduct(QStringLiteral("R%1").arg(i, 5, 10, QLatin1Char('0')),
                          QStringLiteral("Produto de revenda nº %1").arg(i), digits + DigitoVerificador(digits),
                          QStringLiteral("10.90"));
    }
    window.clickBuild();
    window.app.suite.exec(QStringLiteral("update TABREV1 set QDE = ?"), {labelsEach});
    window.app.suite.disconnect();
    window.clickClose();
    window.clickReopen();
    return window.form()->PainelSelvarra->isVisible();
}
