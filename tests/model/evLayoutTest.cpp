#include "AlbumTestSupport.h"

#include "model/evHelptext.h"
#include "model/evLayoutPreview.h"
#include "platform/Errors.h"

namespace {

constexpr TColor kRed = 0x0000FF;

// A design body of the given version: sample picture where that version keeps it, empty collections.
MemoryStream DesignStream(int32_t version, const evPicture* sample, const evObjectCollection* pageLayouts = nullptr)
{
    MemoryStream s;
    WriteHeader(s, version, 3);
    if (version >= 3)
        WriteObject(s, sample);
    s.WriteInt32(60);
    s.WriteInt32(40);
    s.WriteString("Rose");
    s.WriteString("Roses in red");
    for (int i = 0; i < 3; ++i)
        s.WriteInt32(0);
    if (pageLayouts)
        pageLayouts->SaveToStream(s);
    else
        s.WriteInt32(0);
    s.WriteInt32(7);
    if (version == 2)
        WriteObject(s, sample);
    if (version >= 4) {
        s.WriteInt32(0x112233);
        s.WriteInt32(0x445566);
    }
    s.SetPosition(0);
    return s;
}

class LayoutTest : public TempFolderTest {};

} // namespace

TEST_F(LayoutTest, Version4RoundTripsByteForByte)
{
    auto sample = SolidPicture(8, 6, kRed, 12);
    MemoryStream in = DesignStream(4, sample.get());
    evLayout design(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(design.GetTextColour(), 0x112233);
    EXPECT_EQ(design.GetBackgroundColour(), 0x445566);
    ASSERT_NE(design.GetSamplePicture(), nullptr);
    EXPECT_EQ(design.GetSamplePicture()->GetWidth(), 8);
    EXPECT_EQ(SavedBody(design), in.Data());
    EXPECT_EQ(design.ToString(), "evLayout[3, 4, 'Rose', 'Roses in red', 60, 40, evObjectCollection[], "
                                 "evObjectCollection[], evObjectCollection[], evObjectCollection[], 7]");
}

TEST_F(LayoutTest, SamplePicturePlaceAndColoursByVersion)
{
    auto sample = SolidPicture(8, 6, kRed, 12);
    for (int32_t version : {1, 2, 3}) {
        SCOPED_TRACE(version);
        MemoryStream in = DesignStream(version, sample.get());
        evLayout design(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(design.GetSamplePicture() != nullptr, version >= 2);
        EXPECT_EQ(design.GetTextColour(), 0);
        EXPECT_EQ(design.GetBackgroundColour(), 0);
        EXPECT_EQ(design.GetName(), "Rose");
        EXPECT_EQ(design.GetReservedNumber(), 7);
        // Written back in the current layout: sample first, colours 0 at the end.
        MemoryStream expected = DesignStream(4, version >= 2 ? sample.get() : nullptr);
        auto bytes = expected.Data();
        std::fill(bytes.end() - 8, bytes.end(), 0);
        EXPECT_EQ(SavedBody(design), bytes);
    }
}

TEST_F(LayoutTest, SomethingElseAmongThePageLayoutsIsARefusedFile)
{
    evObjectCollection layouts;
    layouts.Add(std::make_unique<evHelptext>("x", 1, "y"));
    MemoryStream in = DesignStream(4, nullptr, &layouts);
    EXPECT_THROW(evLayout(in, nullptr), EReadError);
}
