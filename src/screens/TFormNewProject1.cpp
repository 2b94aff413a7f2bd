#include "screens/TFormNewProject1.h"

#include "model/evProject.h"
#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/DateEntry.h"
#include "screens/PersonalDataCheck.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormNewProject2.h"
#include "screens/TTransEdit.h"
#include "screens/WizardLook.h"

#include <QEvent>

namespace G = Geometry::NewProject1;

TFormNewProject1::TFormNewProject1() : SkinnedScreen(Kind::FullScreen)
{
    setWindowTitle("New album - names and date");
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    imgTop = AddSkinImage(G::imgTop, Skin::NewProjectHeader);
    imgFrm = AddSkinImage(G::imgFrm, Skin::NamesFrame);
    imgBtn = AddSkinImage(G::imgBtn, Skin::NamesButtons);
    imgHelpBox = AddSkinImage(G::imgHelpBox, Skin::HelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
    WatchHints(labelHelp, &m_hint);
    EditName1 = AddTransField(Panel(), G::EditName1);
    EditName2 = AddTransField(Panel(), G::EditName2);
    EditDatum = AddTransField(Panel(), G::EditDatum);
    EditName1->setMaxLength(kMaxNameLength);
    EditName2->setMaxLength(kMaxNameLength);
    ImgCancel = AddImage(G::ImgCancel, TImage::Role::Button);
    ImgApply = AddImage(G::ImgApply, TImage::Role::Button);
    calendar = new DateCalendar(*this, EditDatum, G::imgCalendar, G::imgCalendarActive);
    EditDatum->setMouseTracking(true);
    for (TTransEdit* edit : {EditName1, EditName2, EditDatum})
        edit->installEventFilter(this);
    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    for (TImage* image : {calendar->Button(), calendar->ActiveButton()})
        connect(image, &TImage::mouseMoved, this, [this] { ShowDateHint(labelHelp, m_hint); });
    connect(ImgApply, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintOk); });
    connect(ImgCancel, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintCancel); });
    connect(ImgApply, &TImage::clicked, this, [this] { ImgApplyClick(); });
    connect(ImgCancel, &TImage::clicked, this, [this] { ImgCancelClick(); });
    SetKeyHandlers([this] { ImgApplyClick(); }, [this] { EscapePressed(); });
}

TFormNewProject1::~TFormNewProject1() = default;

std::unique_ptr<evProject> TFormNewProject1::Run()
{
    Prepare();
    ShowModal();
    EndRun();
    if (!m_accepted || !Screens().formNewProject2)
        return nullptr;
    return Screens().formNewProject2->Run(GetFirstName(), GetSecondName(), m_date);
}

void TFormNewProject1::Prepare()
{
    BeginRun();
    m_accepted = false;
    m_hint = -1;
    labelHelp->SetCaption(QString());
    EditName1->clear();
    EditName2->clear();
    EditDatum->setText(ToDisplay(ShortDateText(TodayDate())));
    EditName1->selectAll();
    EditName1->setFocus();
    PlaySpeech(8);
}

void TFormNewProject1::ImgApplyClick()
{
    const std::optional<double> date = CheckPersonalData(EditName1, EditName2, EditDatum);
    if (!date)
        return;
    StopSpeech();
    m_date = *date;
    m_accepted = true;
    Close();
}

void TFormNewProject1::ImgCancelClick()
{
    StopSpeech();
    Close();
}

// Escape leaves at once while nothing was typed; otherwise only when the question is answered yes.
void TFormNewProject1::EscapePressed()
{
    const bool typed = !EditName1->text().isEmpty() || !EditName2->text().isEmpty() ||
                       EditDatum->text() != ToDisplay(ShortDateText(TodayDate()));
    if (!typed || ConfirmLeaving(Help::LeaveWizardQuestion))
        ImgCancelClick();
}

void TFormNewProject1::ImgBGMouseMove(int x, int y)
{
    calendar->HoverAt(x, y, ImgBG);
    ShowHelpHint(labelHelp, m_hint, Help::PersonInstruction);
}

std::string TFormNewProject1::GetFirstName() const { return FromDisplay(EditName1->text()); }

std::string TFormNewProject1::GetSecondName() const { return FromDisplay(EditName2->text()); }

bool TFormNewProject1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EditDatum && event->type() == QEvent::MouseMove)
        ShowDateHint(labelHelp, m_hint);
    return SkinnedScreen::eventFilter(watched, event);
}
