#include "AlbumTestSupport.h"

#include "model/evHelptext.h"
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
    WriteInts(s, {60, 40});
    s.WriteString("Rose");
    s.WriteString("Roses in red");
    WriteInts(s, {0, 0, 0});
    if (pageLayouts)
        pageLayouts->SaveToStream(s);
    else
        s.WriteInt32(0);
    s.WriteInt32(7);
    if (version == 2)
        WriteObject(s, sample);
    if (version >= 4)
        WriteInts(s, {0x112233, 0x445566});
    s.SetPosition(0);
    return s;
}

class LayoutTest : public TempFolderTest {};

} // namespace

// Version 4 round trips byte for byte. Older versions have no colours, version 1 no sample picture, version 2
// keeps it at the end; they are written back in the current layout: sample first, colours 0 at the end.
TEST_F(LayoutTest, StoredFormByVersion)
{
    auto sample = SolidPicture(8, 6, kRed, 12);
    for (int32_t version : {1, 2, 3, 4}) {
        SCOPED_TRACE(version);
        MemoryStream in = DesignStream(version, sample.get());
        evLayout design(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        const evPicture* picture = design.GetSamplePicture();
        EXPECT_EQ(picture ? picture->GetWidth() : 0, version >= 2 ? 8 : 0);
        EXPECT_EQ(design.GetTextColour(), version == 4 ? 0x112233 : 0);
        EXPECT_EQ(design.GetBackgroundColour(), version == 4 ? 0x445566 : 0);
        EXPECT_EQ(design.GetName(), "Rose");
        EXPECT_EQ(design.GetReservedNumber(), 7);
        std::vector<uint8_t> expected = DesignStream(4, version >= 2 ? sample.get() : nullptr).Data();
        if (version < 4)
            std::fill(expected.end() - 8, expected.end(), 0);
        EXPECT_EQ(SavedBody(design), expected);
    }
    MemoryStream in = DesignStream(4, sample.get());
    EXPECT_EQ(evLayout(in, nullptr).ToString(), "evLayout[3, 4, 'Rose', 'Roses in red', 60, 40, evObjectCollection[], "
                                                "evObjectCollection[], evObjectCollection[], evObjectCollection[], 7]");
}

TEST_F(LayoutTest, SomethingElseAmongThePageLayoutsIsARefusedFile)
{
    evObjectCollection layouts;
    layouts.Add(std::make_unique<evHelptext>("x", 1, "y"));
    MemoryStream in = DesignStream(4, nullptr, &layouts);
    EXPECT_THROW(evLayout(in, nullptr), EReadError);
}
