#include "screens/WizardTestSupport.h"

#include "screens/TFormNewProject2.h"

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
    EXPECT_TRUE(page.GetPreviewJpeg().IsEmpty());

    // Sixteen rows from the first visible one are shown, the last row below them.
    const auto expectRows = [&page](size_t first) {
        EXPECT_EQ(page.GetFirstVisible(), static_cast<int>(first));
        for (size_t i = 0; i < page.GetLabels().size(); ++i)
            EXPECT_EQ(page.GetLabels()[i]->isHidden(), i < first || i >= first + 16) << i;
        EXPECT_EQ(page.GetLabels()[16]->y(), 205 + 17 * (16 - static_cast<int>(first)));
    };
    expectRows(0);
    // Down moves once; a second press does nothing. Up moves back once.
    const auto down = &TFormNewProject2::ImgDownMouseDown, up = &TFormNewProject2::ImgUpMouseDown;
    const std::pair<void (TFormNewProject2::*)(), size_t> steps[] = {{down, 1}, {down, 1}, {up, 0}, {up, 0}};
    for (const auto& [press, first] : steps) {
        (page.*press)();
        expectRows(first);
    }

    page.SelectDesign(16);
    EXPECT_EQ(page.GetSelectedFileName(), "D16.evl");
    EXPECT_EQ(page.GetLabels()[0]->FontColour(), kColorBlack);
    EXPECT_EQ(page.GetLabels()[16]->FontColour(), kColorWhite);
    // Its sample picture fills the preview and is kept for the full-screen view.
    EXPECT_EQ(page.GetPreviewJpeg().Width(), 40);
    const QColor middle = page.imgLayoutPreview->Picture().pixelColor(200, 150);
    EXPECT_GT(middle.red(), 180);
    EXPECT_LT(middle.green(), 30);
    page.Image2Click();
    EXPECT_TRUE(page.GetAccepted());
    page.Finish();
    EXPECT_TRUE(page.GetLabels().empty());
}

} // namespace
