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

// Version 4 round trips byte for byte, with or without a chapter tree ("NP" in its place). Older versions read
// with empty lists for what they lack and are written as version 4 (the missing lists are the last ones).
TEST(evBrandingTest, StoredFormByVersion)
{
    const std::pair<int32_t, bool> cases[] = {{4, true}, {4, false}, {3, true}, {1, true}};
    for (const auto& [version, withTree] : cases) {
        SCOPED_TRACE(std::to_string(version) + (withTree ? " with tree" : " without tree"));
        MemoryStream in = BrandingStream(version, withTree);
        evBranding branding(in, nullptr);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(branding.GetHelpTexts().Count(), 2); // same text, both kept
        EXPECT_EQ(branding.GetPictures().Count(), version >= 2 ? 1 : 0);
        EXPECT_EQ(branding.GetMusic().Count(), version >= 3 ? 1 : 0);
        EXPECT_EQ(branding.GetSpeech().Count(), version >= 4 ? 1 : 0);
        ASSERT_EQ(branding.GetChapterTree() != nullptr, withTree);
        if (withTree) {
            EXPECT_EQ(branding.GetChapterTree()->GetTitle(), "Welcome");
        }

        std::vector<uint8_t> expected = in.Data();
        expected[0] = 4;
        expected.insert(expected.end(), 4 * ((version < 2) + (version < 3) + (version < 4)), 0);
        EXPECT_EQ(SavedBody(branding), expected);
        if (!withTree) {
            EXPECT_EQ(std::vector<uint8_t>(expected.begin() + 16, expected.begin() + 22),
                      (std::vector<uint8_t>{2, 0, 0, 0, 'N', 'P'}));
        }
    }
}
