// `vellora-cli check` on projects made here: its lines, its summary and its exit status (0 when nothing cannot be
// seen, 2 when something cannot be seen, 1 for a damaged or missing file).
#include "CliAlbumTest.h"

#include "presentation/FinishTestAlbum.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace finishtest;

namespace {

class CliCheckTest : public CliAlbumTest {
protected:
    // Writes the finish test album, changed by the test, with its design.
    void WriteAlbum(const std::function<void(evCategory& welcome)>& change)
    {
        const std::unique_ptr<evProject> project = MakeAlbum();
        change(*project->GetFirstCategory());
        WriteAlbumFiles(*project);
    }
};

} // namespace

TEST_F(CliCheckTest, ExitStatusSaysWhetherSomethingCannotBeSeen)
{
    struct Case {
        const char* name;
        std::function<void(evCategory&)> change;
        int status;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a complete album", [](evCategory&) {}, 0, {"Nothing to finish: every page can be reached and is complete"}},
        {"a chapter without a layout",
         [](evCategory& welcome) { welcome.GetSub()->SetPageLayoutID(0); },
         2,
         {"Welcome / Chapter one\tno-layout\tno page layout is chosen, so the page and the 1 page below it are "
          "left off the disc",
          "1 cannot be seen, 0 look unfinished"}},
        {"only a sample text",
         [](evCategory& welcome) { welcome.AddChild(Page("Labels", 16)); },
         0,
         {"Welcome / Labels\ttemplate-text\tthe text \"Own\" is the design's sample text",
          "0 cannot be seen, 1 looks unfinished"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WriteAlbum(test.change);
        const CliResult result = RunCli({"check", Path("album.evp"), "--designs", Path("designs")});
        EXPECT_EQ(result.status, test.status) << result.err;
        EXPECT_EQ(Lines(result.out), test.lines);
    }
}

TEST_F(CliCheckTest, DamagedOrMissingFilesGiveOneLineAndStatusOne)
{
    WriteAlbum([](evCategory&) {});
    const std::string project = Read(Path("album.evp"));
    std::ofstream(Path("half.evp"), std::ios::binary) << project.substr(0, project.size() / 2);
    const std::vector<std::vector<std::string>> runs = {
        {"check", Path("half.evp"), "--designs", Path("designs")},
        {"check", Path("missing.evp"), "--designs", Path("designs")},
        {"check", Path("album.evp"), "--designs", Path("no-designs")},
        {"check"},
        {"check", Path("album.evp"), "--designs"},
    };
    for (const std::vector<std::string>& args : runs)
        EXPECT_TRUE(OneLineFailure(RunCli(args))) << args.back();
}
