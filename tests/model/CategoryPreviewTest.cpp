// The rendered preview of a category's page: its file in the temporary folder, when it is rendered again, and
// the empty-slot marks the rendering passes down to the slots.
#include "AlbumTestSupport.h"

#include "model/CategoryPreview.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Color.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using CategoryPreviewTest = TempFolderTest;

// A 40 x 30 page layout 1000 with an empty picture slot 10 at (5, 5) and a text slot 11 at (20, 15); the page
// holds a blank user text for the text slot.
class CategoryRenderTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        auto design = std::make_unique<evLayout>("Rose", "", 40, 30);
        evPageLayout* layout = AddPageLayout(*design, 1000, 2);
        PlaceOwnElement(*layout, WithID(std::make_unique<evUserPicture>("p", 10, 8), 10), 20, 5, 5);
        PlaceOwnElement(*layout, Field(11, "kept"), 21, 20, 15);
        auto page = std::make_unique<evCategory>("page", "", false, 3);
        m_project = std::make_unique<evProject>("A", "B", 0.0, "Rose.evl", std::move(page));
        m_project->SetDesign(std::move(design));
        m_project->GiveTreeProject();
        m_page = m_project->GetFirstCategory();
        m_page->SetPageLayoutID(1000);
        m_page->AddUserElement(11, Field(11, " "));
    }
    void TearDown() override
    {
        m_project.reset();
        TempFolderTest::TearDown();
    }
    static std::unique_ptr<evUserTextfield> Field(int32_t id, const std::string& text)
    {
        return WithID(std::make_unique<evUserTextfield>("t", text, "Arial", 0, 8, false, false, false, 0, 12, 8), id);
    }
    Bitmap Preview() const
    {
        Bitmap preview;
        m_page->AssignPreviewTo(preview);
        return preview;
    }

    std::unique_ptr<evProject> m_project;
    evCategory* m_page = nullptr;
};

} // namespace

TEST_F(CategoryPreviewTest, FileIsReservedOnceAndDeletedWithThePreview)
{
    std::string first;
    {
        CategoryPreview preview;
        EXPECT_TRUE(preview.IsDirty());
        EXPECT_TRUE(preview.RenderFailed());
        EXPECT_FALSE(preview.IsCurrent());
        first = preview.ReserveFile();
        EXPECT_TRUE(fs::exists(first));
        EXPECT_EQ(fs::path(first).parent_path(), m_folder);
        EXPECT_EQ(preview.ReserveFile(), first);
        EXPECT_FALSE(preview.IsCurrent()); // a file alone is no rendering

        preview.SetRendered(false);
        EXPECT_TRUE(preview.IsCurrent()); // a failure holds as well until the content changes
        EXPECT_TRUE(preview.RenderFailed());
        preview.SetRendered(true);
        EXPECT_FALSE(preview.RenderFailed());
        preview.MarkDirty();
        EXPECT_FALSE(preview.IsCurrent());
        EXPECT_FALSE(preview.RenderFailed());

        preview.Discard();
        EXPECT_FALSE(fs::exists(first));
        EXPECT_TRUE(preview.GetFile().empty());
        EXPECT_TRUE(preview.IsDirty());
        EXPECT_TRUE(preview.RenderFailed());
        preview.ReserveFile();
        EXPECT_EQ(CountTempFiles(), 1);
    }
    EXPECT_EQ(CountTempFiles(), 0);
}

TEST_F(CategoryRenderTest, EmptySlotsAreMarkedOnlyWhenAsked)
{
    for (bool markEmpty : {false, true, false}) {
        SCOPED_TRACE(markEmpty ? "marked" : "unmarked");
        m_page->MarkDirty();
        ASSERT_TRUE(m_page->Render(nullptr, markEmpty));
        const Bitmap preview = Preview();
        EXPECT_EQ(preview.Pixel(10, 9) == kColorDarkRed, markEmpty);  // the picture slot without a photograph
        EXPECT_EQ(preview.Pixel(26, 19) == kColorDarkRed, markEmpty); // the blank user text
    }
    // A current preview is not rendered again: the marks asked for now do not appear.
    EXPECT_TRUE(m_page->Render(nullptr, true));
    EXPECT_NE(Preview().Pixel(10, 9), kColorDarkRed);
}

TEST_F(CategoryRenderTest, ChangingThePageLayoutDiscardsThePreview)
{
    const int otherFiles = CountTempFiles(); // the page layout's own preview
    ASSERT_TRUE(m_page->Render(nullptr, false));
    const std::string file = m_page->GetPreview().GetFile();
    EXPECT_TRUE(fs::exists(file));
    EXPECT_FALSE(m_page->IsDirty());

    m_page->SetPageLayoutID(4711); // not in the design
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(m_page->IsDirty());
    EXPECT_FALSE(m_page->Render(nullptr, false));
    EXPECT_TRUE(m_page->RenderFailed());
    EXPECT_EQ(CountTempFiles(), otherFiles); // no file is taken for a page that cannot be rendered

    m_page->SetPageLayoutID(1000);
    EXPECT_TRUE(m_page->Render(nullptr, false));
    const std::string second = m_page->GetPreview().GetFile();
    EXPECT_TRUE(fs::exists(second));
    m_project.reset();
    EXPECT_FALSE(fs::exists(second));
}

// A temporary folder that vanished makes a failed rendering, never an error; the name taken is kept, and once
// the folder is back the next rendering writes it.
TEST_F(CategoryRenderTest, APreviewThatCannotBeWrittenIsAFailedRendering)
{
    const std::string gone = TempPath("gone");
    SetTempFolder(gone);
    EXPECT_FALSE(m_page->Render(nullptr, false));
    EXPECT_TRUE(m_page->RenderFailed());
    EXPECT_FALSE(m_page->Render(nullptr, false)); // nothing changed, nothing is tried again

    fs::create_directories(gone);
    m_page->MarkDirty();
    EXPECT_TRUE(m_page->Render(nullptr, false));
    EXPECT_EQ(fs::path(m_page->GetPreview().GetFile()).parent_path(), fs::path(gone));
    EXPECT_TRUE(fs::exists(m_page->GetPreview().GetFile()));
}

// A thumbnail is kept in memory until the page changes; it needs no preview file, and one that cannot be made
// is not tried again until the page changes. A current preview file is used as it is.
TEST_F(CategoryRenderTest, ThumbnailsAreKeptUntilThePageChanges)
{
    const int filesBefore = CountTempFiles();
    Bitmap strip(30, 20);
    const TRect rect = Rect(10, 5, 30, 20);
    ASSERT_TRUE(m_page->DrawThumbnail(rect, strip.GetCanvas()));
    EXPECT_EQ(CountTempFiles(), filesBefore) << "no preview file for a thumbnail";
    const Bitmap* kept = m_page->GetPreview().Thumbnail(20, 15);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(strip.Pixel(10, 5), kept->Pixel(0, 0));
    EXPECT_EQ(m_page->GetPreview().Thumbnail(21, 15), nullptr) << "kept for its own size only";

    m_page->MarkDirty();
    EXPECT_EQ(m_page->GetPreview().Thumbnail(20, 15), nullptr);

    m_page->SetPageLayoutID(4711); // not in the design
    EXPECT_FALSE(m_page->DrawThumbnail(rect, strip.GetCanvas()));
    EXPECT_TRUE(m_page->GetPreview().ThumbnailFailed());
    m_page->SetPageLayoutID(1000);
    EXPECT_FALSE(m_page->GetPreview().ThumbnailFailed());
    EXPECT_TRUE(m_page->DrawThumbnail(rect, strip.GetCanvas()));

    // With a current preview file the thumbnail is that file reduced, marks and all.
    ASSERT_TRUE(m_page->Render(nullptr, true));
    strip = Bitmap(40, 30);
    ASSERT_TRUE(m_page->DrawThumbnail(Rect(0, 0, 40, 30), strip.GetCanvas()));
    EXPECT_EQ(strip.Pixel(10, 9), kColorDarkRed) << "the empty slot as the preview marks it";
    m_page->MarkDirty();
    ASSERT_TRUE(m_page->DrawThumbnail(Rect(0, 0, 40, 30), strip.GetCanvas()));
    EXPECT_NE(strip.Pixel(10, 9), kColorDarkRed) << "rendered for the thumbnail: no marks";
}
