#pragma once
// vellora-cli video PROJECT --out FILE.mp4 [--designs DIR] [--data DIR] [--size 1920x1080|1280x720] [--seconds N]
//                   [--no-studio] [--studio-duration N]
//
// Writes the album as an MP4 video (H.264, AAC, chapters), as the finish report's "Make a video" does. The design
// comes from DIR (default: the program's designs folders, the user's own first), the studio page from the data
// folder (default: the program's studio design and record; none without studio files or with --no-studio,
// 5 seconds unless told). N seconds
// per page, 6 by default. Warnings (music that could not be decoded) go to stderr, progress too; the video's path
// to stdout.

#include "platform/ProgramFolders.h"

#include <string>
#include <vector>

// Runs the command on the arguments after "video"; returns the exit status. Failures raise.
int RunVideo(const std::vector<std::string>& args, const ProgramFolders& folders);
