#include "AlbumTestSupport.h"

#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Errors.h"

namespace {

constexpr TColor kRed = 0x0000FF;

std::unique_ptr<evUserTextfield> TextField(int32_t fixed, int32_t id)
{
    auto field = std::make_unique<evUserTextfield>("t", "", "Arial", 0, 10, false, false, false, 0, 10, 10);
    field->SetFixed(fixed);
    return WithID(std::move(field), id);
}

class PageLayoutTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_design = std::make_unique<evLayout>("d", "", 100, 50);
        auto layout = std::make_unique<evPageLayout>(m_design.get(), "page", "Title", "note", 2);
        m_layout = layout.get();
        m_design->AddPageLayout(std::move(layout));
    }
    void TearDown() override
    {
        m_design.reset();
        TempFolderTest::TearDown();
    }
    void AddDesignPicture(int w, int h, int32_t id, TColor colour = kRed)
    {
        m_design->GetElementsA().Add(SolidPicture(w, h, colour, id));
    }
    void Place(int x, int y, int32_t elementId, int32_t entryId = 0)
    {
        auto entry = std::make_unique<evPageLayoutEntry>(x, y, 0, elementId);
        m_layout->GetEntries().Add(entryId ? WithID(std::move(entry), entryId) : std::move(entry));
    }

    std::unique_ptr<evLayout> m_design;
    evPageLayout* m_layout = nullptr;
};

} // namespace

TEST(evPageLayoutEntryTest, StreamCloneAndText)
{
    MemoryStream in;
    WriteHeader(in, 0, 9);
    WriteInts(in, {3, 4, 0x1FF, 12});
    in.SetPosition(0);
    evPageLayoutEntry entry(in, nullptr);
    EXPECT_EQ(entry.GetFlag(), 0xFF); // only the low byte is kept
    EXPECT_EQ(entry.ToString(), "[9, 3, 4, 255, 12]");
    MemoryStream expected;
    WriteHeader(expected, 0, 9);
    WriteInts(expected, {3, 4, 0xFF, 12});
    EXPECT_EQ(SavedBody(entry), expected.Data());
    EXPECT_EQ(entry.Clone()->ToString(), "[0, 3, 4, 255, 12]");
}

TEST_F(PageLayoutTest, Version1StreamHasNoTitleNorKeyAndIsWrittenAsVersion3)
{
    MemoryStream in;
    WriteHeader(in, 1, 44);
    in.WriteString("name");
    in.WriteString("English");
    in.WriteString("comment");
    WriteInts(in, {8, 0, 0, 0});
    in.SetPosition(0);
    evPageLayout layout(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(layout.GetOtherTitle(), "");
    EXPECT_EQ(layout.GetKey(), "");
    EXPECT_EQ(layout.GetKind(), 8);
    EXPECT_EQ(layout.ToString(), "[44, 1, 'name', 8, 'English', '', 'comment', evObjectCollection[], "
                                 "evObjectCollection[], evObjectCollection[]]");

    MemoryStream expected;
    WriteHeader(expected, 3, 44);
    for (const char* text : {"name", "English", "", "comment", ""})
        expected.WriteString(text);
    WriteInts(expected, {8, 0, 0, 0});
    EXPECT_EQ(SavedBody(layout), expected.Data());
}

TEST_F(PageLayoutTest, PreviewFilesAreReservedAndDeleted)
{
    EXPECT_EQ(m_layout->GetPreviewFile(), TempPath("evpl0.evp"));
    ASSERT_TRUE(FileExists(TempPath("evpl0.evp")));
    EXPECT_EQ(std::filesystem::file_size(TempPath("evpl0.evp")), 0u);
    {
        evPageLayout second(m_design.get(), "b", "", "", 0);
        EXPECT_EQ(second.GetPreviewFile(), TempPath("evpl1.evp"));
    }
    EXPECT_FALSE(FileExists(TempPath("evpl1.evp")));
    m_design.reset();
    EXPECT_FALSE(FileExists(TempPath("evpl0.evp")));
}

TEST_F(PageLayoutTest, HitTestIncludesEdgesAndPrefersTheLaterEntry)
{
    AddDesignPicture(10, 10, 100);
    AddDesignPicture(20, 20, 101);
    Place(0, 0, 100);
    Place(5, 5, 101);
    Place(50, 20, 999); // unknown element: skipped
    EXPECT_EQ(m_layout->HitTest(0.0, 0.0), 0);
    EXPECT_EQ(m_layout->HitTest(0.1, 0.2), 1);   // (10, 10): both cover it, the later wins
    EXPECT_EQ(m_layout->HitTest(0.259, 0.5), 1); // (25, 25): right and bottom edge included
    EXPECT_EQ(m_layout->HitTest(0.26, 0.5), -1); // (26, 25)
    EXPECT_EQ(m_layout->HitTest(0.5, 0.4), -1);
    EXPECT_EQ(m_layout->HitTest(-0.009, 0.0), 0); // -0.9 truncated toward zero: x = 0
    EXPECT_EQ(m_layout->HitTest(1e300, 0.0), -1);
}

TEST_F(PageLayoutTest, RemoveReferencesDropsEntriesTellsTheDesignAndSurvivesEntriesNamingEachOther)
{
    auto picture = SolidPicture(4, 4, kRed, 100);
    Place(0, 0, 100, 200);
    Place(1, 1, 7, 201);
    Place(2, 2, 100, 202);
    auto slot = WithID(std::make_unique<evUserPicture>("s", 1, 1), 300);
    slot->SetFrameID(200);
    slot->SetAlternateFrameID(202);
    slot->SetReferenceID(100);
    evUserPicture* slotPtr = slot.get();
    m_layout->AddOwnElement(std::move(slot));

    m_layout->RemoveReferences(picture.get());
    ASSERT_EQ(m_layout->GetEntries().Count(), 1);
    EXPECT_EQ(m_layout->GetEntries().GetItemAs<evPageLayoutEntry>(0)->GetID(), 201);
    // The slot heard of both removed entries through the design, and of the picture directly.
    EXPECT_EQ(slotPtr->GetFrameID(), 0);
    EXPECT_EQ(slotPtr->GetAlternateFrameID(), 0);
    EXPECT_EQ(slotPtr->GetReferenceID(), 0);

    // Entry 5 places element 6 and entry 6 places element 5: announcing one must not loop back to it.
    Place(0, 0, 6, 5);
    Place(0, 0, 5, 6);
    auto six = WithID(std::make_unique<evUserPicture>("x", 1, 1), 6);
    m_layout->RemoveReferences(six.get());
    ASSERT_EQ(m_layout->GetEntries().Count(), 1);
    EXPECT_EQ(m_layout->GetEntries().GetItemAs<evPageLayoutEntry>(0)->GetID(), 201);
}

TEST_F(PageLayoutTest, CountsOnlyTextFieldsForTheUser)
{
    m_layout->AddOwnElement(TextField(0, 10));
    m_layout->AddOwnElement(TextField(1, 11));
    m_layout->AddOwnElement(WithID(std::make_unique<evUserPicture>("s", 1, 1), 12));
    Place(0, 0, 10);
    Place(0, 0, 11);
    Place(0, 0, 12);
    Place(0, 0, 10);
    Place(0, 0, 99);
    EXPECT_EQ(m_layout->CountTextFields(), 2);
}
