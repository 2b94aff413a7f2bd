// The findings pop-up of finishing through its handlers, and the timeline's markers for sample texts and empty
// slide shows.
#include "screens/ScreenTestSupport.h"

#include "model/PageCompleteness.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/Preflight.h"
#include "screens/TformFindingsPopUp.h"
#include "screens/TframeTimeline.h"

#include <QPlainTextEdit>

using namespace screentest;

namespace {

std::vector<PreflightFinding> Findings(int count)
{
    std::vector<PreflightFinding> findings;
    findings.push_back({"Welcome / Ceremony", PreflightKind::NoLayout, "left off"});
    for (int i = 1; i < count; ++i)
        findings.push_back({"Page " + std::to_string(i), PreflightKind::TemplateText, "sample"});
    return findings;
}

class TformFindingsPopUpTest : public SkinTest {};

} // namespace

TEST_F(TformFindingsPopUpTest, ListsAtMostFiftyAndCountsTheRest)
{
    struct Case {
        int findings, lines;
        const char* last;
    };
    for (const Case& c : {Case{1, 1, "(!) Welcome / Ceremony: left off"}, Case{50, 50, "Page 49: sample"},
                          Case{51, 51, " ... and 1 more"}, Case{120, 51, " ... and 70 more"}}) {
        SCOPED_TRACE(c.findings);
        const QString text = TformFindingsPopUp::FindingsText(Findings(c.findings), " ... and %1 more");
        const QStringList lines = text.split('\n');
        EXPECT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines.front().toStdString(), "(!) Welcome / Ceremony: left off");
        EXPECT_EQ(lines.back().toStdString(), c.last);
    }
}

TEST_F(TformFindingsPopUpTest, FinishAnywayOrGoBack)
{
    TformFindingsPopUp popup;
    const std::pair<std::function<void()>, bool> answers[] = {
        {[&popup] { popup.imgBtnFinishClick(); }, true},
        {[&popup] { popup.imgBtnBackClick(); }, false},
    };
    for (const auto& [answer, finish] : answers) {
        popup.Prepare(Findings(3));
        EXPECT_TRUE(popup.memoText->toPlainText().startsWith("(!) Welcome / Ceremony"));
        EXPECT_FALSE(popup.GetFinishAnyway());
        answer();
        EXPECT_EQ(popup.GetFinishAnyway(), finish);
        EXPECT_TRUE(popup.IsCloseRequested());
        popup.EndRun();
    }
}

// T and B keep the meaning of the completeness bits, except for a sample text and an empty slide show.
TEST_F(TformFindingsPopUpTest, MarkersShowSampleTextsAndEmptySlideShowsUnfinished)
{
    using namespace finishtest;
    const auto withText = [](const std::string& title, const std::string& text) {
        auto page = Page(title, 16);
        page->AddUserElement(FieldId(16, 4), std::make_unique<evUserTextfield>("own", text, "DejaVu Sans", 0, 10, false,
                                                                               false, false, 0, 300, 30));
        return page;
    };
    auto labels = withText("Labels", "Own");
    auto written = withText("Written", "Ours");
    auto slides = Page("Slides", 12);
    auto filled = Page("Filled", 12);
    filled->AddUserElement(ActionId(12, 1), SolidPicture(80, 60, 0));
    evCategory* pages[] = {labels.get(), written.get(), slides.get(), filled.get()};
    labels->AppendSibling(std::move(written));
    labels->AppendSibling(std::move(slides));
    labels->AppendSibling(std::move(filled));
    evProject project("Anna", "Ben", 38000.0, "Finish Test.evl", std::move(labels));
    project.SetDesign(MakeDesign());

    struct Case {
        int32_t stored, shown; // the bits as GetCompleteness gives them, and as the strip shows them
    };
    const Case cases[] = {
        {cbLayoutSet | cbNoPictures | cbTextsFilled, cbLayoutSet | cbNoPictures},
        {cbLayoutSet | cbNoPictures | cbTextsFilled, cbLayoutSet | cbNoPictures | cbTextsFilled},
        {cbLayoutSet | cbPicturesFilled | cbNoTexts, cbLayoutSet | cbNoTexts},
        {cbLayoutSet | cbPicturesFilled | cbNoTexts, cbLayoutSet | cbPicturesFilled | cbNoTexts},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(pages[i]->GetTitle());
        EXPECT_EQ(GetCompleteness(*pages[i]), cases[i].stored);
        EXPECT_EQ(TframeTimeline::DisplayedCompleteness(*pages[i]), cases[i].shown);
    }
}
