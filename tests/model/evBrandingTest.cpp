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

TEST(evBrandingTest, CloneIsEqualAndSettersReplaceLists)
{
    MemoryStream in = BrandingStream(4, true);
    evBranding branding(in, nullptr);
    auto copy = branding.Clone();
    const std::vector<uint8_t> copied = SavedBody(*copy);
    const std::vector<uint8_t> original = SavedBody(branding);
    EXPECT_EQ(std::vector<uint8_t>(copied.begin() + 8, copied.end()),
              std::vector<uint8_t>(original.begin() + 8, original.end())); // all but the identifier
    EXPECT_NE(static_cast<evBranding*>(copy.get())->GetChapterTree(), branding.GetChapterTree());
    // Help texts and pictures do not compare their content, so only bundles without them can be equal.
    EXPECT_FALSE(copy->IsEqual(&branding));

    auto tree = std::make_unique<evCategory>("W", "", false, 3);
    evBranding treeOnly("main", tree->CloneCategory(), nullptr, nullptr, nullptr, nullptr);
    auto treeCopy = treeOnly.Clone();
    EXPECT_TRUE(treeCopy->IsEqual(&treeOnly));
    tree->SetTitle("other");
    evBranding otherTree("main", std::move(tree), nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(otherTree.IsEqual(&treeOnly));

    branding.SetSpeech(std::make_unique<evObjectCollection>());
    EXPECT_EQ(branding.GetSpeech().Count(), 0);

    evBranding empty("main");
    evBranding same("main");
    EXPECT_TRUE(empty.IsEqual(&same));
    EXPECT_FALSE(empty.IsEqual(&branding));
    evHelptext notBranding("main", 0, "");
    EXPECT_FALSE(empty.IsEqual(&notBranding));
}
