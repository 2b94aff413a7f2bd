#include "AlbumTestSupport.h"

#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"

namespace {

// A branding body of the given version with a help text list and, where the version has them, one-member
// lists of pictures, music and speech (help texts stand in for the sound clips: the lists do not look).
MemoryStream BrandingStream(int32_t version, bool withTree)
{
    MemoryStream s;
    WriteHeader(s, version, 2);
    s.WriteString("main");
    evCategory tree("Welcome", "", false, 3);
    WriteObject(s, withTree ? &tree : nullptr);
    evObjectCollection texts;
    texts.Add(std::make_unique<evHelptext>("a", 1, "same"));
    texts.Add(std::make_unique<evHelptext>("b", 2, "same"));
    texts.SaveToStream(s);
    if (version >= 2) {
        evObjectCollection pictures;
        pictures.Add(SolidPicture(3, 2, 0x00FF00));
        pictures.SaveToStream(s);
    }
    for (int32_t listVersion : {3, 4}) {
        if (version < listVersion)
            continue;
        evObjectCollection clips;
        clips.Add(std::make_unique<evHelptext>("clip", listVersion, ""));
        clips.SaveToStream(s);
    }
    s.SetPosition(0);
    return s;
}

} // namespace

TEST(evBrandingTest, Version4RoundTripsByteForByte)
{
    MemoryStream in = BrandingStream(4, true);
    evBranding branding(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(SavedBody(branding), in.Data());
    EXPECT_EQ(branding.GetHelpTexts().Count(), 2); // same text, both kept
    EXPECT_EQ(branding.GetPictures().Count(), 1);
    EXPECT_EQ(branding.GetMusic().Count(), 1);
    EXPECT_EQ(branding.GetSpeech().Count(), 1);
    ASSERT_NE(branding.GetChapterTree(), nullptr);
    EXPECT_EQ(branding.GetChapterTree()->GetTitle(), "Welcome");
}

TEST(evBrandingTest, OlderVersionsReadWithEmptyListsAndAreWrittenAsVersion4)
{
    for (int32_t version : {1, 3}) {
        SCOPED_TRACE(version);
        MemoryStream in = BrandingStream(version, true);
        evBranding branding(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(branding.GetPictures().Count(), version >= 2 ? 1 : 0);
        EXPECT_EQ(branding.GetMusic().Count(), version >= 3 ? 1 : 0);
        EXPECT_EQ(branding.GetSpeech().Count(), 0);

        std::vector<uint8_t> expected = in.Data();
        expected[0] = 4;
        if (version == 1) {
            for (int i = 0; i < 8; ++i)
                expected.push_back(0); // empty pictures and music
        }
        for (int i = 0; i < 4; ++i)
            expected.push_back(0); // empty speech
        EXPECT_EQ(SavedBody(branding), expected);
    }
}

TEST(evBrandingTest, WithoutTreeWritesNP)
{
    MemoryStream in = BrandingStream(4, false);
    evBranding branding(in, nullptr);
    EXPECT_EQ(branding.GetChapterTree(), nullptr);
    const std::vector<uint8_t> bytes = SavedBody(branding);
    EXPECT_EQ(bytes, in.Data());
    const std::vector<uint8_t> np = {2, 0, 0, 0, 'N', 'P'};
    EXPECT_TRUE(std::equal(np.begin(), np.end(), bytes.begin() + 8 + 8));
}
