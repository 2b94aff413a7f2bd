#include "screens/TFormFinishComplete.h"

#include "model/ProgressBar.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "presentation/DiscImage.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/WizardLook.h"
#include "video/VideoExport.h"

#include <QFile>

#include <filesystem>

namespace G = Geometry::FinishComplete;

namespace {

void ShowMessage(const QString& text)
{
    if (TokPopup* ok = Screens().okPopup.get())
        ok->Run(text);
}

bool HasExtension(const std::string& path, const char* wanted)
{
    const std::string extension = std::filesystem::path(path).extension().string();
    return QString::fromStdString(extension).compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

} // namespace

TFormFinishComplete::TFormFinishComplete() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    ImgHeader = AddSkinImage(G::ImgHeader, Skin::FinishHeader);
    ImgReport = AddSkinImage(G::ImgReport, Skin::FinishCompleteReport);
    ImgBtn = AddSkinImage(G::ImgBtn, Skin::ReportOkButton);
    imgHelpBox = AddSkinImage(G::imgHelpBox, Skin::HelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
    WatchHints(labelHelp, &m_hint);
    ImgApply = AddImage(G::ImgBtn, TImage::Role::Button);
    imgBtnDiscImage = AddHoverImage(G::imgBtnDiscImage, Skin::DiscImageButtonActive);
    imgBtnVideo = AddHoverImage(G::imgBtnVideo, Skin::VideoButtonActive);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    connect(imgBtnDiscImage, &TImage::clicked, this, [this] { imgBtnDiscImageClick(); });
    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    connect(imgBtnDiscImage, &TImage::mouseMoved, this,
            [this] { ShowHelpHint(labelHelp, m_hint, Help::HintSaveDiscImage); });
    connect(imgBtnVideo, &TImage::clicked, this, [this] { imgBtnVideoClick(); });
    connect(imgBtnVideo, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintMakeVideo); });
}

void TFormFinishComplete::Run(const std::string& discFolder, const std::string& firstName,
                              const std::string& secondName)
{
    Prepare(discFolder, firstName, secondName);
    ShowModal();
    EndRun();
    SetVideoSource(nullptr, nullptr, 0);
}

void TFormFinishComplete::SetVideoSource(evProject* project, evPhotograph* studio, int32_t studioSeconds)
{
    m_project = project;
    m_studio = studio;
    m_studioSeconds = studioSeconds;
}

void TFormFinishComplete::Prepare(const std::string& discFolder, const std::string& firstName,
                                  const std::string& secondName)
{
    BeginRun();
    m_discFolder = discFolder;
    m_volumeName = DiscVolumeName(ToDisplayUtf8(firstName), ToDisplayUtf8(secondName));
    m_imagePath.clear();
    m_imageError.clear();
    m_videoPath.clear();
    m_videoError.clear();
    m_hint = -1;
    labelHelp->SetCaption(QString());
    imgBtnDiscImage->hide();
    imgBtnVideo->hide();
}

void TFormFinishComplete::ImgApplyClick() { Close(); }

void TFormFinishComplete::ImgBGMouseMove(int x, int y)
{
    int32_t hint = -1;
    if (HoverShow(x, y, imgBtnDiscImage, ImgBG))
        hint = Help::HintSaveDiscImage;
    if (HoverShow(x, y, imgBtnVideo, ImgBG))
        hint = Help::HintMakeVideo;
    ShowHelpHint(labelHelp, m_hint, hint);
}

void TFormFinishComplete::imgBtnDiscImageClick()
{
    if (m_discFolder.empty())
        return;
    const std::string path = ChooseImagePath();
    if (!path.empty())
        WriteImage(path);
}

// The image's file name, offered beside the disc folder; ".iso" is added when the name has no such ending.
std::string TFormFinishComplete::ChooseImagePath()
{
    const std::string chosenFolder = std::filesystem::path(m_discFolder).parent_path().string();
    const FileDialogRequest request{HelpText(Help::DiscImageDialogTitle), "Disc image|*.iso", chosenFolder, ".iso"};
    const std::optional<std::string> chosen = Dialogs().SaveFile(request);
    if (!chosen || chosen->empty())
        return {};
    return HasExtension(*chosen, ".iso") ? *chosen : *chosen + ".iso";
}

void TFormFinishComplete::WriteImage(const std::string& path)
{
    const auto write = [this, &path](ProgressBar* bar) {
        WriteDiscImage(m_discFolder, path, m_volumeName, [bar](int percent) {
            if (bar)
                bar->SetPosition(percent);
        });
    };
    m_imageError.clear();
    TwaitPopup* wait = Screens().waitPopup.get();
    try {
        if (wait) {
            wait->Run(HelpText(Help::DiscImageWait), [&write](ProgressBar& bar) {
                write(&bar);
                return true;
            });
        } else {
            write(nullptr);
        }
    } catch (const std::exception& error) {
        if (wait)
            wait->hide();
        m_imageError = error.what();
        ktLogs::LogLine("Disc image not written: " + m_imageError);
        ShowMessage(HelpText(Help::DiscImageFailed) + "\n" + DoubleAmpersands(QString::fromStdString(m_imageError)));
        return;
    }
    m_imagePath = path;
    ShowMessage(HelpText(Help::DiscImageSaved) + "\n" + DoubleAmpersands(QFile::decodeName(path.c_str())));
}

void TFormFinishComplete::imgBtnVideoClick()
{
    if (!m_project)
        return;
    const std::string path = ChooseVideoPath();
    if (!path.empty())
        MakeVideo(path);
}

// The video's file name, offered beside the disc folder; ".mp4" is added when the name has no such ending.
std::string TFormFinishComplete::ChooseVideoPath()
{
    const std::string chosenFolder = std::filesystem::path(m_discFolder).parent_path().string();
    const FileDialogRequest request{HelpText(Help::VideoDialogTitle), "Video|*.mp4", chosenFolder, ".mp4"};
    const std::optional<std::string> chosen = Dialogs().SaveFile(request);
    if (!chosen || chosen->empty())
        return {};
    return HasExtension(*chosen, ".mp4") ? *chosen : *chosen + ".mp4";
}

void TFormFinishComplete::MakeVideo(const std::string& path)
{
    VideoExport video(*m_project, path);
    video.SetStudio(m_studio, m_studioSeconds);
    TwaitPopup* wait = Screens().waitPopup.get();
    m_videoError.clear();
    try {
        if (wait) {
            wait->RunCancellable(HelpText(Help::VideoWait), [&video, wait](ProgressBar& bar) {
                video.SetProgress([&bar, wait](int percent) {
                    bar.SetPosition(percent);
                    return !wait->IsCancelled();
                });
                video.Produce();
                return true;
            });
        } else {
            video.Produce();
        }
    } catch (const EVideoCancelled& cancelled) {
        m_videoError = cancelled.what();
        return;
    } catch (const std::exception& error) {
        m_videoError = error.what();
        ktLogs::LogLine("Video not made: " + m_videoError);
        ShowMessage(HelpText(Help::VideoFailed) + "\n" + DoubleAmpersands(QString::fromStdString(m_videoError)));
        return;
    }
    m_videoPath = path;
    QString text = HelpText(Help::VideoSaved) + "\n" + DoubleAmpersands(QFile::decodeName(path.c_str()));
    for (const std::string& warning : video.GetWarnings())
        text += "\n" + DoubleAmpersands(QString::fromStdString(warning));
    ShowMessage(text);
}
