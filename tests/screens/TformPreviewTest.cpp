#include "screens/ScreenTestSupport.h"

#include "model/AlbumTestSupport.h"
#include "model/ProjectFile.h"
#include "model/evBranding.h"
#include "model/evProject.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "platform/Jpeg.h"
#include "screens/TformPreview.h"
#include "screens/ViewerWidget.h"

#include <QTest>

using namespace screentest;

namespace {

// A project of three pages on a design with the special page layouts.
std::unique_ptr<evProject> ThreePageProject()
{
    auto project = std::make_unique<evProject>("Anna", "Ben", 1.0, "Rose.evl", PageChain({"Welcome", "Menu", "End"}));
    auto design = std::make_unique<evLayout>("Rose", "", 64, 48);
    AddPageLayout(*design, 1000, 0, "W");
    AddPageLayout(*design, 1001, 0, "M");
    AddPageLayout(*design, 1002, 0, "E");
    AddPageLayout(*design, 1003, 0, "cd");
    project->SetDesign(std::move(design));
    BindSpecialPageLayouts(*project, ProjectBinding::Opening);
    return project;
}

int CountTargets(const evProjectorPage& page, int32_t target)
{
    int count = 0;
    for (int32_t i = 0; i < page.GetNaviActions().Count(); ++i) {
        const auto* action = page.GetNaviActions().GetItemAs<evProjectorNaviAction>(i);
        if (action && action->GetTarget() == target)
            ++count;
    }
    return count;
}

class TformPreviewTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_context.SetCurrentProject(ThreePageProject());
        Screens().formPreview = std::make_unique<TformPreview>();
    }
    // Shows the album's first page.
    void PrepareWelcome() { Preview().PreparePage(Project().GetFirstCategory()->CreatePresentationPage()); }

    static TformPreview& Preview() { return *Screens().formPreview; }
    const JpegImage m_sample = JpegImage::FromBitmap(Bitmap(QImage(40, 30, QImage::Format_RGB32)), 90);
};

} // namespace

TEST_F(TformPreviewTest, APageIsViewedWithACloseAreaAddedOnceAndNavigationReplacesIt)
{
    TformPreview& preview = Preview();
    PrepareWelcome();
    evProjectorPage* page = preview.GetPage();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->IsViewing());
    EXPECT_FALSE(preview.imgClose->isVisibleTo(preview.Panel()));
    ASSERT_EQ(CountTargets(*page, -1), 1);
    const auto* close = page->GetNaviActions().GetItemAs<evProjectorNaviAction>(page->GetNaviActions().Count() - 1);
    // In the top right corner, clear of the page's own buttons (the test bundle's picture 148 is 149 x 2).
    EXPECT_EQ(close->GetRect(), Rect(770, 4, 770 + 149, 4 + 2));
    page->Render(preview.imgPreview->Picture().GetCanvas());
    page->Render(preview.imgPreview->Picture().GetCanvas());
    EXPECT_EQ(CountTargets(*page, -1), 1);

    // Navigation replaces the page, which gets its close area as well.
    preview.GoToTarget(2);
    const evProjectorPage* third = preview.GetPage();
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, page);
    EXPECT_TRUE(third->IsViewing());
    EXPECT_EQ(CountTargets(*third, -1), 1);

    // A page the project does not have leaves the page shown.
    preview.GoToTarget(3);
    EXPECT_EQ(preview.GetPage(), third);
    EXPECT_FALSE(preview.IsCloseRequested());

    preview.GoToTarget(-1);
    EXPECT_TRUE(preview.IsCloseRequested());
    preview.FinishPage();
    EXPECT_EQ(preview.GetPage(), nullptr);
    EXPECT_TRUE(preview.imgPreview->Picture().IsEmpty());
}

// A design's sample is shown at the size of the design's page (the design choice's "Full size"), reduced to fit
// the panel when the page is larger, and as it is without a size.
TEST_F(TformPreviewTest, APictureIsShownAtTheSizeAskedForWithinThePanel)
{
    const struct {
        QSize asked, shown;
    } cases[] = {
        {QSize(), QSize(40, 30)},
        {QSize(800, 600), QSize(800, 600)},
        {QSize(2048, 1536), QSize(1024, 768)},
        {QSize(1600, 600), QSize(1024, 384)},
    };
    TformPreview& preview = Preview();
    for (const auto& c : cases) {
        preview.PreparePicture(m_sample, c.asked);
        EXPECT_EQ(preview.imgPreview->PictureArea().size(), c.shown) << c.asked.width();
        // The close button keeps to the top right corner, off a page's own buttons.
        EXPECT_EQ(preview.imgClose->pos(), QPoint(770, 4));
        preview.FinishPicture();
    }
    // Below a page shown in part of the window it goes back beneath the page.
    preview.PreparePageInArea(Project().GetFirstCategory()->CreatePresentationPage(), Geometry::Preview::ReducedPage);
    EXPECT_EQ(preview.imgClose->pos(), QPoint(387, 733));
    EXPECT_FALSE(preview.imgClose->geometry().intersects(QRect(62, 134, 900, 500)));
    preview.FinishPage();
}

// Escape closes the preview; Return leaves it open.
TEST_F(TformPreviewTest, EscapeClosesThePreview)
{
    TformPreview& preview = Preview();
    preview.PreparePicture(m_sample, QSize(1024, 768));
    QTest::keyClick(&preview, Qt::Key_Return);
    EXPECT_FALSE(preview.IsCloseRequested());
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_TRUE(preview.IsCloseRequested());
    preview.FinishPicture();
}

// A skin bundle without the close button's picture: the button is drawn plainly, on the page and beside it.
TEST_F(TformPreviewTest, WithoutItsSkinPictureTheCloseButtonIsDrawnPlainly)
{
    evBranding empty("main");
    SetSkinBranding(&empty);
    Screens().formPreview = std::make_unique<TformPreview>();
    SetSkinBranding(m_branding.get());
    TformPreview& preview = Preview();
    EXPECT_EQ(preview.imgClose->Picture().size(), QSize(250, 35));
    PrepareWelcome();
    const evProjectorPage& page = *preview.GetPage();
    ASSERT_EQ(CountTargets(page, -1), 1);
    const auto* close = page.GetNaviActions().GetItemAs<evProjectorNaviAction>(page.GetNaviActions().Count() - 1);
    EXPECT_EQ(close->GetRect(), Rect(770, 4, 770 + 250, 4 + 35));
    const Bitmap& shown = preview.imgPreview->Picture();
    EXPECT_EQ(shown.Pixel(770, 20), kColorWhite); // the button's outline and its inside
    EXPECT_EQ(shown.Pixel(772, 6), RGBColor(60, 60, 60));
    preview.GoToTarget(-1);
    EXPECT_TRUE(preview.IsCloseRequested());
    preview.FinishPage();
}
