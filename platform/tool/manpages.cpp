// selvar-manpages FOLDER: writes FOLDER/<command>.1 for every installed
// command, from the entries their --help is written from. Run by the build.
#include "CommandManual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "Uso: selvar-manpages PASTA\n";
        return 2;
    }
    const QDir folder(args[1]);
    if (!folder.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "selvar-manpages: não foi possível criar " << args[1] << '\n';
        return 1;
    }
    for (const CommandManual &manual : commandManuals()) {
        QFile page(folder.filePath(manual.name + QStringLiteral(".1")));
        if (!page.open(QIODevice::WriteOnly) || page.write(manual.manPage().toUtf8()) < 0 || !page.flush()) {
            QTextStream(stderr) << "selvar-manpages: " << page.fileName() << ": " << page.errorString() << '\n';
            return 1;
        }
    }
    return 0;
}
