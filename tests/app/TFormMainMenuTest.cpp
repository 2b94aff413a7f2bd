#include "app/AppTestSupport.h"

#include "app/ScreenCreation.h"
#include "model/ProgressBar.h"
#include "model/ProjectFile.h"
#include "model/evCategory.h"
#include "model/evPageLayout.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/TFormExit.h"
#include "screens/TFormImprint.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"

#include <QTest>

#include <fstream>

using namespace apptest;

namespace {

// Answers the open dialog with a chosen file (or cancels) and keeps the request.
class ChosenFile : public FileDialogs {
public:
    explicit ChosenFile(std::optional<std::string> answer) : m_answer(std::move(answer)) {}
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override
    {
        const auto* menu = dynamic_cast<TFormMainMenu*>(AppContext());
        m_greyedWhileAsked = menu && menu->IsGreyed();
        m_request = request;
        ++m_asked;
        return m_answer;
    }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const QString&, const std::string&) override { return std::nullopt; }
    std::optional<std::string> m_answer;
    FileDialogRequest m_request;
    int m_asked = 0;
    bool m_greyedWhileAsked = false;
};

std::unique_ptr<evCategory> ThreePages()
{
    auto first = std::make_unique<evCategory>("Welcome", "", false, 3);
    first->AppendSibling(std::make_unique<evCategory>("Menu", "", false, 3));
    first->AppendSibling(std::make_unique<evCategory>("End", "", false, 3));
    return first;
}

class MainMenuTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_EQ(Start().GetStartupState(), -1);
        CreateScreens({});
    }
    void TearDown() override
    {
        SetDialogs(nullptr);
        DestroyScreens();
        ProgramFolderTest::TearDown();
    }
    TFormMainMenu& Menu() { return *m_mainMenu; }

    void CheckOpenedProject(const std::string& path)
    {
        evProject* project = Menu().GetCurrentProject();
        ASSERT_NE(project, nullptr);
        EXPECT_EQ(Menu().GetProjectFileName(), path);
        ASSERT_NE(project->GetDesign(), nullptr);
        EXPECT_EQ(project->GetDesign()->GetName(), "Rose");
        EXPECT_EQ(project->GetFirstCategory()->GetPageLayoutID(), 1000);
        EXPECT_EQ(project->GetFirstCategory()->GetNext()->GetPageLayoutID(), 1001);
        EXPECT_EQ(project->GetFirstCategory()->GetNext()->GetNext()->GetPageLayoutID(), 1002);
        ASSERT_NE(project->GetDiscLabelCategory(), nullptr);
        EXPECT_EQ(project->GetDiscLabelCategory()->GetTitle(), "cd label");
        EXPECT_EQ(project->GetDiscLabelCategory()->GetPageLayoutID(), 1003);
        EXPECT_FALSE(Screens().waitPopup->isVisible());
    }

    std::string SaveProject(const std::string& designFile, bool withDiscLabel = false)
    {
        evProject project("Anna", "Ben", 40000.0, designFile, ThreePages());
        if (withDiscLabel)
            project.SetDiscLabelCategory(std::make_unique<evCategory>("my label", "", true, 3));
        const std::string path = m_program + "/projects/Anna & Ben.evp";
        WriteProjectFile(project, path);
        return path;
    }
};

} // namespace

TEST_F(MainMenuTest, OpeningAProjectReadsItsDesignAndBindsTheSpecialPages)
{
    const std::string path = SaveProject("Rose.evl");
    ChosenFile dialog(path);
    SetDialogs(&dialog);
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
    EXPECT_EQ(dialog.m_request.title, "Help 208");
    EXPECT_EQ(dialog.m_request.filter, "Vellora project|*.evp");
    EXPECT_EQ(dialog.m_request.initialFolder, m_program + "/projects/");
    EXPECT_FALSE(Screens().waitPopup->isVisible());
    EXPECT_FALSE(Menu().IsGreyed());
}

TEST_F(MainMenuTest, AProjectThatCannotBeOpenedIsReported)
{
    // The design is missing, lacks a special page, or the project file is damaged.
    WriteBody(*MakeDesign("NoEnd", {"W", "M", "cd"}), DesignsFolder() + "NoEnd.evl");
    const std::string damaged = m_program + "/projects/damaged.evp";
    WriteBytes({3, 0, 0, 0, 1, 0}, damaged);
    for (const std::string& design :
         {std::string("Missing.evl"), std::string("NoEnd.evl"), std::string("../designs/Rose.evl"), std::string()}) {
        const std::string path = design.empty() ? damaged : SaveProject(design);
        int32_t result = 0;
        const QStringList texts = OkTexts([&] { result = Menu().OpenProjectFile(path); });
        EXPECT_EQ(result, -1) << design;
        EXPECT_EQ(texts, QStringList{"Help 91"}) << design;
        EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
        EXPECT_FALSE(Screens().waitPopup->isVisible());
        EXPECT_FALSE(Menu().IsGreyed());
    }
}
