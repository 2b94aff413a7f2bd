#include "screens/ScreenTestSupport.h"

#include "audio/AudioTestFiles.h"
#include "audio/evMusic.h"
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
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(wave.data()), static_cast<std::streamsize>(wave.size()));
    return std::make_unique<evMusic>(name, 1, path);
}

} // namespace

TEST_F(SkinServiceTest, PicturesAndTextsAreFoundByPosition)
{
    const JpegImage& picture = SkinPicture(30);
    EXPECT_EQ(picture.Width(), 31);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(SkinPicture(kPictures - 1).Width(), kPictures);
    EXPECT_THROW(SkinPicture(kPictures), EListError);
    EXPECT_THROW(SkinPicture(-1), EListError);

    EXPECT_EQ(HelpText(208), "Help 208");
    // A help text the bundle does not have reads as empty rather than ending the program.
    EXPECT_EQ(HelpText(kHelpTexts), "");
    EXPECT_EQ(HelpText(-1), "");
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
}
