#include "AlbumTestSupport.h"

#include "model/evCategory.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evUserPicture.h"

namespace {

constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

MemoryStream SlotStream(int32_t version, int32_t centred)
{
    MemoryStream s;
    WriteHeader(s, version, 7);
    s.WriteString("slot");
    WriteInts(s, {3, 4, 5, 300, 200, 0});
    if (version >= 1)
        s.WriteInt32(centred);
    s.SetPosition(0);
    return s;
}

} // namespace

// Version 1 round trips byte for byte; version 0 has no centred flag and is written as version 1.
TEST(evUserPictureTest, StoredFormByVersion)
{
    for (int32_t version : {0, 1}) {
        SCOPED_TRACE(version);
        MemoryStream in = SlotStream(version, 1);
        evUserPicture slot(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(slot.GetCentred(), version);
        EXPECT_EQ(SavedBody(slot), SlotStream(1, version).Data());
        EXPECT_EQ(slot.ToString(), "evUserPicture[7, " + std::to_string(version) + ", 'slot', 300, 200, 3, 4, 5]");
    }
}

TEST(evUserPictureTest, CloneAndReferenceRemoval)
{
    MemoryStream in = SlotStream(1, 1);
    evUserPicture slot(in, nullptr);
    slot.SetFixed(2);
    auto copy = std::unique_ptr<evUserPicture>(static_cast<evUserPicture*>(slot.Clone().release()));
    EXPECT_EQ(copy->GetID(), 0);
    EXPECT_EQ(copy->ToString(), "evUserPicture[0, 0, 'slot', 300, 200, 3, 4, 5]");
    EXPECT_EQ(copy->GetFixed(), 2);
    EXPECT_EQ(copy->GetCentred(), 1);
    EXPECT_FALSE(slot.IsEqual(copy.get()));

    auto four = WithID(std::make_unique<evUserPicture>("x", 1, 1), 4);
    slot.RemoveReferences(four.get());
    slot.RemoveReferences(nullptr);
    EXPECT_EQ(slot.GetFrameID(), 0);
    EXPECT_EQ(slot.GetReferenceID(), 3);
    EXPECT_EQ(slot.GetAlternateFrameID(), 5);
}

TEST(evUserPictureTest, PictureRectOfTurnedBoxes)
{
    evUserPicture slot("slot", 300, 200);
    const auto portrait = SolidPicture(20, 30, kRed);
    const auto landscape = SolidPicture(30, 20, kRed);
    const auto square = SolidPicture(20, 20, kRed);
    const TRect at = Rect(100, 50, 400, 250);

    // Without an alternate frame nothing is ever turned.
    EXPECT_EQ(slot.GetPictureRect(portrait.get(), at), at);
    slot.SetAlternateFrameID(9);
    EXPECT_EQ(slot.GetPictureRect(portrait.get(), at), Rect(150, 50, 350, 350));
    slot.SetCentred(1);
    EXPECT_EQ(slot.GetPictureRect(portrait.get(), at), Rect(150, 0, 350, 300));
    EXPECT_EQ(slot.GetPictureRect(landscape.get(), at), at);
    EXPECT_EQ(slot.GetPictureRect(square.get(), at), at);
    EXPECT_EQ(slot.GetPictureRect(nullptr, at), at);

    evUserPicture tall("tall", 150, 201);
    tall.SetAlternateFrameID(9);
    tall.SetCentred(1);
    EXPECT_EQ(tall.GetPictureRect(landscape.get(), Rect(10, 20, 160, 221)), Rect(-15, 45, 186, 195));

    evUserPicture squareSlot("square", 100, 100);
    squareSlot.SetAlternateFrameID(9);
    EXPECT_FALSE(squareSlot.IsTurned(portrait.get()));
    // A slot without height has no orientation rather than a division by zero.
    evUserPicture flat("flat", 100, 0);
    flat.SetAlternateFrameID(9);
    EXPECT_FALSE(flat.IsTurned(portrait.get()));
}

// A 60 x 40 page with a blue 30 x 20 frame placed by entry 200 at (5, 5) and a green 20 x 30 alternate frame
// placed by entry 201 at (10, 2); slot 300 (20 x 10) names both.
class UserPictureDrawTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_design = std::make_unique<evLayout>("d", "", 60, 40);
        m_design->GetElementsA().Add(SolidPicture(30, 20, kBlue, 100));
        m_design->GetElementsA().Add(SolidPicture(20, 30, kGreen, 101));
        auto owned = std::make_unique<evPageLayout>(m_design.get(), "p", "", "", 1);
        evPageLayout& layout = *owned;
        m_design->AddPageLayout(std::move(owned));
        layout.GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(5, 5, 0, 100), 200));
        layout.GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(10, 2, 0, 101), 201));
        auto slot = WithID(std::make_unique<evUserPicture>("slot", 20, 10), 300);
        slot->SetFrameID(200);
        slot->SetAlternateFrameID(201);
        m_slot = slot.get();
        layout.AddOwnElement(std::move(slot));
        m_category = std::make_unique<evCategory>("c", "", false, 3);
        layout.SetCategory(m_category.get());
    }
    void TearDown() override
    {
        m_category.reset();
        m_design.reset();
        TempFolderTest::TearDown();
    }
    void Draw(evProjectorPage* page)
    {
        m_slot->Draw(kSlotRect, m_canvas.GetCanvas(), {.page = page, .markEmpty = true});
    }
    int32_t At(int x, int y) const { return m_canvas.Pixel(x, y); }

    static constexpr TRect kSlotRect{8, 8, 28, 18};
    std::unique_ptr<evLayout> m_design;
    evUserPicture* m_slot = nullptr;
    std::unique_ptr<evCategory> m_category;
    Bitmap m_canvas = SolidBitmap(60, 40, kColorWhite);
};

TEST_F(UserPictureDrawTest, OtherOrientationIsTurnedBeforeTheAlternateFrame)
{
    m_category->AddUserElement(300, SolidPicture(20, 40, kRed));
    Draw(nullptr);
    // Turned box of the 20 x 10 slot at (8, 8): (13, 8, 23, 28), top-aligned.
    EXPECT_NEAR_COLOUR(At(15, 25), kRed);
    EXPECT_NEAR_COLOUR(At(11, 30), kGreen);
    EXPECT_EQ(At(33, 10), kColorWhite); // the matching frame is not drawn
}

TEST_F(UserPictureDrawTest, PageReceivesOneElementOfFrameAndPhotograph)
{
    m_category->AddUserElement(300, SolidPicture(40, 20, kRed));
    evProjectorPage page;
    Draw(&page);
    ASSERT_EQ(page.GetElements().Count(), 1);
    auto* element = page.GetElements().GetItemAs<evProjectorPageElement>(0);
    EXPECT_EQ(element->Rect(), Rect(5, 5, 35, 25));
    const Bitmap merged = element->GetPicture().Decode();
    EXPECT_NEAR_COLOUR(merged.Pixel(1, 1), kBlue);
    EXPECT_NEAR_COLOUR(merged.Pixel(12, 7), kRed); // (17, 12) on the page
    EXPECT_NEAR_COLOUR(merged.Pixel(28, 18), kBlue);
}
