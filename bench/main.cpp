#include "BenchRegistry.h"

#include <QApplication>
#include <QTextStream>

std::map<QString, BenchGroup> &benchGroups()
{
    static std::map<QString, BenchGroup> groups;
    return groups;
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty() || !benchGroups().count(args.first())) {
        err << "uso: selvar-bench GRUPO\ngrupos:";
        for (const auto &[name, fn] : benchGroups())
            err << ' ' << name;
        err << '\n';
        return 2;
    }
    const QString group = args.takeFirst();
    return benchGroups()[group](args);
}
