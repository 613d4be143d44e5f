#pragma once

#include <optional>

// The program works without a command line, as on the suite's counters. Only
// --version and --help are answered, on the terminal, before any window or
// database opens, so an installer can check a machine without a screen; every
// other argument is left to Qt (-platform, -style ...) as before.
// Returns the exit code when one of them was given.
std::optional<int> answerInfoOptions(int argc, char **argv);
