#pragma once
// The status line of the project menu and the finishing screen: how many things the check (without rendering)
// finds, else whether every page is complete.

#include <QString>

#include <cstdint>

class evProject;

struct ProjectStatus {
    QString text;
    bool good = false; // nothing found and every page complete
    int findings = 0;
};

ProjectStatus ProjectStatusLine(evProject& project);
