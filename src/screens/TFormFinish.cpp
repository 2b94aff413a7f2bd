#include "screens/TFormFinish.h"

#include "audio/WebMusic.h"
#include "model/ProgressBar.h"
#include "model/evCategory.h"
#include "model/evPhotograph.h"
#include "model/evProject.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "presentation/DiscProducer.h"
#include "presentation/Preflight.h"
#include "presentation/StudioBranding.h"
#include "presentation/StudioFiles.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ProjectStatus.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormFinishComplete.h"
#include "screens/TFormFinishError.h"
#include "screens/TformFindingsPopUp.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/TyesNoPopup.h"
#include "screens/WriteFailure.h"

#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>

namespace G = Geometry::Finish;

namespace {

LabelStyle WhiteLine()
{
    LabelStyle style = SkinnedScreen::PopupTextStyle(kColorWhite, Qt::AlignLeft | Qt::AlignVCenter);
    style.wordWrap = false;
    return style;
}

void ShowMessage(const QString& text)
{
    if (TokPopup* ok = Screens().okPopup.get())
        ok->Run(text);
}

evProject* CurrentProject() { return AppContext() ? AppContext()->GetCurrentProject() : nullptr; }

} // namespace

TFormFinish::TFormFinish() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    imgLogo = AddImage(G::imgLogo);
    ImgHeader = AddSkinImage(G::ImgHeader, Skin::FinishHeader);
    ImgForm = AddSkinImage(G::ImgForm, Skin::FinishForm);
    ImgBtn = AddSkinImage(G::ImgBtn, Skin::FinishButtons);
    imgHelpBox = AddSkinImage(G::imgHelpBox, Skin::HelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    WatchHints(labelHelp, &m_hint);
    LabelStatus = AddLabel(G::LabelStatus, WhiteLine());
    LabelDir = AddLabel(G::LabelDir, WhiteLine());
    Image1 = AddImage(G::Image1, TImage::Role::Button);
    imgVisible = AddImage(G::imgVisible);
    imgBtnVisible = AddImage(G::imgBtnVisible, TImage::Role::Button);
    imgDuration = AddImage(G::imgDuration);
    editDuration = new QLineEdit(Panel());
    editDuration->setGeometry(G::editDuration.x, G::editDuration.y, G::editDuration.w, G::editDuration.h);
    editDuration->setFrame(false);
    QFont font("Arial");
    font.setPixelSize(16);
    editDuration->setFont(font);
    editDuration->setAlignment(Qt::AlignCenter);
    editDuration->setStyleSheet("QLineEdit { background: transparent; color: black; border: none; }");
    editDuration->setText("5");
    ImgCancel = AddImage(G::ImgCancel, TImage::Role::Button);
    ImgApply = AddImage(G::ImgApply, TImage::Role::Button);

    connect(Image1, &TImage::clicked, this, [this] { Image1Click(); });
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    connect(ImgCancel, &TImage::clicked, this, [this] { ImgCancelClick(); });
    connect(imgBtnVisible, &TImage::clicked, this, [this] { imgBtnVisibleClick(); });
    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    connect(Image1, &TImage::mouseMoved, this, [this] { ShowHint(Help::HintFinishFolder); });
    connect(ImgCancel, &TImage::mouseMoved, this, [this] { ShowHint(Help::HintFinishCancel); });
    connect(ImgApply, &TImage::mouseMoved, this, [this] { ShowHint(Help::HintFinishApply); });
}

TFormFinish::~TFormFinish() = default;

void TFormFinish::Run()
{
    Prepare();
    PlaySpeech(13);
    ShowModal();
    Conclude();
}

void TFormFinish::Prepare()
{
    BeginRun();
    m_outcome = Outcome::None;
    m_failedStep.clear();
    m_hint = -1;
    labelHelp->SetCaption(QString());
    SetStudio(nullptr);
    if (AppContext())
        SetStudio(LoadStudioForFinishing(AppContext()->GetStudioFile(), AppContext()->GetStudioDataFile()));
    // The same line as the project menu's status line.
    LabelStatus->SetCaption(CurrentProject() ? ProjectStatusLine(*CurrentProject()).text
                                             : HelpText(Help::StatusIncomplete));
    m_findings.clear();
    // The folder chosen last time, while it is there.
    DirDialog1.Directory = RememberedFolder(DialogPurpose::DiscFolder);
    m_folder = DiscFolderFor(DirDialog1.Directory);
    ShowFolder();
}

void TFormFinish::ShowFolder()
{
    const QString shown = ShortenAtEnd(QFile::decodeName(m_folder.c_str()), LabelDir->font(), LabelDir->width());
    LabelDir->SetCaption(DoubleAmpersands(shown));
}

void TFormFinish::Conclude()
{
    StopSpeech();
    EndRun();
    // The studio page stays for the video that the report can make, as it was chosen here.
    const std::optional<int32_t> seconds = ParseStudioDuration(editDuration->text().toStdString());
    const std::unique_ptr<StudioBranding> studio = m_studioOn && seconds ? std::move(m_studio) : nullptr;
    SetStudio(nullptr);
    if (m_outcome == Outcome::Success) {
        evProject* project = CurrentProject();
        if (TFormFinishComplete* complete = Screens().formFinishComplete.get()) {
            complete->SetVideoSource(project, studio ? &studio->GetRecord() : nullptr, studio ? *seconds : 0);
            complete->Run(m_folder, project ? project->GetFirstName() : std::string(),
                          project ? project->GetSecondName() : std::string());
        }
    } else if (m_outcome == Outcome::Failure) {
        if (TFormFinishError* error = Screens().formFinishError.get())
            error->Run(QString::fromStdString(FinishErrorExplanation(m_failedStep)));
    }
}

// Without studio branding the switch and the duration are out of use; with it the studio page starts on.
void TFormFinish::SetStudio(std::unique_ptr<StudioBranding> studio)
{
    m_studio = std::move(studio);
    m_studioOn = m_studio != nullptr;
    imgVisible->setVisible(m_studioOn);
    imgDuration->setVisible(m_studioOn);
    imgBtnVisible->setEnabled(m_studioOn);
    editDuration->setVisible(m_studioOn);
    editDuration->setEnabled(m_studioOn);
    if (m_studioOn) {
        ShowSkinPicture(imgVisible, Skin::StudioPageOn);
        ShowSkinPicture(imgDuration, Skin::StudioPageDuration);
    } else {
        imgVisible->ClearPicture();
        imgDuration->ClearPicture();
    }
}

void TFormFinish::Image1Click()
{
    DirDialog1.Title = HelpText(Help::FolderDialogTitle);
    if (!DirDialog1.Execute())
        return;
    m_folder = DiscFolderFor(DirDialog1.Directory);
    RememberFolder(DialogPurpose::DiscFolder, DirDialog1.Directory);
    ShowFolder();
}

void TFormFinish::ImgApplyClick()
{
    if (m_folder.empty()) {
        ShowMessage(HelpText(Help::ChooseFolderFirst));
        return;
    }
    if (m_studioOn && !ParseStudioDuration(editDuration->text().toStdString())) {
        ShowMessage(HelpText(Help::DurationNotNumber));
        return;
    }
    if (HoldsDisc(m_folder)) {
        TyesNoPopup* question = Screens().yesNoPopup.get();
        if (question && !question->Run(HelpText(Help::ReplaceDiscQuestion)))
            return;
    }
    evProject* project = CurrentProject();
    if (project && CheckBeforeFinishing(*project))
        Produce(*project);
}

// The check renders every page as finishing will, under the wait pop-up. Anything it finds is shown first, and
// the disc is made only when the user chooses to finish anyway.
bool TFormFinish::CheckBeforeFinishing(evProject& project)
{
    PreflightCheck check(project);
    check.SetMusicAccess(MakeWebMusicAccess());
    m_findings.clear();
    TwaitPopup* wait = Screens().waitPopup.get();
    if (wait) {
        wait->Run(HelpText(Help::CheckingWait), [this, &check](ProgressBar& bar) {
            check.SetProgress([&bar](int percent) { bar.SetPosition(percent); });
            m_findings = check.Run();
            return true;
        });
    } else {
        m_findings = check.Run();
    }
    if (m_findings.empty())
        return true;
    TformFindingsPopUp* popup = Screens().formFindingsPopUp.get();
    return !popup || popup->Run(m_findings);
}

void TFormFinish::Produce(evProject& project)
{
    DiscProducer producer(project, m_folder);
    producer.SetStudio(m_studioOn ? &m_studio->GetRecord() : nullptr, editDuration->text().toStdString());
    producer.SetWebMusic(MakeWebMusicAccess());
    TwaitPopup* wait = Screens().waitPopup.get();
    try {
        if (wait) {
            wait->Run(HelpText(Help::WaitWritingPages), [&producer](ProgressBar& bar) {
                producer.SetProgress([&bar](int percent) { bar.SetPosition(percent); });
                producer.Produce();
                return true;
            });
        } else {
            producer.Produce();
        }
    } catch (const EFinishError& error) {
        ktLogs::LogLine(std::string("Finishing failed: ") + error.what());
        Fail(error.GetCode(), error.GetFile(), error.GetSystemError());
        return;
    } catch (const EStreamError& error) {
        // Every step turns its own failures into its code; what remains can only be the presentation.
        ktLogs::LogLine(std::string("Finishing failed: ") + error.what());
        Fail("FIN_PRJ", error.GetFile(), error.GetSystemError());
        return;
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Finishing failed: ") + error.what());
        Fail("FIN_PRJ");
        return;
    }
    // The disc is complete; what browsers will miss (music they cannot play) is worth a word before the
    // complete screen.
    std::string warnings;
    for (const std::string& warning : producer.GetWarnings())
        warnings += (warnings.empty() ? "" : "\n") + warning;
    if (!warnings.empty())
        ShowMessage(QString::fromStdString(warnings));
    m_outcome = Outcome::Success;
    Close();
}

// A full disc or a folder that cannot be written is said as such, with the file; anything else by its step.
void TFormFinish::Fail(const std::string& code, const std::string& file, int systemError)
{
    if (TwaitPopup* wait = Screens().waitPopup.get())
        wait->hide();
    if (!file.empty() && ClassifyWriteProblem(systemError) != WriteProblem::Other)
        ShowMessage(WriteFailureText(file, systemError, std::string()));
    else
        ShowMessage(QString::fromStdString(FinishErrorPopupText(code)));
    m_failedStep = code;
    m_outcome = Outcome::Failure;
    Close();
}

void TFormFinish::ImgCancelClick() { Close(); }

void TFormFinish::imgBtnVisibleClick()
{
    if (!m_studio)
        return;
    m_studioOn = !m_studioOn;
    ShowSkinPicture(imgVisible, m_studioOn ? Skin::StudioPageOn : Skin::StudioPageOff);
}

void TFormFinish::ImgBGMouseMove(int x, int y)
{
    if (G::LabelStatus.Contains(x, y))
        ShowHint(Help::HintFinishStatus);
    else if (G::LabelDir.Contains(x, y))
        ShowHint(Help::HintFinishFolder);
    else
        ShowHint(Help::FinishInstruction);
}

void TFormFinish::ShowHint(int32_t index) { ShowHelpHint(labelHelp, m_hint, index); }

QString TFormFinish::ShortenAtEnd(const QString& text, const QFont& font, int width)
{
    return TLabel::Shortened(text, font, width, TLabel::Keep::Start);
}
