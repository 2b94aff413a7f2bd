#pragma once
// Application fonts: a font file added for the run of the program and removed again, and the installed families.

#include <string>
#include <vector>

namespace Fonts {
// Registers the font file; returns false when the file is not a usable font.
bool AddFontFile(const std::string& path);
// Removes the registration of the file (true when it was registered).
bool RemoveFontFile(const std::string& path);
// The families the system knows (installed fonts and added files).
std::vector<std::string> InstalledFamilies();
bool IsInstalled(const std::string& family);
} // namespace Fonts
