#pragma once

#include <functional>

// The program's top-level error handling: runs one operation and, when it throws,
// shows the error's text in the message box and abandons the operation, leaving
// the window usable. Returns false when the operation was abandoned.
bool guarded(const std::function<void()> &body);
