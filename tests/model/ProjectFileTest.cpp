#include "AlbumTestSupport.h"
#include "WriteLeftovers.h"

#include "model/ProjectFile.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "platform/Errors.h"

#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

std::unique_ptr<evCategory> ThreePages()
{
    auto first = std::make_unique<evCategory>("Welcome", "", false, 3);
    first->AppendSibling(std::make_unique<evCategory>("Menu", "", false, 3));
    first->AppendSibling(std::make_unique<evCategory>("End", "", false, 3));
    return first;
}

class ProjectFileTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_designs = m_folder / "designs";
        std::filesystem::create_directories(m_designs);
    }
    // A design file with page layouts for the given keys; identifiers 1000, 1001, ... in key order, or 0.
    void WriteDesign(const std::string& fileName, const std::vector<std::string>& keys, bool zeroIds = false)
    {
        evLayout design("Rose", "", 8, 6);
        int32_t id = 1000;
        for (const std::string& key : keys) {
            auto layout = std::make_unique<evPageLayout>(nullptr, key, "", "", 0);
            layout->SetKey(key);
            design.AddPageLayout(zeroIds ? std::move(layout) : WithID(std::move(layout), id));
            ++id;
        }
        MemoryStream bytes;
        design.SaveToStream(bytes);
        bytes.SaveToFile((m_designs / fileName).string());
    }
    std::string SaveProject(const std::string& designFile, bool withDiscLabel)
    {
        evProject project("Anna", "Ben", 1.0, designFile, ThreePages());
        if (withDiscLabel)
            project.SetDiscLabelCategory(std::make_unique<evCategory>("label", "", true, 3));
        const std::string path = TempPath("Anna & Ben.evp");
        WriteProjectFile(project, path);
        return path;
    }
    std::string Designs() const { return m_designs.string(); }

    std::filesystem::path m_designs;
};

} // namespace

// A saved project reads back; a save that fails (see SafeSavingTest for a disc that fills up) keeps the previous
// file and leaves no temporary file.
TEST_F(ProjectFileTest, SavedProjectReadsBackAndAFailedSaveKeepsThePreviousFile)
{
    evProject project("Anna", "Ben", 2.0, "Rose.evl", ThreePages());
    const std::string path = TempPath("p.evp");
    ASSERT_TRUE(SaveProjectFile(&project, path));
    EXPECT_EQ(FileBytes(path), SavedBody(project));
    EXPECT_EQ(ReadProjectFile(path)->GetTitle(), "Anna & Ben");
    EXPECT_FALSE(SaveProjectFile(nullptr, path));
    EXPECT_EQ(FileBytes(path), SavedBody(project));
    EXPECT_THROW(ReadProjectFile(TempPath("missing.evp")), EFOpenError);

    // A target that cannot be replaced (a folder of that name), a folder that is not there.
    const std::string folder = TempPath("folder.evp");
    std::filesystem::create_directories(std::filesystem::path(folder) / "inside");
    EXPECT_FALSE(SaveProjectFile(&project, folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(SaveProjectFile(&project, TempPath("no/such/folder/p.evp")));
    EXPECT_TRUE(TemporariesIn(m_folder).empty());
}

TEST_F(ProjectFileTest, DesignNamesWithFoldersAreRefused)
{
    EXPECT_EQ(DesignFilePath("/d", "Rose.evl"), "/d/Rose.evl");
    EXPECT_EQ(DesignFilePath("/d/", "Rose.evl"), "/d/Rose.evl");
    for (const char* name : {"../Rose.evl", "sub/Rose.evl", "/etc/Rose.evl", "a\\Rose.evl", "", ".", ".."})
        EXPECT_THROW(DesignFilePath("/d", name), EFOpenError) << name;

    // Even a file that exists there is never read.
    WriteDesign("Rose.evl", {"W", "M", "cd", "E"});
    std::filesystem::copy_file(m_designs / "Rose.evl", m_folder / "Outside.evl");
    const std::string path = SaveProject("../Outside.evl", true);
    EXPECT_THROW(OpenProject(path, Designs()), EFOpenError);
    // Nor through a list of folders that holds the folder above.
    EXPECT_THROW(OpenProject(path, std::vector<std::string>{m_folder.string(), Designs()}), EFOpenError);
}

// The user's designs folder comes first; a design found in neither folder is looked for in the last one, so that
// the error names the folder of the designs that came with the program.
TEST_F(ProjectFileTest, TheFirstFolderThatHoldsTheDesignIsTheOneRead)
{
    const std::string own = (m_folder / "own").string() + "/";
    std::filesystem::create_directories(own);
    WriteDesign("Rose.evl", {"W", "M", "cd", "E"});
    std::filesystem::copy_file(m_designs / "Rose.evl", own + "Lily.evl");
    std::filesystem::create_directories(own + "Rose.evl"); // a folder of that name is no design file
    const std::vector<std::string> folders = {own, Designs()};
    EXPECT_EQ(FindDesignFolder(folders, "Lily.evl"), own);
    EXPECT_EQ(FindDesignFolder(folders, "Rose.evl"), Designs());
    EXPECT_EQ(FindDesignFolder(folders, "Gone.evl"), Designs());
    EXPECT_EQ(FindDesignFolder(folders, "../designs/Rose.evl"), Designs());
    EXPECT_EQ(FindDesignFolder({}, "Rose.evl"), "");

    const std::unique_ptr<evProject> project = OpenProject(SaveProject("Lily.evl", true), folders);
    EXPECT_EQ(project->GetDesign()->GetPageLayouts().Count(), 4);
    try {
        OpenProject(SaveProject("Gone.evl", true), folders);
        FAIL() << "a missing design was opened";
    } catch (const EFOpenError& error) {
        EXPECT_NE(std::string(error.what()).find(Designs()), std::string::npos) << error.what();
    }
}

TEST_F(ProjectFileTest, OpeningBindsTheSpecialPageLayouts)
{
    WriteDesign("Rose.evl", {"E", "cd", "M", "W"});
    auto project = OpenProject(SaveProject("Rose.evl", false), Designs());
    evCategory* first = project->GetFirstCategory();
    EXPECT_EQ(first->GetPageLayoutID(), 1003);
    EXPECT_EQ(first->GetNext()->GetPageLayoutID(), 1002);
    EXPECT_EQ(first->GetNext()->GetNext()->GetPageLayoutID(), 1000);
    ASSERT_NE(project->GetDiscLabelCategory(), nullptr);
    EXPECT_EQ(project->GetDiscLabelCategory()->GetTitle(), "cd label");
    EXPECT_TRUE(project->GetDiscLabelCategory()->GetOptional());
    EXPECT_EQ(project->GetDiscLabelCategory()->GetPageLayoutID(), 1001);
    EXPECT_EQ(project->GetDiscLabelCategory()->GetProject(), project.get());
    EXPECT_EQ(project->GetDesignFileName(), "Rose.evl");
    // The previews of the page layouts were rendered.
    auto* layout = project->GetDesign()->GetPageLayouts().GetItemAs<evPageLayout>(0);
    EXPECT_GT(std::filesystem::file_size(layout->GetPreviewFile()), 0u);
    EXPECT_TRUE(first->Render(nullptr, true));

    // A project that has its own disc label keeps it.
    auto labelled = OpenProject(SaveProject("Rose.evl", true), Designs());
    EXPECT_EQ(labelled->GetDiscLabelCategory()->GetTitle(), "label");
}
