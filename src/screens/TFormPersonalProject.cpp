#include "screens/TFormPersonalProject.h"

#include "model/ProjectModification.h"
#include "model/evProject.h"
#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/DateEntry.h"
#include "screens/PersonalDataCheck.h"
#include "screens/SkinService.h"
#include "screens/TTransEdit.h"
#include "screens/WizardLook.h"

#include <QEvent>

namespace G = Geometry::PersonalProject;

TFormPersonalProject::TFormPersonalProject() : SkinnedScreen(Kind::FullScreen)
{
    setWindowTitle("Names and date");
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    imgCap = AddSkinImage(G::imgCap, Skin::PersonalDataCaption);
    imgFrm = AddSkinImage(G::imgFrm, Skin::NamesFrame);
    imgBtn = AddSkinImage(G::imgBtn, Skin::NamesButtons);
    imgHelpBox = AddSkinImage(G::imgHelpBox, Skin::HelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
    WatchHints(labelHelp, &m_hint);
    TransEdit1 = AddTransField(Panel(), G::TransEdit1);
    TransEdit2 = AddTransField(Panel(), G::TransEdit2);
    TransEdit3 = AddTransField(Panel(), G::TransEdit3);
    TransEdit3->setMouseTracking(true);
    imgBtnCancel = AddImage(G::imgBtnCancel, TImage::Role::Button);
    imgBtnApply = AddImage(G::imgBtnApply, TImage::Role::Button);
    calendar = new DateCalendar(*this, TransEdit3, G::imgCalendar, G::imgCalendarActive);
    for (TTransEdit* edit : {TransEdit1, TransEdit2, TransEdit3})
        edit->installEventFilter(this);
    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    for (TImage* image : {calendar->Button(), calendar->ActiveButton()})
        connect(image, &TImage::mouseMoved, this, [this] { ShowDateHint(labelHelp, m_hint); });
    connect(imgBtnApply, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintOk); });
    connect(imgBtnCancel, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintCancel); });
    connect(imgBtnApply, &TImage::clicked, this, [this] { imgBtnApplyClick(); });
    connect(imgBtnCancel, &TImage::clicked, this, [this] { imgBtnCancelClick(); });
    SetKeyHandlers([this] { imgBtnApplyClick(); }, [this] { EscapePressed(); });
}

TFormPersonalProject::~TFormPersonalProject() = default;

void TFormPersonalProject::Run()
{
    evProject* project = AppContext() ? AppContext()->GetCurrentProject() : nullptr;
    if (!project)
        return;
    Prepare(*project);
    ShowModal();
    EndRun();
    m_project = nullptr;
}

void TFormPersonalProject::Prepare(evProject& project)
{
    BeginRun();
    m_project = &project;
    m_applied = false;
    m_hint = -1;
    labelHelp->SetCaption(QString());
    TransEdit1->setText(ToDisplay(project.GetFirstName()));
    TransEdit2->setText(ToDisplay(project.GetSecondName()));
    TransEdit3->setText(ToDisplay(ShortDateText(project.GetDate())));
    TransEdit1->setFocus();
}

void TFormPersonalProject::imgBtnApplyClick()
{
    if (!m_project)
        return;
    const std::optional<double> date = CheckPersonalData(TransEdit1, TransEdit2, TransEdit3);
    if (!date)
        return;
    m_project->SetFirstName(FromDisplay(TransEdit1->text()));
    m_project->SetSecondName(FromDisplay(TransEdit2->text()));
    m_project->SetDate(*date);
    m_applied = true;
    MarkModified();
    Close();
}

void TFormPersonalProject::imgBtnCancelClick() { Close(); }

void TFormPersonalProject::EscapePressed()
{
    const bool changed = m_project && (FromDisplay(TransEdit1->text()) != m_project->GetFirstName() ||
                                       FromDisplay(TransEdit2->text()) != m_project->GetSecondName() ||
                                       TransEdit3->text() != ToDisplay(ShortDateText(m_project->GetDate())));
    if (!changed || ConfirmLeaving(Help::DropChangesQuestion))
        imgBtnCancelClick();
}

void TFormPersonalProject::ImgBGMouseMove(int x, int y)
{
    calendar->HoverAt(x, y, ImgBG);
    ShowHelpHint(labelHelp, m_hint, Help::PersonInstruction);
}

bool TFormPersonalProject::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TransEdit3 && event->type() == QEvent::MouseMove)
        ShowDateHint(labelHelp, m_hint);
    return SkinnedScreen::eventFilter(watched, event);
}
