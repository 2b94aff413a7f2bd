#include "screens/ProjectStatus.h"

#include "audio/WebMusic.h"
#include "model/PageCompleteness.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "presentation/Preflight.h"
#include "screens/DataIndexes.h"
#include "screens/SkinService.h"

// The menu shows this every time it comes back, so the pages are not rendered here: what only the rendered
// pages tell (a page no click reaches, a damaged photograph) is found when finishing checks.
ProjectStatus ProjectStatusLine(evProject& project)
{
    PreflightCheck check(project);
    check.SetWalkPages(false);
    check.SetMusicAccess(MakeWebMusicAccess());
    ProjectStatus status;
    status.findings = static_cast<int>(check.Run().size());
    if (status.findings > 0) {
        status.text = HelpText(Help::StatusFindings).arg(status.findings);
        return status;
    }
    status.good = IsComplete(project.GetFirstCategory());
    status.text = HelpText(status.good ? Help::StatusComplete : Help::StatusIncomplete);
    return status;
}
