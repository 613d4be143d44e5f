#pragma once

// Start-up can decide that the program must end (no INI file, no workstation).
// The step that decides raises this flag and returns; the program entry reads it
// after each step of start-up and leaves without going further, and a test reads
// it instead of losing its own process.
namespace ProgramEnd {

void request();
bool requested();
void reset();

} // namespace ProgramEnd
