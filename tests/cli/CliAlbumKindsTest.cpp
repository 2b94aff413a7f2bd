#include "CliRunner.h"
#include "ScratchFolder.h"

#include "model/ObjectStream.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPhotograph.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

class CliAlbumTest : public ScratchFolderTest {
protected:
    std::string WriteBody(const std::string& name, const evObject& body) const
    {
        MemoryStream s;
        body.SaveToStream(s);
        s.SaveToFile(Path(name));
        return Path(name);
    }
    // Dumps the file and checks that resaving it gives the same bytes.
    std::string DumpAndResave(const std::string& kind, const std::string& path) const
    {
        CliResult resaved = RunCli({"resave", "--as", kind, path, path + ".out"});
        EXPECT_EQ(resaved.status, 0) << resaved.err;
        MemoryStream in;
        MemoryStream out;
        in.LoadFromFile(path);
        out.LoadFromFile(path + ".out");
        EXPECT_EQ(out.Data(), in.Data()) << kind;
        CliResult dumped = RunCli({"dump", "--as", kind, path});
        EXPECT_EQ(dumped.status, 0) << dumped.err;
        return dumped.out;
    }
};

} // namespace

TEST_F(CliAlbumTest, ProjectDesignAndPhotographPrintOneLine)
{
    auto tree = std::make_unique<evCategory>("Welcome", "", false, 3);
    tree->AppendSibling(std::make_unique<evCategory>("End", "", false, 3));
    evProject project("Anna", "Ben", 37622.0, "Rose.evl", std::move(tree));
    project.SetDiscLabelCategory(std::make_unique<evCategory>("cd label", "", true, 3));
    EXPECT_EQ(DumpAndResave("project", WriteBody("p.evp", project)), project.ToString() + "\n");

    evLayout design("Rose", "Roses", 80, 60);
    design.AddPageLayout(std::make_unique<evPageLayout>(nullptr, "W", "Welcome", "", 2));
    const std::string designFile = WriteBody("Rose.evl", design);
    FileStream reread(designFile, FileStream::Mode::OpenRead);
    // Read back, the page layout shows its stored version.
    EXPECT_EQ(DumpAndResave("design", designFile), evLayout(reread, nullptr).ToString() + "\n");

    evPhotograph studio(nullptr);
    studio.SetLogoSlot(4);
    EXPECT_EQ(DumpAndResave("photograph", WriteBody("studio.evd", studio)), "evPhotograph[ID 0, VER 0, \n");
}

TEST_F(CliAlbumTest, CutFilesGiveOneLineAndStatusOne)
{
    evProject project("Anna", "Ben", 1.0, "Rose.evl", std::make_unique<evCategory>("W", "", false, 3));
    evLayout design("Rose", "", 8, 6);
    evBranding branding("main");
    evPhotograph studio(nullptr);
    for (const auto& [kind, body] : std::vector<std::pair<std::string, const evObject*>>{
             {"project", &project}, {"design", &design}, {"branding", &branding}, {"photograph", &studio}}) {
        MemoryStream s;
        body->SaveToStream(s);
        s.SetSize(s.Size() - 3);
        s.SaveToFile(Path("cut.bin"));
        CliResult r = RunCli({"dump", "--as", kind, Path("cut.bin")});
        EXPECT_EQ(r.status, 1) << kind;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}
