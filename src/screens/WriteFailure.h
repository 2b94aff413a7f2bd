#pragma once
// What the user is told when a file could not be written: the disc is full, the folder cannot be written, or
// just that it failed with the system's reason, and always which file.

#include <QString>

#include <exception>
#include <string>

enum class WriteProblem { DiscFull, FolderNotWritable, Other };

// ENOSPC, EDQUOT and EFBIG are a full disc; EROFS, EACCES and EPERM a folder that cannot be written.
WriteProblem ClassifyWriteProblem(int systemError);

// The help text for the problem, a line break and the file; for any other problem the system's reason (the
// error's message) follows on a line of its own. The file's name is made safe for a label.
QString WriteFailureText(const std::string& file, int systemError, const std::string& message);
// The same from an error; EStreamError knows its file and system error, other errors give only their message.
QString WriteFailureText(const std::exception& error, const std::string& fallbackFile);
