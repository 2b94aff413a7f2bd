#pragma once
// The temporary folder and unique file names in it.

#include <string>
#include <string_view>

// The temporary folder with its trailing "/": a private folder of this process ("vellora-<pid>-XXXXXX", mode
// 0700) inside the system's temporary folder, made on first use and removed with everything in it when the
// process exits. Tests may point it elsewhere with SetTempFolder; a folder set that way is never removed.
std::string TempFolder();
void SetTempFolder(const std::string& folder);

// The folder that holds the private folder: the system's temporary folder unless set (the installed program
// sets its runtime folder). Takes effect for a private folder made afterwards.
void SetTempBase(const std::string& base);

// What every Vellora program does first in main(): SIGXFSZ is ignored (a write beyond the file size limit then
// fails with EFBIG and is reported like a full disk, instead of killing the program with its temporary left
// behind); the base is set when given; private folders of processes that no longer run are removed from it;
// this process's private folder is made, and SIGTERM, SIGINT and SIGHUP remove it before the program ends as the
// signal says.
void PrepareProcess(const std::string& tempBase = {});
// What those handlers do, for a handler of the program's own that must end at once: removes the private folder
// and ends the process as the signal says. Safe in a signal handler.
void EndProcessForSignal(int signal);

// Removes the private folders in base (the temporary base when empty) whose owner process is gone and that
// belong to this user. Returns how many were removed.
int RemoveStaleTempFolders(const std::string& base = {});
// Removes this process's private folder now (also done at exit); the next TempFolder() makes a new one.
void RemovePrivateTempFolder();

// "evpl.evp" becomes TempFolder() + "evpl" + n + ".evp" for the first n = 0, 1, 2, ... whose file does not exist.
// The template is first reduced to its bare file name, so a stored name ("../x.ttf", "/etc/x") can never point
// outside the temporary folder. The file is created empty at once, so the name stays taken even against another
// program choosing at the same moment; callers overwrite it.
std::string UniqueTempFileName(std::string_view templ);

// The bare file name of a path or stored name: everything after the last "/" or "\". Empty, "." and ".." give "".
std::string BareFileName(std::string_view name);

bool FileExists(const std::string& path);
// Deletes a file; true when it is gone afterwards.
bool DeleteFileIfExists(const std::string& path);
