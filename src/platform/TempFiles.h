#pragma once
// The temporary folder and unique file names in it.

#include <string>
#include <string_view>

// The temporary folder with its trailing "/". Tests may point it elsewhere with SetTempFolder.
std::string TempFolder();
void SetTempFolder(const std::string& folder);

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
