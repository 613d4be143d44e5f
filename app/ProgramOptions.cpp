#include "ProgramOptions.h"

#include "CommandLineInfo.h"
#include "CommandManual.h"

#include <QTextStream>

namespace {

bool isOption(const QString &arg, const QCommandLineOption &option)
{
    for (const QString &name : option.names()) {
        if (arg == (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name)
            return true;
    }
    return false;
}

} // namespace

std::optional<int> answerInfoOptions(int argc, char **argv)
{
    QTextStream out(stdout);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (isOption(arg, versionOption())) {
            out << versionLine(QStringLiteral("selvar")) << '\n';
            return 0;
        }
        if (isOption(arg, helpOption())) {
            out << commandManual(QStringLiteral("selvar")).helpText();
            return 0;
        }
    }
    return std::nullopt;
}
