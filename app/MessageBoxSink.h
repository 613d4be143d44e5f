#pragma once

// Shows every message of the program in a modal box with one OK button, and
// every question with "Sim" and "Não", over the main window when there is one.
void installMessageBoxSink();
