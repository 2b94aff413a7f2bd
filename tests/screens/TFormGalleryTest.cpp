#include "screens/ScreenTestSupport.h"

#include "model/AlbumTestSupport.h"
#include "model/evProject.h"
#include "screens/TFormGallery.h"

using namespace screentest;

namespace {

constexpr int32_t kKey = 32;

std::vector<uint8_t> BytesOf(const evObjectCollection& collection)
{
    MemoryStream stream;
    collection.SaveToStream(stream);
    return stream.Data();
}

class TFormGalleryTest : public ScreenTest<TFormGallery> {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        Screens().formImageEdit = std::make_unique<TFormImageEdit>();
    }

    // Photographs of the given sizes, each under the slot identifier.
    void Add(const std::vector<std::tuple<int32_t, int, int>>& photographs)
    {
        for (const auto& [slot, width, height] : photographs)
            m_page.AddUserElement(slot, SolidPicture(width, height, RGBColor(30, 90, 200)));
    }
    void Open() { m_screen->Prepare(m_page, kKey, true, 60, 40); }
    std::vector<int32_t> CellEntries() const
    {
        std::vector<int32_t> entries;
        for (const auto& cell : m_screen->Cells())
            entries.push_back(cell.entryIndex);
        return entries;
    }

    evCategory m_page{"Page", "", false, 3};
};

} // namespace

TEST_F(TFormGalleryTest, TheStripHasAColumnForEveryUserElementAndCellsOnlyForTheKey)
{
    Add({{11, 60, 40}, {12, 60, 40}, {kKey, 60, 40}, {kKey, 40, 60}, {kKey, 600, 900}});
    Open();
    EXPECT_EQ(m_screen->GetStripWidth(), 650);
    EXPECT_EQ(CellEntries(), (std::vector<int32_t>{2, 3, 4}));
    // 60 x 40 fits as 120 x 80 in the third column; upright ones as 80 x 120.
    EXPECT_EQ(m_screen->Cells()[0].rect, Rect(265, 35, 385, 115));
    // The view shows the thumbnail of cell 0 inside the band (strip x 300 is view x 348) and the yellow frame.
    EXPECT_TRUE(Near(m_screen->GetView().Pixel(348, 75), RGBColor(30, 90, 200)));
    EXPECT_EQ(m_screen->GetView().Pixel(48 + 265, 75), 0x00FFFF);

    // A portrait photograph of 600 x 900 is previewed 200 x 300, centred.
    m_screen->ImgTimelineMouseDown(48 + 4 * 130 + 65, 75);
    EXPECT_EQ(m_screen->GetSelected(), 2);
    EXPECT_EQ(m_screen->GetPreviewRect(), Rect(100, 0, 300, 300));
    m_screen->Finish();
}

TEST_F(TFormGalleryTest, DeletingTheFirstOfThreeSelectsTheNewFirst)
{
    Add({{kKey, 60, 40}, {kKey, 40, 60}, {kKey, 50, 50}});
    Open();
    ASSERT_EQ(m_screen->GetSelected(), 0);
    m_screen->ImgDeleteClick();
    EXPECT_EQ(m_page.GetUserElements().Count(), 2);
    EXPECT_EQ(m_screen->GetSelected(), 0);
    EXPECT_EQ(dynamic_cast<const evPicture*>(m_page.FindUserElement(kKey))->GetWidth(), 40);
    m_screen->imgApplyClick();
    m_screen->Finish();
    EXPECT_EQ(m_page.GetUserElements().Count(), 2);
}

// Additions and deletions reach the page at once; only Apply keeps them, anything else restores the page.
TEST_F(TFormGalleryTest, OnlyApplyKeepsTheChanges)
{
    Add({{11, 60, 40}, {kKey, 60, 40}});
    const std::vector<uint8_t> before = BytesOf(m_page.GetUserElements());
    for (const bool apply : {false, true}) {
        SCOPED_TRACE(apply);
        Open();
        ClearModified();
        AnsweringDialogs dialogs;
        const std::string path = WritePhoto(PathOf("p.png"), 90, 60);
        dialogs.openManyAnswers.push_back({path, path});
        ImageEditApplier applier;
        m_screen->ImgBtnLoadClick();
        EXPECT_EQ(m_page.GetUserElements().Count(), 4);
        EXPECT_TRUE(IsModified());
        if (apply)
            m_screen->imgApplyClick();
        else
            m_screen->ImgCancelClick();
        EXPECT_EQ(m_screen->GetResult(), TFormGallery::ResultBack);
        m_screen->Finish();
        if (!apply)
            EXPECT_EQ(BytesOf(m_page.GetUserElements()), before);
        else
            EXPECT_EQ(m_page.GetUserElements().Count(), 4);
    }
}

TEST_F(TFormGalleryTest, ScrollingStopsAtTheEnds)
{
    Add({{kKey, 60, 40}, {kKey, 60, 40}});
    Open();
    // Two columns fit into the window: scrolling right has nowhere to go.
    m_screen->imgScrollRightMouseDown();
    EXPECT_FALSE(m_screen->IsScrolling());
    m_screen->Finish();

    Add({{kKey, 60, 40}, {kKey, 60, 40}, {kKey, 60, 40}, {kKey, 60, 40}, {kKey, 60, 40}, {kKey, 60, 40}});
    Open();
    m_screen->imgScrollRightMouseDown();
    EXPECT_TRUE(m_screen->IsScrolling());
    for (int tick = 0; tick < 100; ++tick)
        m_screen->timerTimer();
    // 1040 pixels of strip in a 928-pixel window: the last step may pass the end by less than 10.
    EXPECT_FALSE(m_screen->IsScrolling());
    EXPECT_EQ(m_screen->GetScrollOffset(), 120);
    m_screen->Finish();
}

// A save during the run wrote changes that Cancel takes back: the project must count as changed again, or it
// would be closed without a question while its file holds what the user cancelled.
TEST_F(TFormGalleryTest, CancelAfterASaveLeavesTheProjectModified)
{
    UseAlbum(NewCategory("P"));
    m_context.SetProjectFileName(PathOf("saved.evp"));
    Add({{kKey, 60, 40}});
    Open();
    m_screen->ImgDeleteClick();
    m_screen->imgTopSaveClick();
    EXPECT_FALSE(IsModified());
    m_screen->ImgCancelClick();
    m_screen->Finish();
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(m_page.GetUserElements().Count(), 1);
}

TEST_F(TFormGalleryTest, ADamagedPhotographGetsItsCellWithTheDamagedMark)
{
    // A sound header (60 x 40) whose data is cut short: the size is known, the pixels are not.
    std::vector<uint8_t> bytes = SolidPicture(60, 40, RGBColor(30, 90, 200))->GetImageStream();
    bytes.resize(bytes.size() - 40);
    MemoryStream cut(bytes);
    m_page.AddUserElement(kKey, std::make_unique<evPicture>("cut", cut, 0, 60, 40));
    Open();
    ASSERT_EQ(CellEntries(), (std::vector<int32_t>{0}));
    const TRect cell = m_screen->Cells()[0].rect;
    EXPECT_EQ(cell.Width(), 120);
    // The view (strip x 0 at view x 48) shows the grey field of the mark inside the cell.
    EXPECT_TRUE(Near(m_screen->GetView().Pixel(48 + cell.Left + cell.Width() / 2, cell.Top + 12), 0xC0C0C0))
        << std::hex << m_screen->GetView().Pixel(48 + cell.Left + cell.Width() / 2, cell.Top + 12);
    m_screen->Finish();
}
