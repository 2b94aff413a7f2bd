#include "DataKit.h"

#include "ChapterTreeSource.h"
#include "DesignCompiler.h"
#include "DesignPreview.h"
#include "HelpTextSource.h"
#include "MusicScore.h"
#include "OggVorbis.h"
#include "SkinPainter.h"
#include "SkinStyle.h"
#include "SpeechSynthesizer.h"
#include "Synthesizer.h"
#include "audio/evMusic.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "model/evPageLayout.h"
#include "model/evPicture.h"
#include "platform/AtomicFile.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr float kMusicQuality = 0.4f;
constexpr float kSpeechQuality = 0.3f;
constexpr int32_t kMusicLoops = 1;
constexpr int32_t kSpeechPlaysOnce = 0;
constexpr const char* kBundleName = "Vellora";
const std::vector<std::string> kAlbumDesignKeys = {"W", "M", "E", "cd"};
const std::vector<std::string> kStudioKeys = {"STUDIO"};
constexpr const char* kManifestName = ".datakit-designs";

std::vector<uint8_t> Saved(const evObject& object)
{
    MemoryStream stream;
    object.SaveToStream(stream);
    return stream.Data();
}

std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

DataKit::DataKit(DataKitOptions options) : m_options(std::move(options))
{
    // The skin painter may add font files to the font database; doing it first makes the designs' painted
    // lettering the same whatever is built first, so every build writes the same bytes.
    SkinStyle::EnsureFonts();
    if (m_options.fontFolders.empty())
        m_options.fontFolders = DesignCompiler::DefaultFontFolders();
}

DataKit::~DataKit() = default;

std::string DataKit::DataFolder() const { return (fs::path(m_options.outputFolder) / "data").string(); }

std::string DataKit::DesignsFolder() const { return (fs::path(m_options.outputFolder) / "designs").string(); }

std::string DataKit::Source(const std::string& name) const
{
    return (fs::path(m_options.sourceFolder) / name).string();
}

void DataKit::Report(const std::string& line) const
{
    if (m_options.report)
        m_options.report(line);
}

void DataKit::WriteAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteFileAtomically(path, bytes.data(), bytes.size());
}

void DataKit::BuildAll()
{
    BuildDesigns();
    BuildStudio();
    BuildSoundLists();
    BuildMainFile();
}

std::unique_ptr<evLayout> DataKit::CompileDesign(const std::string& path,
                                                 const std::vector<std::string>& requiredKeys) const
{
    DesignCompiler compiler(m_options.fontFolders);
    compiler.SetRequiredKeys(requiredKeys);
    std::unique_ptr<evLayout> design = compiler.CompileFile(path);
    if (compiler.SamplePageLayoutID() == 0)
        return design;
    // The miniature is rendered from the design as the program reads it back, so it shows what users will see.
    MemoryStream saved(Saved(*design));
    DesignPreview preview(std::make_unique<evLayout>(saved, nullptr));
    auto* page = dynamic_cast<evPageLayout*>(preview.Design().FindByID(compiler.SamplePageLayoutID()));
    // At the page's own size, so that "Full size" in the design choice shows the page as it is.
    design->SetSamplePicture(std::make_unique<evPicture>("sample", Bitmap(preview.RenderFilled(*page))));
    return design;
}

std::vector<std::string> DataKit::BuildDesigns()
{
    fs::create_directories(DesignsFolder());
    std::vector<std::string> written;
    for (const std::string& source : FilesWithExtension(Source("designs"), ".json")) {
        const std::unique_ptr<evLayout> design = CompileDesign(source, kAlbumDesignKeys);
        const std::string target = (fs::path(DesignsFolder()) / (design->GetName() + ".evl")).string();
        if (std::find(written.begin(), written.end(), target) != written.end())
            throw EDataSourceError(source + ": another description already has the name \"" + design->GetName() + "\"");
        WriteAtomically(target, Saved(*design));
        written.push_back(target);
        Report("wrote " + target);
    }
    if (written.empty())
        throw EDataSourceError(Source("designs") + ": no design descriptions (*.json); the program needs one");
    RemoveStaleDesigns(written);
    return written;
}

// A design that was renamed or removed from the sources must not stay in the program's list: the design files
// this kit wrote before are listed in a manifest, and those not written again are deleted. Files of other
// origin in the folder are left alone.
void DataKit::RemoveStaleDesigns(const std::vector<std::string>& written) const
{
    const fs::path manifest = fs::path(DesignsFolder()) / kManifestName;
    std::vector<std::string> names;
    for (const std::string& path : written)
        names.push_back(fs::path(path).filename().string());
    std::ifstream previous(manifest);
    std::string name;
    while (std::getline(previous, name)) {
        const bool stale = std::find(names.begin(), names.end(), name) == names.end();
        if (stale && name == fs::path(name).filename().string() && fs::path(name).extension() == ".evl") {
            std::error_code error;
            fs::remove(fs::path(DesignsFolder()) / name, error);
            Report("removed " + (fs::path(DesignsFolder()) / name).string());
        }
    }
    std::string list;
    for (const std::string& n : names)
        list += n + "\n";
    WriteAtomically(manifest.string(), std::vector<uint8_t>(list.begin(), list.end()));
}

std::string DataKit::BuildStudio()
{
    fs::create_directories(DataFolder());
    const std::unique_ptr<evLayout> studio = CompileDesign(Source("studio.json"), kStudioKeys);
    const std::string target = (fs::path(DataFolder()) / "studio.evb").string();
    WriteAtomically(target, Saved(*studio));
    Report("wrote " + target);
    return target;
}

void DataKit::EncodeChecked(const AudioBuffer& audio, float quality, const std::string& path,
                            const std::string& title) const
{
    OggVorbis::Encode(audio, quality, path, title);
    const OggVorbis::Info info = OggVorbis::Inspect(path);
    if (info.channels != audio.channels || info.sampleRate != audio.sampleRate ||
        std::abs(info.seconds - audio.Seconds()) > 0.1)
        throw EVelloraError(title + ": the encoded audio does not decode to what was encoded");
    if (info.peak >= 1.0f)
        throw EVelloraError(title + ": the encoded audio clips (peak " + std::to_string(info.peak) + ")");
    char line[200];
    std::snprintf(line, sizeof line, "%s: %.1f s, %d channel(s) at %d Hz, peak %.1f dBFS, level %.1f dBFS RMS",
                  title.c_str(), info.seconds, info.channels, info.sampleRate,
                  20 * std::log10(std::max(info.peak, 1e-6f)), 20 * std::log10(std::max(info.rms, 1e-6f)));
    Report(line);
}

std::unique_ptr<evObjectCollection> DataKit::BuildMusic(const std::string& workFolder) const
{
    auto music = std::make_unique<evObjectCollection>();
    const Synthesizer synthesizer;
    for (const std::string& source : FilesWithExtension(Source("music"), ".score")) {
        const MusicScore score = MusicScore::Load(source);
        const AudioBuffer audio = synthesizer.Render(score, m_options.musicSeconds);
        const std::string file = (fs::path(workFolder) / (fs::path(source).stem().string() + ".ogg")).string();
        EncodeChecked(audio, kMusicQuality, file, score.Title());
        music->Add(std::make_unique<evMusic>(score.Title(), kMusicLoops, file));
    }
    if (music->Count() == 0)
        throw EDataSourceError(Source("music") + ": no scores (*.score)");
    return music;
}

std::unique_ptr<evObjectCollection> DataKit::BuildSpeech(const std::string& workFolder) const
{
    auto speech = std::make_unique<evObjectCollection>();
    const SpeechSynthesizer voice;
    for (const IndexedText& clip : HelpTextSource::Load(Source("speech-clips.txt"), kSpeechClipCount)) {
        const AudioBuffer audio = voice.Speak(clip.text);
        const std::string file = (fs::path(workFolder) / ("speech" + std::to_string(clip.index) + ".ogg")).string();
        EncodeChecked(audio, kSpeechQuality, file, clip.name);
        speech->Add(std::make_unique<evMusic>(clip.name, kSpeechPlaysOnce, file));
    }
    return speech;
}

void DataKit::BuildSoundLists()
{
    fs::create_directories(DataFolder());
    QTemporaryDir work;
    if (!work.isValid())
        throw EFCreateError("Cannot create a temporary folder for the audio files");
    m_music = BuildMusic(work.path().toStdString());
    m_speech = BuildSpeech(work.path().toStdString());
    for (const auto& [name, list] : {std::pair{"music.evb", m_music.get()}, std::pair{"speaker.evb", m_speech.get()}}) {
        MemoryStream stream;
        if (!list->SaveToStream(stream))
            throw EWriteError(std::string("Cannot write ") + name);
        const std::string target = (fs::path(DataFolder()) / name).string();
        WriteAtomically(target, stream.Data());
        Report("wrote " + target);
    }
}

std::unique_ptr<evObjectCollection> DataKit::BuildHelpTexts() const
{
    auto texts = std::make_unique<evObjectCollection>();
    for (const IndexedText& entry : HelpTextSource::Load(Source("help-texts.txt"), kHelpTextCount))
        texts->Add(std::make_unique<evHelptext>(entry.name, entry.index, entry.text));
    return texts;
}

std::unique_ptr<evObjectCollection> DataKit::BuildSkinPictures() const
{
    auto pictures = std::make_unique<evObjectCollection>();
    SkinPainter painter;
    for (int i = 0; i < SkinPainter::Count(); ++i)
        pictures->Add(std::make_unique<evPicture>("skin " + std::to_string(i), Bitmap(painter.Paint(i))));
    return pictures;
}

std::string DataKit::BuildMainFile()
{
    if (!m_music || !m_speech)
        BuildSoundLists();
    fs::create_directories(DataFolder());
    const evBranding branding(kBundleName, ChapterTreeSource::Load(Source("chapters.txt")), BuildHelpTexts(),
                              BuildSkinPictures(), m_music->Clone(), m_speech->Clone());
    const std::string target = (fs::path(DataFolder()) / "main.evb").string();
    WriteAtomically(target, Saved(branding));
    Report("wrote " + target);
    return target;
}
