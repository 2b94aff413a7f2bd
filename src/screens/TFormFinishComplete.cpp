#include "screens/TFormFinishComplete.h"

#include "model/ProgressBar.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "presentation/DiscImage.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/WizardLook.h"

#include <QFile>

#include <filesystem>

namespace G = Geometry::FinishComplete;

namespace {

constexpr int32_t kHintDiscImage = 261;
constexpr int32_t kDiscImageDialogTitle = 262;
constexpr int32_t kDiscImageWait = 263;
constexpr int32_t kDiscImageSaved = 264;
constexpr int32_t kDiscImageFailed = 265;

void ShowMessage(const QString& text)
{
    if (TokPopup* ok = Screens().okPopup.get())
        ok->Run(text);
}

bool HasIsoExtension(const std::string& path)
{
    const std::string extension = std::filesystem::path(path).extension().string();
    return QString::fromStdString(extension).compare(".iso", Qt::CaseInsensitive) == 0;
}

} // namespace

TFormFinishComplete::TFormFinishComplete() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, 1);
    ImgHeader = AddSkinImage(G::ImgHeader, 90);
    ImgReport = AddSkinImage(G::ImgReport, 86);
    ImgBtn = AddSkinImage(G::ImgBtn, 89);
    imgHelpBox = AddSkinImage(G::imgHelpBox, 20);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    ImgApply = AddImage(G::ImgBtn, TImage::Role::Button);
    imgBtnDiscImage = AddHoverImage(G::imgBtnDiscImage, 199);
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    connect(imgBtnDiscImage, &TImage::clicked, this, [this] { imgBtnDiscImageClick(); });
    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    connect(imgBtnDiscImage, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, kHintDiscImage); });
}

void TFormFinishComplete::Run(const std::string& discFolder, const std::string& firstName,
                              const std::string& secondName)
{
    Prepare(discFolder, firstName, secondName);
    ShowModal();
    EndRun();
}

void TFormFinishComplete::Prepare(const std::string& discFolder, const std::string& firstName,
                                  const std::string& secondName)
{
    BeginRun();
    m_discFolder = discFolder;
    m_volumeName = DiscVolumeName(ToDisplayUtf8(firstName), ToDisplayUtf8(secondName));
    m_imagePath.clear();
    m_imageError.clear();
    m_hint = -1;
    labelHelp->SetCaption(QString());
    imgBtnDiscImage->hide();
}

void TFormFinishComplete::ImgApplyClick() { Close(); }

void TFormFinishComplete::ImgBGMouseMove(int x, int y)
{
    ShowHelpHint(labelHelp, m_hint, HoverShow(x, y, imgBtnDiscImage, ImgBG) ? kHintDiscImage : -1);
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
    const FileDialogRequest request{HelpText(kDiscImageDialogTitle), "Disc image|*.iso", chosenFolder, ".iso"};
    const std::optional<std::string> chosen = Dialogs().SaveFile(request);
    if (!chosen || chosen->empty())
        return {};
    return HasIsoExtension(*chosen) ? *chosen : *chosen + ".iso";
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
            wait->Run(HelpText(kDiscImageWait), [&write](ProgressBar& bar) {
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
        ShowMessage(HelpText(kDiscImageFailed) + "\n" + DoubleAmpersands(QString::fromStdString(m_imageError)));
        return;
    }
    m_imagePath = path;
    ShowMessage(HelpText(kDiscImageSaved) + "\n" + DoubleAmpersands(QFile::decodeName(path.c_str())));
}
