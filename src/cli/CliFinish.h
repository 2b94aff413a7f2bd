#pragma once
// vellora-cli finish PROJECT --out FOLDER [--designs DIR] [--data DIR] [--no-studio] [--studio-duration N]
//                    [--iso FILE.iso]
//
// Writes the disc folder FOLDER/Vellora as the finishing screen does, without a display. The design comes from
// DIR (default: the program's designs folders, the user's own first), the studio branding from the data folder
// (default: the program's studio design and studio record); without studio files, or with --no-studio, the disc
// has no studio page.
// With --iso, the disc image of the disc folder is written to FILE.iso afterwards, its volume named after the
// project's two names; the image's name follows the folder's on stdout.
// Progress goes to stderr: one updating line on a terminal, a line per tenth otherwise.

#include "platform/ProgramFolders.h"

#include <string>
#include <vector>

// Runs the command on the arguments after "finish"; returns the exit status. Failures raise.
int RunFinish(const std::vector<std::string>& args, const ProgramFolders& folders);
