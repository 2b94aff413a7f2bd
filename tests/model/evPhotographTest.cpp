#include "AlbumTestSupport.h"

#include "model/evCategoryEntry.h"
#include "model/evPhotograph.h"
#include "model/evProjectorPage.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Errors.h"

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;

// A studio page of 40 x 30: a blue design picture (id 100) at (0, 0) and a logo slot (id 10) at (20, 10).
class PhotographTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_design = std::make_unique<evLayout>("studio", "", 40, 30);
        m_design->GetElementsA().Add(SolidPicture(10, 10, kBlue, 100));
        m_layout = AddPageLayout(*m_design, 1000, 1);
        m_layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(0, 0, 0, 100));
        PlaceOwnElement(*m_layout, WithID(std::make_unique<evUserPicture>("logo", 10, 10), 10), 20, 20, 10);
    }
    void TearDown() override
    {
        m_design.reset();
        TempFolderTest::TearDown();
    }
    Bitmap Preview(const evPhotograph& record) const
    {
        Bitmap preview;
        preview.LoadFromFile(record.GetPreviewFile());
        return preview;
    }

    std::unique_ptr<evLayout> m_design;
    evPageLayout* m_layout = nullptr;
};

} // namespace

TEST(evPhotographTest, StreamAndTextForm)
{
    MemoryStream in;
    WriteHeader(in, 0, 3);
    for (int32_t slot = 1; slot <= 10; ++slot)
        in.WriteInt32(slot * 11);
    evObjectCollection elements;
    elements.Add(std::make_unique<evCategoryEntry>(
        44, std::make_unique<evUserTextfield>("t", "Studio", "Arial", 0, 8, false, false, false, 0, 5, 5)));
    elements.SaveToStream(in);
    in.SetPosition(0);
    evPhotograph record(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(SavedBody(record), in.Data());
    EXPECT_EQ(record.ToString(), "evPhotograph[ID 3, VER 0, ");
    EXPECT_EQ(record.GetLogoSlot(), 11);
    EXPECT_EQ(record.GetSampleSlot(1), 22);
    EXPECT_EQ(record.GetSampleSlot(2), 33);
    EXPECT_EQ(record.GetIntroSlot(), 44);
    EXPECT_EQ(record.GetInfoSlot(), 110);
    EXPECT_THROW(record.GetSampleSlot(3), EListError);
    EXPECT_EQ(record.GetPreviewFile(), "");
    EXPECT_EQ(record.GetPageLayout(), nullptr);
    ASSERT_NE(record.GetIntroText(), nullptr);
    EXPECT_EQ(record.GetIntroText()->GetText(), "Studio");
    EXPECT_EQ(record.GetWebText(), nullptr);
}

TEST_F(PhotographTest, RendersTheStudioContentAndGivesItBack)
{
    evPhotograph record(m_layout);
    record.SetLogoSlot(10);
    record.AddUserElement(10, SolidPicture(10, 10, kRed));
    auto page = record.CreatePresentationPage();
    EXPECT_NEAR_COLOUR(Preview(record).Pixel(25, 15), kRed);
    EXPECT_EQ(page->GetElements().Count(), 2);
    ASSERT_EQ(record.GetUserElements().Count(), 1);
    EXPECT_NE(record.FindUserElement(10), nullptr);
    EXPECT_EQ(record.FindUserEntry(10)->GetSlotID(), 10);

    const std::string file = record.GetPreviewFile();
    EXPECT_TRUE(record.Render(nullptr));
    EXPECT_EQ(record.GetPreviewFile(), file);
    evPhotograph unbound(nullptr);
    EXPECT_THROW(unbound.Render(nullptr), EVelloraError);
}
