#include "screens/SkinService.h"

#include "audio/BassLibrary.h"
#include "audio/evMusic.h"
#include "model/evBranding.h"
#include "model/evHelptext.h"
#include "model/evPicture.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "screens/TImage.h"
#include "screens/TLabel.h"

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {

struct ServiceState {
    evBranding* branding = nullptr;
    bool speechOn = true;
    evMusic* currentClip = nullptr;
    std::unique_ptr<JpegImage> skinImage;
};

ServiceState& State()
{
    static ServiceState state;
    return state;
}

} // namespace

void InitSkinService()
{
    soundAvailable = true;
    ServiceState& state = State();
    state.speechOn = true;
    state.currentClip = nullptr;
    state.skinImage.reset();
}

void SetSkinBranding(evBranding* branding)
{
    StopSpeech();
    State().branding = branding;
}

evBranding* SkinBranding() { return State().branding; }

const JpegImage& SkinPicture(int32_t index)
{
    ServiceState& state = State();
    state.skinImage.reset();
    if (!state.branding)
        throw EListError("No skin pictures are loaded");
    const evObjectCollection& pictures = state.branding->GetPictures();
    if (index < 0 || index >= pictures.Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    const auto* picture = pictures.GetItemAs<evPicture>(index);
    if (!picture)
        throw EImageError("Skin picture " + std::to_string(index) + " is no picture");
    state.skinImage = std::make_unique<JpegImage>(JpegImage::FromBytes(picture->GetImageStream()));
    return *state.skinImage;
}

void ReleaseSkinImage() { State().skinImage.reset(); }

void ShowSkinPicture(TImage* image, int32_t index)
{
    try {
        image->SetPicture(SkinPicture(index));
    } catch (const EVelloraError& e) {
        image->ClearPicture();
        ktLogs::LogLine("Skin picture " + std::to_string(index) + " not loaded: " + e.what());
    }
    ReleaseSkinImage();
}

QString HelpText(int32_t index)
{
    const evBranding* branding = State().branding;
    if (!branding || index < 0 || index >= branding->GetHelpTexts().Count())
        return {};
    const auto* text = branding->GetHelpTexts().GetItemAs<evHelptext>(index);
    return text ? ToDisplay(text->GetText()) : QString();
}

void ShowHelpHint(TLabel* label, int32_t& remembered, int32_t index)
{
    if (remembered == index)
        return;
    label->SetCaption(HelpText(index));
    remembered = index;
}

bool HoverShow(int x, int y, TImage* image, const QObject* sender)
{
    if (sender != image)
        image->SetLit(image->Rect().Contains(x, y));
    return !image->isHidden();
}

void PlaySpeech(int32_t index)
{
    ServiceState& state = State();
    if (!soundAvailable || !state.speechOn || !state.branding || state.branding->GetSpeech().Count() == 0)
        return;
    StopSpeech();
    const evObjectCollection& clips = state.branding->GetSpeech();
    if (index < 0 || index >= clips.Count())
        return;
    state.currentClip = clips.GetItemAs<evMusic>(index);
    if (state.currentClip)
        state.currentClip->Play();
}

void StopSpeech()
{
    ServiceState& state = State();
    if (soundAvailable && state.currentClip)
        state.currentClip->Stop();
    state.currentClip = nullptr;
}

void ToggleSpeech()
{
    if (!soundAvailable)
        return;
    if (State().speechOn)
        StopSpeech();
    State().speechOn = !State().speechOn;
}

bool SpeechEnabled() { return State().speechOn; }

const evMusic* CurrentSpeechClip() { return State().currentClip; }

QString DoubleAmpersands(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('&'), QLatin1String("&&"));
    return doubled;
}

bool EnsureFolder(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return true;
    std::filesystem::create_directories(path, error);
    return !error && std::filesystem::is_directory(path, error);
}
