#include "screens/WizardTestSupport.h"

#include "screens/TFormNewProject2.h"

#include <numeric>

using namespace wizardtest;

namespace {

TEST_F(WizardTest, DesignListShowsSixteenRowsAndScrollsOneRowPerPress)
{
    for (int i = 0; i < 17; ++i)
        InstallDesign(i == 2 ? "Rose & Ivy" : "D" + std::to_string(i), {"W", "M", "E", "cd"}, i == 16);
    TFormNewProject2 page;
    page.Prepare(m_context.GetDesigns());
    ASSERT_EQ(page.GetLabels().size(), 17u);
    EXPECT_EQ(page.GetSelected(), 0);
    EXPECT_EQ(page.GetSelectedFileName(), "D0.evl");
    EXPECT_EQ(page.GetLabels()[2]->Caption(), "Rose && Ivy");
    EXPECT_EQ(page.GetLabels()[0]->FontColour(), kColorWhite);
    EXPECT_TRUE(page.GetLabels()[0]->autoFillBackground());
    EXPECT_TRUE(page.GetPreviewJpeg().IsEmpty());

    auto visibleRows = [&page] {
        std::vector<int> rows;
        for (size_t i = 0; i < page.GetLabels().size(); ++i) {
            if (!page.GetLabels()[i]->isHidden())
                rows.push_back(static_cast<int>(i));
        }
        return rows;
    };
    std::vector<int> firstSixteen(16);
    std::iota(firstSixteen.begin(), firstSixteen.end(), 0);
    EXPECT_EQ(visibleRows(), firstSixteen);

    // Down moves once; a second press does nothing. Up moves back once.
    const struct {
        void (TFormNewProject2::*press)();
        int firstVisible;
    } steps[] = {{&TFormNewProject2::ImgDownMouseDown, 1},
                 {&TFormNewProject2::ImgDownMouseDown, 1},
                 {&TFormNewProject2::ImgUpMouseDown, 0},
                 {&TFormNewProject2::ImgUpMouseDown, 0},
                 {&TFormNewProject2::ImgDownMouseDown, 1}};
    for (const auto& step : steps) {
        (page.*step.press)();
        EXPECT_EQ(page.GetFirstVisible(), step.firstVisible);
        std::vector<int> expected(16);
        std::iota(expected.begin(), expected.end(), step.firstVisible);
        EXPECT_EQ(visibleRows(), expected);
        EXPECT_EQ(page.GetLabels()[16]->y(), 205 + 17 * (16 - step.firstVisible));
    }

    page.SelectDesign(16);
    EXPECT_EQ(page.GetSelectedFileName(), "D16.evl");
    EXPECT_EQ(page.GetLabels()[0]->FontColour(), kColorBlack);
    EXPECT_FALSE(page.GetLabels()[0]->autoFillBackground());
    EXPECT_EQ(page.GetLabels()[16]->FontColour(), kColorWhite);
    // Its sample picture fills the preview and is kept for the full-screen view.
    EXPECT_EQ(page.GetPreviewJpeg().Width(), 40);
    EXPECT_EQ(page.imgLayoutPreview->Picture().size(), QSize(400, 300));
    const QColor middle = page.imgLayoutPreview->Picture().pixelColor(200, 150);
    EXPECT_GT(middle.red(), 180);
    EXPECT_LT(middle.green(), 30);
    page.Image2Click();
    EXPECT_TRUE(page.GetAccepted());
    page.Finish();
    EXPECT_TRUE(page.GetLabels().empty());
}

} // namespace
