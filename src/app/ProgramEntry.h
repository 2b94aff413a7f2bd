#pragma once
// The program entry: the splash window, the main menu (whose creation is the start-up), the other screens,
// the message loop, and the message that ends a failed start-up.

#include <QString>

#include <cstdint>

// The message box text for a failed start-up state (-2, -3, or the index of a help text).
QString StartupFailureMessage(int32_t startupState);

// Runs the program inside an existing application object; returns the exit status.
int RunProgram();
