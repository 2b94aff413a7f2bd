#pragma once
// The open project's "changed since it was last saved" flag. The project menu keeps it while it runs and
// registers itself here, so that every screen that changes the project (editors, personal data, the chapter
// tree, music, the label kit) can report a change without knowing the menu.

class ProjectModificationHost {
public:
    virtual ~ProjectModificationHost() = default;
    virtual void MarkModified() = 0;
    virtual bool IsModified() const = 0;
};

// nullptr when no project menu runs.
void SetProjectModificationHost(ProjectModificationHost* host);
ProjectModificationHost* GetProjectModificationHost();

// The host's operations; without a host (a screen run on its own, as in the tests) a flag of this unit's own
// stands in, which ClearModified resets.
void MarkModified();
bool IsModified();
void ClearModified();

// How many changes were reported since the program started; the autosave compares it to know whether its last
// recovery copy is still current.
unsigned long long ProjectChangeCount();
