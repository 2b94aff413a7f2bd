// Pictures scaled and encoded ahead on worker threads: the pages rendered with them are the pages rendered
// without them, byte for byte, and finishing with them writes those pages in order.
#include "presentation/FinishTestAlbum.h"

#include "model/PageOrder.h"
#include "model/PreparedPictures.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProjectorPage.h"
#include "platform/Jpeg.h"
#include "presentation/DiscProducer.h"
#include "presentation/PresentationFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <vector>

using namespace finishtest;

namespace {

constexpr int32_t kPhotoLayout = 20;
constexpr int32_t kBackgroundId = 2000;

// Shading with texture, so that scaling and encoding differences would show in the bytes.
JpegImage PhotoLike(int width, int height, int seed)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y,
                            static_cast<TColor>(((x * 7 + seed * 40) & 0xFF) | (((y * 5 + x) & 0xFF) << 8) |
                                                (((x ^ y) * seed & 0xFF) << 16)));
    return JpegImage::FromBitmap(bitmap);
}

// The finish test album with a page layout of a background and three photograph slots (the third left empty on
// every other page), and six pages of it behind the navigation pages; one photograph is damaged.
std::unique_ptr<evProject> MakePhotoAlbum()
{
    std::unique_ptr<evProject> project = MakeAlbum();
    evLayout& design = *project->GetDesign();
    design.GetElementsA().Add(WithID(std::make_unique<evPicture>("background", PhotoLike(640, 480, 1)), kBackgroundId));
    evPageLayout& layout = *AddPageLayout(design, kPhotoLayout, 3);
    layout.GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(0, 0, 0, kBackgroundId), kBackgroundId + 1));
    AddSlot(layout, 1, Rect(10, 10, 150, 110), 0);
    AddSlot(layout, 2, Rect(170, 10, 310, 200), 0);
    AddSlot(layout, 3, Rect(10, 130, 90, 190), 0);
    const std::vector<uint8_t> whole = PhotoLike(500, 400, 9).Bytes();
    const JpegImage damaged = JpegImage::FromBytes(std::vector<uint8_t>(whole.begin(), whole.end() - 900));
    for (int i = 0; i < 6; ++i) {
        auto page = Page("Photographs " + std::to_string(i), kPhotoLayout);
        page->AddUserElement(FieldId(kPhotoLayout, 1), std::make_unique<evPicture>("a", PhotoLike(800, 600, i + 2)));
        page->AddUserElement(FieldId(kPhotoLayout, 2),
                             i == 3 ? std::make_unique<evPicture>("bad", damaged)
                                    : std::make_unique<evPicture>("b", PhotoLike(300, 420, i + 3)));
        if (i % 2 == 0)
            page->AddUserElement(FieldId(kPhotoLayout, 3), std::make_unique<evPicture>("c", PhotoLike(90, 70, i)));
        page->SetProject(project.get());
        project->GetFirstCategory()->AppendSibling(std::move(page));
    }
    return project;
}

class PreparedPicturesTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_project = MakePhotoAlbum();
        PageOrder::Flatten(m_project->GetFirstCategory(), m_pages, true);
        for (evCategory* page : m_pages)
            m_plain.push_back(SavedBody(*page->CreatePresentationPage()));
    }

    std::unique_ptr<evProject> m_project;
    std::vector<evCategory*> m_pages;
    std::vector<std::vector<uint8_t>> m_plain; // every page rendered without prepared pictures
};

} // namespace

TEST_F(PreparedPicturesTest, PagesAreTheSameAndEveryPreparedPictureIsUsed)
{
    {
        PreparedPictures prepared(3);
        // All pages queued at once, so that workers run ahead of the rendering as far as they can.
        for (size_t i = 0; i < m_pages.size(); ++i)
            prepared.Prepare(static_cast<int32_t>(i), *m_pages[i]);
        EXPECT_EQ(prepared.Pending(), 6 * 3 + 3u) << "background, two or three photographs per photograph page";
        for (size_t i = 0; i < m_pages.size(); ++i) {
            const PreparedPictures::Scope scope(prepared, static_cast<int32_t>(i));
            EXPECT_EQ(SavedBody(*m_pages[i]->CreatePresentationPage()), m_plain[i]) << "page " << i;
            EXPECT_FALSE(m_pages[i]->RenderFailed()) << "page " << i;
        }
        EXPECT_EQ(prepared.Pending(), 0u);
    }
}

TEST_F(PreparedPicturesTest, ResultsOnlyReachTheirOwnPageAndScope)
{
    PreparedPictures prepared(2);
    const evPicture& background = *dynamic_cast<const evPicture*>(m_project->GetDesign()->FindByID(kBackgroundId));
    prepared.Prepare(7, background, 32, 24);
    prepared.Prepare(7, background, 32, 24); // the same picture twice on a page: two results
    EXPECT_FALSE(PreparedPictures::Take(background, 32, 24)) << "no scope";
    {
        const PreparedPictures::Scope other(prepared, 6);
        EXPECT_FALSE(PreparedPictures::Take(background, 32, 24)) << "another page";
    }
    const PreparedPictures::Scope scope(prepared, 7);
    EXPECT_FALSE(PreparedPictures::Take(background, 33, 24)) << "another size";
    for (int i = 0; i < 2; ++i) {
        const std::optional<PreparedPicture> taken = PreparedPictures::Take(background, 32, 24);
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->scaled.Width(), 32);
        EXPECT_EQ(taken->snapshot.Bytes(), JpegImage::FromBitmap(background.ScaledTo(32, 24)).Bytes());
    }
    EXPECT_FALSE(PreparedPictures::Take(background, 32, 24)) << "each result is taken once";
}

TEST_F(PreparedPicturesTest, DiscardingAndStoppingWithWorkQueuedEndsCleanly)
{
    const evPicture& background = *dynamic_cast<const evPicture*>(m_project->GetDesign()->FindByID(kBackgroundId));
    for (int round = 0; round < 3; ++round) {
        PreparedPictures prepared(2);
        for (int32_t page = 0; page < 20; ++page)
            prepared.Prepare(page, background, 300 + page, 200);
        for (int32_t page = 0; page < 20; page += 2)
            prepared.Discard(page);
        EXPECT_LE(prepared.Pending(), 10u);
        // Destroyed with work queued and running: the workers stop, nothing is left behind.
    }
}

// Thumbnails drawn with photographs decoded ahead are the thumbnails drawn without; the design's background is
// decoded once for all pages and stays until the end, the photographs are used once.
TEST_F(PreparedPicturesTest, ThumbnailsAreTheSameAndTheDesignPictureIsDecodedOnce)
{
    constexpr int kWidth = 100;
    constexpr int kHeight = 75;
    std::vector<Bitmap> plain;
    for (evCategory* page : m_pages) {
        page->MarkDirty(); // the set-up's rendering left preview files that a thumbnail would be made from
        Bitmap thumbnail(kWidth, kHeight);
        page->DrawThumbnail(Rect(0, 0, kWidth, kHeight), thumbnail.GetCanvas());
        plain.push_back(thumbnail);
        page->MarkDirty();
    }
    PreparedPictures prepared(2);
    for (size_t i = 0; i < m_pages.size(); ++i)
        prepared.PrepareThumbnail(static_cast<int32_t>(i), *m_pages[i], kWidth, kHeight);
    EXPECT_EQ(prepared.Pending(), 6 * 2 + 3 + 1u) << "two or three photographs per page, one background";
    for (size_t i = 0; i < m_pages.size(); ++i) {
        Bitmap thumbnail(kWidth, kHeight);
        {
            const PreparedPictures::Scope scope(prepared, static_cast<int32_t>(i));
            m_pages[i]->DrawThumbnail(Rect(0, 0, kWidth, kHeight), thumbnail.GetCanvas());
        }
        prepared.Discard(static_cast<int32_t>(i));
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                differing += thumbnail.Pixel(x, y) != plain[i].Pixel(x, y);
        EXPECT_EQ(differing, 0) << "page " << i;
    }
    EXPECT_EQ(prepared.Pending(), 1u) << "the background";
    // Kept thumbnails need nothing decoded.
    prepared.PrepareThumbnail(0, *m_pages.back(), kWidth, kHeight);
    EXPECT_EQ(prepared.Pending(), 1u);
}

// A thumbnail rendered with the photographs decoded for its size looks like the full-size page reduced.
TEST_F(PreparedPicturesTest, AThumbnailLooksLikeTheReducedPage)
{
    constexpr int kWidth = 80;
    constexpr int kHeight = 60;
    evCategory& page = *m_pages.back();
    Bitmap thumbnail(kWidth, kHeight);
    ASSERT_TRUE(page.DrawThumbnail(Rect(0, 0, kWidth, kHeight), thumbnail.GetCanvas()));
    ASSERT_TRUE(page.Render(nullptr, false));
    Bitmap full;
    page.AssignPreviewTo(full);
    Bitmap reduced(kWidth, kHeight);
    reduced.GetCanvas().StretchDraw(Rect(0, 0, kWidth, kHeight), full);
    int64_t difference = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int shift : {0, 8, 16})
                difference += std::abs(static_cast<int>((thumbnail.Pixel(x, y) >> shift) & 0xFF) -
                                       static_cast<int>((reduced.Pixel(x, y) >> shift) & 0xFF));
    EXPECT_LT(difference / (kWidth * kHeight * 3.0), 6.0) << "mean difference in levels";
}

TEST_F(PreparedPicturesTest, FinishingWritesThePagesInOrderAsRenderedAlone)
{
    QTemporaryDir out;
    DiscProducer producer(*m_project, DiscFolderFor(out.path().toStdString()));
    std::vector<int> progress;
    producer.SetProgress([&](int percent) { progress.push_back(percent); });
    ASSERT_NO_THROW(producer.Produce());
    const auto file =
        PresentationFile::ReadFromFile(DiscFolderFor(out.path().toStdString()) + "/" + DiscProducer::kPresentationFile);
    ASSERT_EQ(file->pages.size(), m_plain.size());
    for (size_t i = 0; i < m_plain.size(); ++i)
        EXPECT_EQ(SavedBody(*file->pages[i]), m_plain[i]) << "page " << i;
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
}
