#include "model/ProjectModification.h"

namespace {
ProjectModificationHost* g_host = nullptr;
bool g_modified = false;
unsigned long long g_changes = 0;
} // namespace

void SetProjectModificationHost(ProjectModificationHost* host) { g_host = host; }

ProjectModificationHost* GetProjectModificationHost() { return g_host; }

void MarkModified()
{
    ++g_changes;
    if (g_host)
        g_host->MarkModified();
    else
        g_modified = true;
}

bool IsModified() { return g_host ? g_host->IsModified() : g_modified; }

void ClearModified() { g_modified = false; }

unsigned long long ProjectChangeCount() { return g_changes; }
