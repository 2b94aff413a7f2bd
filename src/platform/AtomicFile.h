#pragma once
// Files written whole: the bytes go to a new temporary file of our own in the target's folder (a unique name,
// created exclusively, never following a link), are flushed to the disc, and only then take the target's name.
// A reader sees the previous file or the complete new one, never a part; on any failure the temporary is removed
// and the previous file is untouched.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes data to path as described. EFCreateError when the temporary cannot be created, EWriteError when it
// cannot be written or renamed; the message names the file and the system's reason ("No space left on device").
// executable adds execute permission wherever the file has read permission.
void WriteFileAtomically(const std::string& path, const void* data, size_t size, bool executable = false);
void WriteFileAtomically(const std::string& path, const std::string& data, bool executable = false);

// A new, empty, private file in folder whose name starts with ".vellora-" and the given stem; the caller owns it
// and must remove or rename it. Created with O_EXCL and O_NOFOLLOW, mode 0644 (less the umask).
std::string CreateUniqueFileIn(const std::string& folder, const std::string& stem, int& fd);
