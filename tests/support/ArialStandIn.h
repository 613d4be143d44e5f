#pragma once

// The font-dependent tests run once for each font that takes Arial's place
// on a Debian machine (tests/support/CMakeLists.txt). A run that asked for one
// and got another would pass without having tried it: it fails instead, with
// the font it found (most often, the font's package is not installed).
#include <QFont>
#include <QFontInfo>
#include <QString>
#include <QtTest>

inline void verifyArialStandIn()
{
    const QString asked = qEnvironmentVariable("SELVAR_ARIAL_STAND_IN");
    if (asked.isEmpty())
        return;
    // Qt names the foundry too when two make the family: "Nimbus Sans [urw]".
    const QString found = QFontInfo(QFont(QStringLiteral("Arial"))).family().section(QStringLiteral(" ["), 0, 0);
    QVERIFY2(found == asked, qPrintable(QStringLiteral("\"Arial\" is %1 here, not %2: is its font installed?").arg(found, asked)));
}
