#include "screens/WizardTestSupport.h"

#include "model/PageOrder.h"
#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "screens/TFormNewProject1.h"
#include "screens/TFormNewProject2.h"
#include "screens/TFormNewProject3.h"
#include "screens/TTransEdit.h"

#include <QTest>
#include <QWheelEvent>

using namespace wizardtest;
using screentest::NewCategory;

namespace {

// Welcome, Story (kind 1) with the optional chapters C0 ..., End; all but the chapters fixed.
std::unique_ptr<evCategory> StoryTree(int chapters)
{
    auto first = NewCategory("Welcome", false);
    auto story = NewCategory("Story", false, 1);
    for (int i = 0; i < chapters; ++i)
        story->AddChild(NewCategory("C" + std::to_string(i), true));
    first->AppendSibling(std::move(story));
    first->AppendSibling(NewCategory("End", false));
    return first;
}

// The rows as the page lists them: one "-" per level of depth before each title.
std::string Outline(const TFormNewProject3& page)
{
    std::string text;
    for (size_t r = 0; r < page.GetRows().size(); ++r)
        text += (r ? "|" : "") + std::string(static_cast<size_t>(page.GetRowDepths()[r]), '-') +
                page.GetRows()[r]->GetTitle();
    return text;
}

std::string Chapters(int count, const std::string& insertAfterC0 = "")
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "|-C" + std::to_string(i);
        if (i == 0 && !insertAfterC0.empty())
            text += "|" + insertAfterC0;
    }
    return text;
}

class NewProject3Test : public WizardTest {
protected:
    void PrepareWizard(TFormNewProject3& page, std::unique_ptr<evCategory> tree, const std::string& first = "Anna",
                       const std::string& second = "Ben", const std::string& design = "Rose.evl")
    {
        page.PrepareWizard(first, second, design, 46362.0, tree.get());
    }
};

TEST_F(NewProject3Test, EditButtonsKeepTheLevelLimitAndRefuseBlankNames)
{
    using Handler = void (TFormNewProject3::*)();
    struct Case {
        const char* what;
        int chapters, row;
        Handler handler;
        std::optional<QString> typed;
        bool yes;
        QStringList messages;
        std::string outline;
    };
    const auto N = &TFormNewProject3::imgBtnNewClick;
    const auto S = &TFormNewProject3::imgBtnNewSubClick;
    const auto E = &TFormNewProject3::imgBtnEditNameClick;
    const auto R = &TFormNewProject3::imgBtnRemoveClick;
    const Case cases[] = {
        {"6 entries accept one more", 6, 2, N, "Seven", false, {}, "Welcome|Story" + Chapters(6, "-Seven") + "|End"},
        {"7 entries refuse", 7, 2, N, "Eight", false, {"Help 115"}, "Welcome|Story" + Chapters(7) + "|End"},
        {"sub-level of 7 refuses", 7, 1, S, "Last", false, {"Help 115"}, "Welcome|Story" + Chapters(7) + "|End"},
        {"blank title", 2, 2, N, " \t ", false, {"Help 114"}, "Welcome|Story" + Chapters(2) + "|End"},
        {"blanks kept", 2, 2, S, " x ", false, {}, "Welcome|Story|-C0|-- x |-C1|End"},
        {"fixed: no new", 2, 0, N, "New", false, {}, "Welcome|Story" + Chapters(2) + "|End"},
        {"rename fixed", 2, 0, E, " W2 ", false, {}, " W2 |Story" + Chapters(2) + "|End"},
        {"rename blank", 2, 3, E, "", false, {"Help 114"}, "Welcome|Story" + Chapters(2) + "|End"},
        {"remove fixed", 2, 1, R, std::nullopt, true, {"Help 191"}, "Welcome|Story" + Chapters(2) + "|End"},
        {"remove: yes", 2, 2, R, std::nullopt, true, {}, "Welcome|Story|-C1|End"},
    };
    for (const Case& c : cases) {
        TFormNewProject3 page;
        PrepareWizard(page, StoryTree(c.chapters));
        EXPECT_FALSE(page.imgBtnDisabled->isHidden());
        page.SelectRow(c.row);
        EXPECT_TRUE(page.imgBtnDisabled->isHidden());
        PopupScript popups;
        popups.entryAnswers.push_back(c.typed);
        popups.yesNoAnswers.push_back(c.yes);
        (page.*c.handler)();
        EXPECT_EQ(popups.messages, c.messages) << c.what;
        EXPECT_EQ(Outline(page), c.outline) << c.what;
        EXPECT_EQ(page.GetRowLabels().size(), page.GetRows().size());
        page.FinishWizard();
    }
}

TEST_F(NewProject3Test, SwitchingOnReachesTheAncestorsAndOffTheWholeSubtree)
{
    // Welcome, Story (kind 1) > A > (A1 > A1a, A2), B; End.
    auto a = NewCategory("A", true);
    auto a1 = NewCategory("A1", true);
    a1->AddChild(NewCategory("A1a", true));
    a->AddChild(std::move(a1));
    a->AddChild(NewCategory("A2", true));
    auto story = NewCategory("Story", false, 1);
    story->AddChild(std::move(a));
    story->AddChild(NewCategory("B", true));
    auto tree = NewCategory("Welcome", false);
    tree->AppendSibling(std::move(story));
    tree->AppendSibling(NewCategory("End", false));

    TFormNewProject3 page;
    PrepareWizard(page, std::move(tree));
    ASSERT_EQ(Outline(page), "Welcome|Story|-A|--A1|---A1a|--A2|-B|End");
    auto states = [&page] {
        std::string text;
        for (size_t r = 0; r < page.GetRows().size(); ++r) {
            // Skin picture i is i + 1 pixels wide: 25 fixed, 23 on, 27 off.
            const int picture = page.GetRowIcons()[r]->Picture().width() - 1;
            text += picture == 25 ? 'F' : picture == 23 ? '+' : picture == 27 ? '-' : '?';
            EXPECT_EQ(picture, TFormNewProject3::IconPictureFor(*page.GetRows()[r]));
        }
        return text;
    };
    EXPECT_EQ(states(), "FF+++++F");
    const struct {
        int row;
        const char* after;
    } clicks[] = {
        {2, "FF----+F"}, // A off: all of its subtree off, B stays on
        {4, "FF+++-+F"}, // A1a on: A1 and A on again, A2 stays off
        {3, "FF+---+F"}, // A1 off with A1a
        {0, "FF+---+F"}, // fixed entries ignore clicks
        {5, "FF+--++F"},
    };
    for (const auto& click : clicks) {
        page.IconClick(click.row);
        EXPECT_EQ(states(), click.after) << click.row;
    }
    page.FinishWizard();
}

TEST_F(NewProject3Test, ArrowsMoveOneRowAClickAndGoOnWhileHeldAndANewChapterComesIntoView)
{
    // Twenty optional chapters, of which sixteen are visible.
    auto tree = NewCategory("T0", true);
    for (int i = 1; i < 20; ++i)
        tree->AppendSibling(NewCategory("T" + std::to_string(i), true));
    TFormNewProject3 page;
    PrepareWizard(page, std::move(tree));
    page.SelectRow(0);
    // A click: one row, and nothing more once released.
    page.imgBtnListDownMouseDown();
    EXPECT_EQ(page.GetFirstVisible(), 1);
    page.imgBtnListMouseUp();
    EXPECT_FALSE(page.ScrollTimer.isActive());
    // Held: after a pause, one row a tick, up to the last row.
    page.imgBtnListDownMouseDown();
    EXPECT_TRUE(page.ScrollTimer.isActive());
    EXPECT_EQ(page.ScrollTimer.interval(), TFormNewProject3::kScrollDelay);
    for (int tick = 0; tick < 6; ++tick)
        page.ScrollTimerTick();
    EXPECT_EQ(page.ScrollTimer.interval(), TFormNewProject3::kScrollInterval);
    EXPECT_EQ(page.GetFirstVisible(), 4); // 20 rows, 16 visible
    page.imgBtnListMouseUp();
    EXPECT_FALSE(page.ScrollTimer.isActive());
    EXPECT_FALSE(page.IsScrollingDown());
    // The selection scrolled out of view keeps its colours.
    EXPECT_EQ(page.GetRowLabels()[0]->FontColour(), kColorWhite);

    // The wheel over the list: three rows a notch, nothing beside the list.
    const auto wheel = [&page](QPoint at, int delta) {
        const QPointF point(at);
        QWheelEvent event(point, point, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(page.Panel(), &event);
    };
    const struct {
        int x, delta, firstVisible;
    } turns[] = {{600, 120, 1}, {600, -60, 1}, {600, -60, 4}, {200, 120, 4}};
    for (const auto& turn : turns) {
        wheel({turn.x, 300}, turn.delta);
        EXPECT_EQ(page.GetFirstVisible(), turn.firstVisible) << turn.x << " " << turn.delta;
    }

    // A new chapter at the end of the list comes into view.
    PopupScript popups;
    popups.entryAnswers = {QString("Dance")};
    page.SelectRow(19);
    page.imgBtnNewSubClick();
    ASSERT_EQ(page.GetRows().size(), 21u);
    EXPECT_EQ(page.GetRows()[20]->GetTitle(), "Dance");
    EXPECT_EQ(page.GetFirstVisible(), 5);
    EXPECT_FALSE(page.GetRowLabels()[20]->isHidden());
    page.FinishWizard();
}

TEST(NewProjectFileNameTest, TheFileAlwaysLiesInTheProjectsFolder)
{
    const struct {
        std::string first, second, expected;
    } cases[] = {
        {"../../etc/x", "y", ".._.._etc_x & y.evp"},
        {"/", "..", "_ & ...evp"},
        {"a\nb", std::string("c\0d", 3), "a_b & c_d.evp"},
        {"Zo\xC3\xAB", "\x7F", "Zo\xC3\xAB & _.evp"},
    };
    for (const auto& c : cases) {
        const std::string name = NewProjectFileName("/p/projects/", c.first, c.second);
        EXPECT_EQ(name, "/p/projects/" + c.expected);
        EXPECT_EQ(std::filesystem::path(name).parent_path(), "/p/projects");
    }
}

TEST_F(NewProject3Test, OkSavesTheProjectAndBindsTheSpecialPages)
{
    InstallDesign("Rose");
    TFormNewProject3 page;
    PrepareWizard(page, StoryTree(2), "Anna & Ben", "X");
    PopupScript popups;
    page.imgBtnOkClick();
    EXPECT_TRUE(popups.messages.isEmpty());
    EXPECT_TRUE(page.IsCloseRequested());
    std::unique_ptr<evProject> project = page.FinishWizard();
    ASSERT_NE(project, nullptr);
    const std::string path = ProjectsFolder() + "Anna & Ben & X.evp";
    EXPECT_EQ(m_context.GetProjectFileName(), path);
    ASSERT_NE(project->GetDesign(), nullptr);
    EXPECT_EQ(project->GetDesignFileName(), "Rose.evl");
    const evCategory* first = project->GetFirstCategory();
    EXPECT_EQ(first->GetPageLayoutID(), 1000);
    EXPECT_EQ(first->GetNext()->GetNext()->GetPageLayoutID(), 1002);
    ASSERT_NE(project->GetDiscLabelCategory(), nullptr);
    EXPECT_EQ(project->GetDiscLabelCategory()->GetTitle(), "cd label");
    EXPECT_EQ(project->GetDiscLabelCategory()->GetPageLayoutID(), 1003);
    EXPECT_FALSE(Screens().waitPopup->isVisible());

    // The file holds the project as it was before its design was attached.
    std::unique_ptr<evProject> saved = ReadProjectFile(path);
    EXPECT_EQ(saved->GetFirstName(), "Anna & Ben");
    EXPECT_EQ(saved->GetDate(), 46362.0);
    EXPECT_EQ(saved->GetDesignFileName(), "Rose.evl");
    EXPECT_TRUE(saved->GetFirstCategory()->IsEqual(StoryTree(2).get()));
}

TEST_F(NewProject3Test, OkReportsEachFailureAndEndsWithoutProject)
{
    InstallDesign("Rose");
    InstallDesign("NoLabel", {"W", "M", "E"});
    // The album is named by its two names, with a blank on either side and nothing left of an empty text.
    const QString exists = "Help 157 Anna && Ben Help 158";
    const struct {
        const char* what;
        std::string design;
        bool fileExists;
        std::optional<std::string> saveAnswer;
        bool removeProjectsFolder;
        QStringList messages;
        std::string writtenFile; // relative to the projects folder; empty: none but a file that existed
    } cases[] = {
        {"exists, other name chosen", "Rose.evl", true, "Other", false, {exists}, "Other.evp"},
        {"exists, name with extension", "Rose.evl", true, "Other.evp", false, {exists}, "Other.evp"},
        {"exists, dialog cancelled", "Rose.evl", true, std::nullopt, false, {exists, "Help 159"}, ""},
        {"file cannot be written", "Rose.evl", false, std::nullopt, true, {"Help 160"}, ""},
        {"design missing", "Missing.evl", false, std::nullopt, false, {"Help 161"}, "Anna & Ben.evp"},
        {"no cd page layout", "NoLabel.evl", false, std::nullopt, false, {"Help 161"}, "Anna & Ben.evp"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(ProjectsFolder());
        if (!c.removeProjectsFolder)
            std::filesystem::create_directories(ProjectsFolder());
        if (c.fileExists)
            apptest::WriteBytes({1, 2, 3}, ProjectsFolder() + "Anna & Ben.evp");
        m_context.SetProjectFileName("");
        screentest::AnsweringDialogs dialogs;
        dialogs.saveAnswers.push_back(c.saveAnswer ? std::optional(ProjectsFolder() + *c.saveAnswer) : std::nullopt);
        TFormNewProject3 page;
        PrepareWizard(page, StoryTree(1), "Anna", "Ben", c.design);
        PopupScript popups;
        page.imgBtnOkClick();
        EXPECT_EQ(popups.messages, c.messages) << c.what;
        EXPECT_TRUE(page.IsCloseRequested());
        std::unique_ptr<evProject> project = page.FinishWizard();
        const bool succeeds = c.messages.size() == 1 && c.fileExists;
        EXPECT_EQ(project != nullptr, succeeds) << c.what;
        EXPECT_FALSE(Screens().waitPopup->isVisible());
        if (c.fileExists) {
            ASSERT_EQ(dialogs.saveRequests.size(), 1u);
            EXPECT_EQ(dialogs.saveRequests[0].title, "Help 209");
            EXPECT_EQ(dialogs.saveRequests[0].initialFolder, ProjectsFolder());
            EXPECT_EQ(std::filesystem::file_size(ProjectsFolder() + "Anna & Ben.evp"), 3u) << c.what;
        }
        if (!c.writtenFile.empty()) {
            const std::string written = ProjectsFolder() + c.writtenFile;
            EXPECT_EQ(ReadProjectFile(written)->GetFirstName(), "Anna") << c.what;
            EXPECT_EQ(m_context.GetProjectFileName(), written);
        }
    }
}

TEST_F(NewProject3Test, EditModeReplacesTheTreeOnlyWhenAccepted)
{
    InstallDesign("Rose");
    UseAlbum(StoryTree(1));
    evProject& project = Project();
    for (const bool accept : {false, true}) {
        TFormNewProject3 page;
        page.PrepareEdit(project);
        EXPECT_TRUE(page.IsEditMode());
        page.SelectRow(2);
        PopupScript popups;
        popups.entryAnswers.push_back(QString("Added"));
        page.imgBtnNewClick();
        popups.yesNoAnswers.push_back(false);
        page.SelectRow(2);
        page.imgBtnRemoveClick();
        EXPECT_EQ(popups.questions, QStringList{"Help 189"});
        accept ? page.imgBtnOkClick() : page.imgBtnCancelClick();
        EXPECT_EQ(page.FinishEdit(project), accept);
        EXPECT_EQ(PageOrder::SiblingCount(project.GetFirstCategory()->GetNext()->GetSub()), accept ? 2 : 1);
        EXPECT_EQ(project.GetFirstCategory()->GetProject(), &project);
    }
    // Nothing is written in edit mode.
    EXPECT_TRUE(std::filesystem::is_empty(ProjectsFolder()));
}

// The one run of the real modal loops: page 1 reaches page 2, page 2 reaches page 3, whose OK ends the wizard.
TEST_F(FixedDayWizardTest, TheWholeWizardEndsWithTheSavedProject)
{
    InstallDesign("Lily");
    InstallDesign("Rose");
    // The chapter tree comes from the main data.
    evBranding branding("with tree", StoryTree(1), m_branding->GetHelpTexts().Clone(),
                        m_branding->GetPictures().Clone(), std::make_unique<evObjectCollection>(),
                        std::make_unique<evObjectCollection>());
    SetSkinBranding(&branding);
    ScreenSet& screens = Screens();
    screens.formNewProject1 = std::make_unique<TFormNewProject1>();
    screens.formNewProject2 = std::make_unique<TFormNewProject2>();
    screens.formNewProject3 = std::make_unique<TFormNewProject3>();
    QStringList seen;
    screentest::ModalAnswerer driver(
        [&](QWidget* modal) {
            if (modal == screens.formNewProject1.get()) {
                seen << "1";
                screens.formNewProject1->EditName1->setText("Anna");
                screens.formNewProject1->EditName2->setText("Ben");
                screens.formNewProject1->ImgApplyClick();
            } else if (modal == screens.formNewProject2.get()) {
                seen << "2";
                screens.formNewProject2->SelectDesign(1);
                screens.formNewProject2->Image2Click();
            } else if (modal == screens.formNewProject3.get()) {
                seen << "3";
                screens.formNewProject3->imgBtnOkClick();
            }
        },
        true);
    std::unique_ptr<evProject> project = screens.formNewProject1->Run();
    SetSkinBranding(m_branding.get());
    EXPECT_EQ(seen, (QStringList{"1", "2", "3"}));
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->GetDesignFileName(), "Rose.evl");
    EXPECT_EQ(project->GetDate(), 46362.0);
    EXPECT_TRUE(std::filesystem::exists(ProjectsFolder() + "Anna & Ben.evp"));
    EXPECT_EQ(project->GetFirstCategory()->GetNext()->GetSub()->GetTitle(), "C0");
}

} // namespace
