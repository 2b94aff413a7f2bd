#pragma once
// The program entry: the splash window, the main menu (whose creation is the start-up), the other screens,
// the message loop, and the message that ends a failed start-up.

#include "platform/ProgramFolders.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// How the program was asked to run.
struct ProgramOptions {
    // Start up to the main menu, print where the program keeps its files and end at once; a failed start-up
    // prints its message on stderr instead of showing a message box. For packagers and for tests of an
    // installed program.
    bool checkStartup = false;
};

// The options of the command line after the program's name: "--check-startup"; nothing for anything else.
std::optional<ProgramOptions> ParseProgramOptions(const QStringList& arguments);
extern const char* const kProgramUsage;

// The message box text for a failed start-up state (-2, -3, or the index of a help text).
QString StartupFailureMessage(int32_t startupState);

// Runs the program with its folders inside an existing application object; returns the exit status.
int RunProgram(const ProgramFolders& folders, const ProgramOptions& options = {});
