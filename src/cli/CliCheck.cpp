#include "cli/CliCheck.h"

#include "cli/CliProgress.h"

#include "audio/WebMusic.h"
#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "presentation/Preflight.h"

#include <iostream>
#include <memory>

namespace {

struct CheckOptions {
    std::string project;
    std::vector<std::string> designs;
};

CheckOptions ParseOptions(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    CheckOptions options;
    options.designs = folders.DesignFolders();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--designs") {
            if (i + 1 >= args.size())
                throw EVelloraError("check: --designs needs a value");
            options.designs = {args[++i]};
        } else if (arg.rfind("--", 0) == 0 || !options.project.empty()) {
            throw EVelloraError("check: unexpected argument \"" + arg + "\"");
        } else {
            options.project = arg;
        }
    }
    if (options.project.empty())
        throw EVelloraError("check: usage: vellora-cli check PROJECT [--designs DIR]");
    return options;
}

} // namespace

int RunCheck(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    const CheckOptions options = ParseOptions(args, folders);
    const std::unique_ptr<evProject> project = OpenProject(options.project, options.designs);
    PreflightCheck check(*project);
    check.SetMusicAccess(MakeWebMusicAccess());
    ProgressLine progress("Checking");
    check.SetProgress([&progress](int percent) { progress.Show(percent); });
    const std::vector<PreflightFinding> findings = check.Run();
    progress.End();
    for (const PreflightFinding& finding : findings)
        std::cout << finding.ToLine() << '\n';
    std::cout << PreflightSummary(findings) << '\n' << std::flush;
    return CountFindings(findings).cannotBeSeen > 0 ? kCheckFoundHidden : 0;
}
