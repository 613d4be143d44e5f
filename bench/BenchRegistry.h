#pragma once

#include <QString>
#include <functional>
#include <map>

// A benchmark group prints its figures as "name: value" lines on stdout.
using BenchGroup = std::function<int(const QStringList &args)>;

std::map<QString, BenchGroup> &benchGroups();

struct BenchGroupRegistration {
    BenchGroupRegistration(const QString &name, BenchGroup group) { benchGroups()[name] = std::move(group); }
};

#define SELVAR_BENCH_GROUP(name, fn) static BenchGroupRegistration benchReg_##fn(QStringLiteral(name), fn)
