#pragma once
// A folder picker with a title: Execute shows the system's folder browser (file-system folders only) and keeps
// the chosen folder in Directory.

#include <QString>

#include <string>

class TDirDialog {
public:
    QString Title;
    // The chosen folder; the last choice stays until the next one.
    std::string Directory;

    // True when the user chose a folder.
    bool Execute();
};
