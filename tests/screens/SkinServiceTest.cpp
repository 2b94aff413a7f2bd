#include "screens/ScreenTestSupport.h"

#include "audio/evMusic.h"
#include "audio/AudioTestFiles.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "screens/SkinService.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"

#include <QWidget>

#include <fstream>

using namespace screentest;

namespace {

class SkinServiceTest : public SkinTest {};

std::unique_ptr<evMusic> Clip(const std::string& folder, const std::string& name)
{
    const std::string path = folder + "/" + name + ".wav";
    const std::vector<uint8_t> wave = audiotest::MakeWave(50);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(wave.data()),
                                                 static_cast<std::streamsize>(wave.size()));
    return std::make_unique<evMusic>(name, 1, path);
}

} // namespace

TEST_F(SkinServiceTest, PicturesAndTextsAreFoundByPosition)
{
    const JpegImage& picture = SkinPicture(30);
    EXPECT_EQ(picture.Width(), 31);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(SkinPicture(0).Width(), 1);
    EXPECT_EQ(SkinPicture(kPictures - 1).Width(), kPictures);
    EXPECT_THROW(SkinPicture(kPictures), EListError);
    EXPECT_THROW(SkinPicture(-1), EListError);

    EXPECT_EQ(HelpText(0), "Help 0");
    EXPECT_EQ(HelpText(208), "Help 208");
    // A help text the bundle does not have reads as empty rather than ending the program.
    EXPECT_EQ(HelpText(kHelpTexts), "");
    EXPECT_EQ(HelpText(-1), "");
}

TEST_F(SkinServiceTest, EntriesOfTheWrongKindAreRefused)
{
    m_branding->GetPictures().Add(std::make_unique<evHelptext>("not a picture", 0, "x"));
    m_branding->GetHelpTexts().Add(IndexPicture(3));
    EXPECT_THROW(SkinPicture(kPictures), EImageError);
    EXPECT_EQ(HelpText(kHelpTexts), "");

    // Bytes that are no JPEG fail when the picture is taken, not later when it is drawn.
    MemoryStream garbage;
    garbage.WriteInt32(0x12345678);
    garbage.SetPosition(0);
    m_branding->GetPictures().Add(std::make_unique<evPicture>("broken", garbage, 0, 4, 4));
    EXPECT_THROW(SkinPicture(kPictures + 1), EImageError);

    SetSkinBranding(nullptr);
    EXPECT_THROW(SkinPicture(0), EListError);
    EXPECT_EQ(HelpText(0), "");
}

TEST_F(SkinServiceTest, HelpHintChangesOnlyWhenTheIndexChanges)
{
    QWidget parent;
    TLabel label(&parent, {0, 0, 100, 20}, LabelStyle());
    int32_t remembered = -1;
    ShowHelpHint(&label, remembered, 4);
    EXPECT_EQ(label.Caption(), "Help 4");
    EXPECT_EQ(remembered, 4);
    label.SetCaption("changed elsewhere");
    ShowHelpHint(&label, remembered, 4);
    EXPECT_EQ(label.Caption(), "changed elsewhere");
    ShowHelpHint(&label, remembered, 5);
    EXPECT_EQ(label.Caption(), "Help 5");
}

TEST_F(SkinServiceTest, HoverShowFollowsThePointInTheParentsCoordinates)
{
    QWidget parent;
    parent.resize(200, 200);
    TImage image(&parent, {10, 20, 30, 40}, TImage::Role::Hover);
    TImage background(&parent, {0, 0, 200, 200}, TImage::Role::Background);
    EXPECT_FALSE(image.isVisibleTo(&parent));

    EXPECT_TRUE(HoverShow(10, 20, &image, &background));
    EXPECT_TRUE(image.isVisibleTo(&parent));
    EXPECT_TRUE(HoverShow(39, 59, &image, &background));
    EXPECT_FALSE(HoverShow(40, 59, &image, &background)); // right edge is outside
    EXPECT_FALSE(image.isVisibleTo(&parent));
    EXPECT_FALSE(HoverShow(39, 60, &image, &background)); // bottom edge is outside
    EXPECT_FALSE(HoverShow(9, 30, &image, &background));

    // A report from the image itself (in its own coordinates) leaves it as it is.
    image.show();
    parent.show();
    EXPECT_TRUE(HoverShow(1, 1, &image, &image));
    image.hide();
    EXPECT_FALSE(HoverShow(15, 25, &image, &image));
}

TEST_F(SkinServiceTest, AmpersandsAndFolders)
{
    EXPECT_EQ(DoubleAmpersands("Rose & Lily.evl"), "Rose && Lily.evl");
    EXPECT_EQ(DoubleAmpersands("&&"), "&&&&");
    EXPECT_EQ(TLabel::DisplayedText(DoubleAmpersands("A & B & C")), "A & B & C");

    const std::string nested = PathOf("a/b/c");
    EXPECT_TRUE(EnsureFolder(nested));
    EXPECT_TRUE(std::filesystem::is_directory(nested));
    EXPECT_TRUE(EnsureFolder(nested));
    std::ofstream(PathOf("file")) << "x";
    EXPECT_FALSE(EnsureFolder(PathOf("file")));
    EXPECT_FALSE(EnsureFolder(PathOf("file/below")));
}

TEST_F(SkinServiceTest, SpeechNeedsSoundSpeechOnAndClips)
{
    // Without sound nothing is played and speech cannot be switched.
    m_branding->GetSpeech().Add(Clip(PathOf("tmp"), "zero"));
    m_branding->GetSpeech().Add(Clip(PathOf("tmp"), "one"));
    PlaySpeech(1);
    EXPECT_EQ(CurrentSpeechClip(), nullptr);
    ToggleSpeech();
    EXPECT_TRUE(SpeechEnabled());

    soundAvailable = true;
    PlaySpeech(1);
    EXPECT_EQ(CurrentSpeechClip(), m_branding->GetSpeech().GetItem(1));
    PlaySpeech(7); // no clip there: the current one is stopped, nothing new plays
    EXPECT_EQ(CurrentSpeechClip(), nullptr);
    PlaySpeech(0);
    StopSpeech();
    EXPECT_EQ(CurrentSpeechClip(), nullptr);

    PlaySpeech(0);
    ToggleSpeech();
    EXPECT_FALSE(SpeechEnabled());
    EXPECT_EQ(CurrentSpeechClip(), nullptr);
    PlaySpeech(0);
    EXPECT_EQ(CurrentSpeechClip(), nullptr);
    ToggleSpeech();
    EXPECT_TRUE(SpeechEnabled());

    // Handing over another bundle forgets the clip of the old one.
    PlaySpeech(0);
    SetSkinBranding(m_branding.get());
    EXPECT_EQ(CurrentSpeechClip(), nullptr);
    soundAvailable = false;
}

TEST_F(SkinServiceTest, InitialisingTurnsSoundAndSpeechOn)
{
    soundAvailable = true;
    ToggleSpeech();
    soundAvailable = false;
    InitSkinService();
    EXPECT_TRUE(soundAvailable);
    EXPECT_TRUE(SpeechEnabled());
    EXPECT_EQ(CurrentSpeechClip(), nullptr);
    soundAvailable = false;
}
