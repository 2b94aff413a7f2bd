#include "app/AppTestSupport.h"

#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "screens/TwaitPopup.h"

using namespace apptest;

namespace {

class MainMenuTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        StartWithScreens();
    }

    void CheckOpenedProject(const std::string& path)
    {
        evProject* project = Menu().GetCurrentProject();
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(Menu().GetProjectFileName(), path);
        ASSERT_NE(project->GetDesign(), nullptr);
        EXPECT_EQ(project->GetDesign()->GetName(), "Rose");
        // The special pages are bound by OpenProject (ProjectFileTest); one of them shows that it ran.
        ASSERT_NE(project->GetDiscLabelCategory(), nullptr);
        EXPECT_EQ(project->GetDiscLabelCategory()->GetPageLayoutID(), 1003);
        EXPECT_FALSE(Screens().waitPopup->isVisible());
    }

    std::string SaveProject(const std::string& designFile)
    {
        const std::string path = m_program + "/projects/Anna & Ben.evp";
        WriteProjectFile(Album("Anna", "Ben", designFile), path);
        return path;
    }
};

} // namespace

TEST_F(MainMenuTest, OpeningAProjectReadsItsDesignAndBindsTheSpecialPages)
{
    const std::string path = SaveProject("Rose.evl");
    screentest::AnsweringDialogs dialogs;
    dialogs.openAnswers.push_back(path);
    // What the project menu finds when it starts, and that the project is closed once it returns.
    int menuRuns = 0;
    Menu().SetProjectMenuRunner([&]() -> int32_t {
        ++menuRuns;
        CheckOpenedProject(path);
        EXPECT_FALSE(Menu().IsGreyed());
        return 0;
    });
    const QStringList texts = OkTexts([this] { Menu().Img2Click(); });
    EXPECT_TRUE(texts.isEmpty());
    EXPECT_EQ(menuRuns, 1);
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, m_program + "/projects/");
    EXPECT_FALSE(Menu().IsGreyed());
}

TEST_F(MainMenuTest, AProjectThatCannotBeOpenedIsReported)
{
    // The design is missing, lacks a special page, or the project file is damaged; a design name with folders is
    // refused by OpenProject itself (ProjectFileTest).
    WriteBody(*MakeDesign("NoEnd", {"W", "M", "cd"}), DesignsFolder() + "NoEnd.evl");
    const std::string damaged = m_program + "/projects/damaged.evp";
    WriteBytes({3, 0, 0, 0, 1, 0}, damaged);
    for (const std::string& design : {std::string("Missing.evl"), std::string("NoEnd.evl"), std::string()}) {
        const std::string path = design.empty() ? damaged : SaveProject(design);
        int32_t result = 0;
        const QStringList texts = OkTexts([&] { result = Menu().OpenProjectFile(path); });
        EXPECT_EQ(result, -1) << design;
        EXPECT_EQ(texts, QStringList{"Help 91"}) << design;
        EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
        EXPECT_FALSE(Screens().waitPopup->isVisible());
    }
}
