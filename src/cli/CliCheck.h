#pragma once
// vellora-cli check PROJECT [--designs DIR]
//
// Runs the check that the finishing screen runs before it writes a disc: every page is rendered as finishing
// renders it. Prints one finding a line (page-path TAB kind TAB detail), what cannot be seen first, then one
// summary line. Exit status 0 when nothing cannot be seen, 2 when something cannot be seen (the pages that only
// look unfinished do not change it); a damaged or missing file raises as in every command (status 1).
// Progress goes to stderr as for finish.

#include "platform/ProgramFolders.h"

#include <string>
#include <vector>

// The exit status when something cannot be seen on the disc.
constexpr int kCheckFoundHidden = 2;

// Runs the command on the arguments after "check"; returns the exit status. Failures raise.
// The design comes from DIR, by default from the program's designs folders, the user's own first.
int RunCheck(const std::vector<std::string>& args, const ProgramFolders& folders);
