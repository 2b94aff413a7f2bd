#pragma once
// What start-up takes from the machine it runs on: the program's folders, the sound system and the screen, and
// where it reports its progress. The program passes the real ones; tests pass temporary folders and their own
// sound system.

#include "platform/ProgramFolders.h"

#include <QSize>
#include <QString>

#include <functional>
#include <string>

struct StartupEnvironment {
    // Where the data is read from and the projects, settings and temporary files go.
    ProgramFolders folders;
    // The version of the audio layer in use, e.g. "2.26.5 pulseaudio"; empty when no output opens.
    std::function<std::string()> systemAudioVersion;
    // The system volume in percent.
    std::function<int()> systemVolume;
    // Copies the program's audio library to its temporary file, binds, checks, initialises and starts it.
    std::function<bool(void* window, int volume)> startAudioLibrary;
    // The splash window's status line.
    std::function<void(const QString& text)> showStatus;
    // The screen start-up checks; an empty size asks the primary screen.
    QSize screenSize;

    // The machine's own sound system and screen for the program with these folders.
    static StartupEnvironment ForFolders(const ProgramFolders& folders);
};
