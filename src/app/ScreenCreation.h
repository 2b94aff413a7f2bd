#pragma once
// The creation of every screen after a successful start-up: in groups, each announced on the splash status line
// by its help text, in a fixed order. This is the one place where a new screen joins the program.

#include <QString>

#include <functional>

// Creates the screens into Screens(); a failure raises and leaves the screens created so far.
void CreateScreens(const std::function<void(const QString& text)>& showStatus);
