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

    std::string SaveProject(const std::string& designFile, bool withDiscLabel = false)
    {
        evProject project("Anna", "Ben", 40000.0, designFile, ThreePages());
        if (withDiscLabel)
            project.SetDiscLabelCategory(std::make_unique<evCategory>("my label", "", true, 3));
        const std::string path = m_program + "/projects/Anna & Ben.evp";
        WriteProjectFile(project, path);
        return path;
    }
    // Runs the step and answers the OK pop-ups it shows, collecting their texts.
    QStringList OkTexts(const std::function<void()>& step)
    {
        QStringList texts;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&texts] {
            TokPopup* popup = Screens().okPopup.get();
            if (QApplication::activeModalWidget() != popup || !popup->isVisible())
                return;
            texts << popup->LabelMessage->Caption();
            popup->ImgOKClick();
        });
        poll.start();
        step();
        return texts;
    }
};

} // namespace

TEST_F(MainMenuTest, HoveringAButtonShowsItsActiveLookAndHint)
{
    TFormMainMenu& menu = Menu();
    const std::array<TImage*, 4> buttons = {menu.Img1, menu.Img2, menu.Img3, menu.Img4};
    const std::array<const char*, 4> hints = {"Help 82", "Help 106", "Help 107", "Help 116"};
    for (size_t i = 0; i < buttons.size(); ++i) {
        const QPoint centre = buttons[i]->geometry().center();
        menu.ImgBGMouseMove(menu.ImgBG, centre.x(), centre.y());
        EXPECT_EQ(menu.LabelHint->Caption(), hints[i]);
        for (size_t j = 0; j < buttons.size(); ++j)
            EXPECT_EQ(!buttons[j]->isHidden(), i == j) << i << " " << j;
    }
    // Over the button itself (its own coordinates) the button stays and so does its hint.
    menu.ImgBGMouseMove(menu.Img4, 2, 2);
    EXPECT_FALSE(menu.Img4->isHidden());
    EXPECT_EQ(menu.LabelHint->Caption(), "Help 116");
    menu.ImgBGMouseMove(menu.ImgBG, 10, 10);
    EXPECT_EQ(menu.LabelHint->Caption(), "");
    EXPECT_TRUE(menu.Img4->isHidden());
    EXPECT_EQ(menu.LabelHint->geometry(), QRect(384, 664, 257, 49));
    EXPECT_EQ(menu.LabelHint->font().family(), "Arial");
}

TEST_F(MainMenuTest, TheMenuIsGreyedWhileAnotherScreenIsInFront)
{
    TFormMainMenu& menu = Menu();
    const auto greyedImages = [&menu] {
        int shown = 0;
        for (TImage* image : {menu.Img1disabled, menu.Img2disabled, menu.Img3disabled, menu.Img4disabled})
            shown += image->isHidden() ? 0 : 1;
        return shown;
    };
    EXPECT_EQ(greyedImages(), 0);
    int during = -1;
    screentest::ModalAnswerer answer([&](QWidget*) {
        during = greyedImages();
        Screens().okPopup->ImgOKClick();
    });
    Screens().okPopup->Run("in front");
    EXPECT_EQ(during, 4);
    EXPECT_FALSE(menu.IsGreyed());
    EXPECT_EQ(greyedImages(), 0);

    // The wait pop-up counts while it is up, across the steps of a chain.
    TwaitPopup* wait = Screens().waitPopup.get();
    wait->Run("first", [&](ProgressBar&) { return false; });
    EXPECT_TRUE(menu.IsGreyed());
    wait->Run("last", [&](ProgressBar&) {
        EXPECT_TRUE(menu.IsGreyed());
        return true;
    });
    EXPECT_FALSE(menu.IsGreyed());
    EXPECT_EQ(greyedImages(), 0);
}

TEST_F(MainMenuTest, TheStartupWarningIsShownOnTheFirstShowOnly)
{
    m_audioVersion = "";
    DestroyScreens();
    ASSERT_EQ(Start().GetStartupWarning(), 177);
    CreateScreens({});
    QStringList texts = OkTexts([this] {
        Menu().show();
        QTest::qWait(50);
    });
    EXPECT_EQ(texts, QStringList{"Help 177"});
    texts = OkTexts([this] {
        Menu().hide();
        Menu().show();
        QTest::qWait(50);
    });
    EXPECT_TRUE(texts.isEmpty());
    Menu().hide();
}

TEST_F(MainMenuTest, ExitAsksFirst)
{
    TFormMainMenu& menu = Menu();
    TFormExit* question = Screens().formExit.get();
    screentest::ModalAnswerer stay([question](QWidget*) { question->imgNoActiveClick(); });
    menu.Img3Click();
    EXPECT_FALSE(menu.IsCloseRequested());
    screentest::ModalAnswerer leave([question](QWidget*) { question->imgYesActiveClick(); });
    menu.Img3Click();
    EXPECT_TRUE(menu.IsCloseRequested());
}

TEST_F(MainMenuTest, TheImprintIsShown)
{
    TFormImprint* imprint = Screens().formImprint.get();
    screentest::ModalAnswerer close([imprint](QWidget* modal) {
        EXPECT_EQ(modal, imprint);
        EXPECT_TRUE(imprint->ImgImprint->HasPicture());
        imprint->ImgApplyClick();
    });
    Menu().Img4Click();
    EXPECT_EQ(close.Answered(), 1);
    EXPECT_FALSE(imprint->ImgImprint->HasPicture());
}

TEST_F(MainMenuTest, OpeningAProjectReadsItsDesignAndBindsTheSpecialPages)
{
    const std::string path = SaveProject("Rose.evl");
    ChosenFile dialog(path);
    SetDialogs(&dialog);
    const QStringList texts = OkTexts([this] { Menu().Img2Click(); });
    EXPECT_TRUE(texts.isEmpty());
    EXPECT_EQ(dialog.m_request.title, "Help 208");
    EXPECT_EQ(dialog.m_request.filter, "Vellora project|*.evp");
    EXPECT_EQ(dialog.m_request.initialFolder, m_program + "/projects/");

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
    EXPECT_FALSE(Menu().IsGreyed());
}

TEST_F(MainMenuTest, AProjectKeepsItsOwnDiscLabel)
{
    const std::string path = SaveProject("Rose.evl", true);
    EXPECT_EQ(Menu().OpenProjectFile(path), 0);
    ASSERT_NE(Menu().GetCurrentProject(), nullptr);
    EXPECT_EQ(Menu().GetCurrentProject()->GetDiscLabelCategory()->GetTitle(), "my label");
}

TEST_F(MainMenuTest, AProjectThatCannotBeOpenedIsReported)
{
    // The design is missing, lacks a special page, or the project file is damaged.
    WriteBody(*MakeDesign("NoEnd", {"W", "M", "cd"}), DesignsFolder() + "NoEnd.evl");
    const std::string damaged = m_program + "/projects/damaged.evp";
    WriteBytes({3, 0, 0, 0, 1, 0}, damaged);
    for (const std::string& design : {std::string("Missing.evl"), std::string("NoEnd.evl"),
                                      std::string("../designs/Rose.evl"), std::string()}) {
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

TEST_F(MainMenuTest, CancellingTheDialogOpensNothing)
{
    ChosenFile dialog(std::nullopt);
    SetDialogs(&dialog);
    Menu().Img2Click();
    EXPECT_EQ(dialog.m_asked, 1);
    EXPECT_TRUE(dialog.m_greyedWhileAsked);
    EXPECT_FALSE(Menu().IsGreyed());
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
}

TEST_F(MainMenuTest, TheProjectMenuRunsOnTheOpenedProjectWhichIsClosedAfterwards)
{
    const std::string path = SaveProject("Rose.evl");
    ChosenFile dialog(path);
    SetDialogs(&dialog);
    std::string seen;
    int32_t answer = 83;
    Menu().SetProjectMenuRunner([&] {
        seen = Menu().GetCurrentProject()->GetTitle();
        if (answer == 0)
            throw EVelloraError("failed inside");
        return answer;
    });
    EXPECT_EQ(OkTexts([this] { Menu().Img2Click(); }), QStringList{"Help 83"});
    EXPECT_EQ(seen, "Anna & Ben");
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
    EXPECT_FALSE(Menu().IsCloseRequested());

    answer = 0;
    EXPECT_EQ(OkTexts([this] { Menu().Img2Click(); }), QStringList{"Help 92"});
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
    EXPECT_FALSE(Menu().IsCloseRequested());

    answer = -2;
    EXPECT_TRUE(OkTexts([this] { Menu().Img2Click(); }).isEmpty());
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
    EXPECT_TRUE(Menu().IsCloseRequested());
}

TEST_F(MainMenuTest, ANewProjectFromTheWizardGoesToTheProjectMenu)
{
    int menus = 0;
    Menu().SetWizardRunner([this] {
        // The menu's pictures are released while the wizard runs.
        EXPECT_FALSE(Menu().ImgBG->HasPicture());
        return std::make_unique<evProject>("Anna", "Ben", 1.0, "Rose.evl", ThreePages());
    });
    Menu().SetProjectMenuRunner([&] {
        ++menus;
        return -2;
    });
    Menu().Img1Click();
    EXPECT_EQ(menus, 1);
    EXPECT_TRUE(Menu().ImgBG->HasPicture());
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
    EXPECT_TRUE(Menu().IsCloseRequested());

    Menu().BeginRun();
    Menu().SetWizardRunner([] { return nullptr; });
    Menu().Img1Click();
    EXPECT_EQ(menus, 1);
    EXPECT_FALSE(Menu().IsCloseRequested());
}
