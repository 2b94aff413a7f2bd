#include "screens/TFormPhotographer.h"

#include "model/evActionElement.h"
#include "model/evCategoryEntry.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPhotograph.h"
#include "model/evPicture.h"
#include "model/evProjectorPage.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "presentation/StudioFiles.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/HourglassCursor.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormImageEdit.h"
#include "screens/TTransEdit.h"
#include "screens/TTransMemo.h"
#include "screens/TformPreview.h"
#include "screens/TyesNoPopup.h"
#include "screens/WizardLook.h"

#include <QEvent>

#include <new>
#include <optional>

namespace G = Geometry::Photographer;

namespace {

// The face the screen's own texts are written in; the platform's font configuration gives its substitute.
constexpr const char* kScreenFace = "MS Sans Serif";
constexpr int32_t kScreenFontSize = 10;

// The record slot of each text control.
int32_t (evPhotograph::*const kTextSlotOf[TFormPhotographer::tsCount])() const = {
    &evPhotograph::GetIntroSlot, &evPhotograph::GetStudioSlot, &evPhotograph::GetAddressSlot,
    &evPhotograph::GetPhoneSlot, &evPhotograph::GetEmailSlot,  &evPhotograph::GetWebSlot,
    &evPhotograph::GetInfoSlot,
};

// The font dialog of each text control; the address font serves telephone, e-mail and web address as well.
constexpr TFormPhotographer::FontBlock kFontOf[TFormPhotographer::tsCount] = {
    TFormPhotographer::fbIntro,   TFormPhotographer::fbStudio,  TFormPhotographer::fbAddress,
    TFormPhotographer::fbAddress, TFormPhotographer::fbAddress, TFormPhotographer::fbAddress,
    TFormPhotographer::fbInfo,
};

// The text whose field gives each font dialog its font when the screen starts.
constexpr TFormPhotographer::TextSlot kFirstTextOf[TFormPhotographer::fbCount] = {
    TFormPhotographer::tsIntro,
    TFormPhotographer::tsStudio,
    TFormPhotographer::tsAddress,
    TFormPhotographer::tsInfo,
};

// The model keeps paragraphs apart with CR LF, the edits with a line feed.
QString ToControlText(const std::string& text)
{
    QString shown = ToDisplay(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

std::string FromControlText(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return FromDisplay(text);
}

} // namespace

TFormPhotographer::TFormPhotographer() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::StudioBackground);
    imgLogo = AddImage(G::imgLogo);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
    lblHelp = AddLabel(G::lblHelp, HintLabelStyle("Arial"));
    WatchHints(lblHelp, &m_hint);
    imgBtnStyleBlock1 =
        AddButton(G::imgBtnStyleBlock1, Help::HintFontIntro, &TFormPhotographer::imgBtnStyleBlock1Click);
    imgBtnStyleBlock2 =
        AddButton(G::imgBtnStyleBlock2, Help::HintFontStudio, &TFormPhotographer::imgBtnStyleBlock2Click);
    imgBtnStyleBlock3 =
        AddButton(G::imgBtnStyleBlock3, Help::HintFontAddress, &TFormPhotographer::imgBtnStyleBlock3Click);
    imgBtnFontInfo = AddButton(G::imgBtnFontInfo, Help::HintFontInfo, &TFormPhotographer::imgBtnFontInfoClick);
    imgBtnOK = AddButton(G::imgBtnOK, Help::HintStudioOk, &TFormPhotographer::imgBtnOKClick);
    imgBtnCancel = AddButton(G::imgBtnCancel, Help::HintStudioCancel, &TFormPhotographer::imgBtnCancelClick);
    imgBtnLogo = AddButton(G::imgBtnLogo, Help::HintStudioLogo, &TFormPhotographer::imgBtnLogoClick);
    imgBtnSample1 = AddButton(G::imgBtnSample1, Help::HintStudioSample, &TFormPhotographer::imgBtnSample1Click);
    imgBtnSample2 = AddButton(G::imgBtnSample2, Help::HintStudioSample, &TFormPhotographer::imgBtnSample2Click);
    imgBtnDelSamp1 =
        AddButton(G::imgBtnDelSamp1, Help::HintStudioDeleteSample, &TFormPhotographer::imgBtnDelSamp1Click);
    imgBtnDelSamp2 =
        AddButton(G::imgBtnDelSamp2, Help::HintStudioDeleteSample, &TFormPhotographer::imgBtnDelSamp2Click);
    imgBtnDelLogo = AddButton(G::imgBtnDelLogo, Help::HintStudioDeleteLogo, &TFormPhotographer::imgBtnDelLogoClick);
    Image7 = AddButton(G::Image7, Help::HintStudioPreview, &TFormPhotographer::Image7Click);
    m_deleteButtons = {imgBtnDelLogo, imgBtnDelSamp1, imgBtnDelSamp2};
    for (TImage* button : m_deleteButtons) {
        AddSkin(button, Skin::DeletePicture);
        button->hide();
        button->setEnabled(false);
    }
    edIntro = AddEdit(G::edIntro, tsIntro, Help::HintStudioIntro);
    memoStudio = AddMemo(G::memoStudio, tsStudio, Help::HintStudioName);
    memoAddress = AddMemo(G::memoAddress, tsAddress, Help::HintStudioAddress);
    memoPhone = AddMemo(G::memoPhone, tsPhone, Help::HintStudioPhone);
    edEmail = AddEdit(G::edEmail, tsEmail, Help::HintStudioEmail);
    edURL = AddEdit(G::edURL, tsWeb, Help::HintStudioWeb);
    memoInfo = AddMemo(G::memoInfo, tsInfo, Help::HintStudioInfo);
    m_fonts.fill(FontChoice{kScreenFace, kScreenFontSize, kColorBlack, 0});
    connect(ImgBG, &TImage::mouseMoved, this, [this] { ShowHintOf(ImgBG); });
}

TFormPhotographer::~TFormPhotographer() = default;

TImage* TFormPhotographer::AddButton(const Geometry::ControlRect& rect, int32_t hint,
                                     void (TFormPhotographer::*handler)())
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    m_hints.emplace_back(button, hint);
    connect(button, &TImage::mouseMoved, this, [this, button] { ShowHintOf(button); });
    connect(button, &TImage::clicked, this, [this, handler] { Guarded(handler); });
    return button;
}

TTransEdit* TFormPhotographer::AddEdit(const Geometry::ControlRect& rect, TextSlot slot, int32_t hint)
{
    auto* edit = new TTransEdit(Panel());
    edit->setGeometry(rect.x, rect.y, rect.w, rect.h);
    edit->SetTransparent(true);
    connect(edit, &QLineEdit::textChanged, this, [this, slot] { TextChange(slot); });
    m_textControls[slot] = edit;
    Watch(edit, hint);
    return edit;
}

TTransMemo* TFormPhotographer::AddMemo(const Geometry::ControlRect& rect, TextSlot slot, int32_t hint)
{
    auto* memo = new TTransMemo(Panel());
    memo->setGeometry(rect.x, rect.y, rect.w, rect.h);
    memo->SetTransparent(true);
    // A memo over the skin has no scroll bars; the caret and the wheel still scroll it.
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    memo->viewport()->setMouseTracking(true);
    memo->viewport()->installEventFilter(this);
    m_hints.emplace_back(memo->viewport(), hint);
    connect(memo, &QPlainTextEdit::textChanged, this, [this, slot] { TextChange(slot); });
    m_textControls[slot] = memo;
    Watch(memo, hint);
    return memo;
}

// A failure in a handler (a picture that cannot be stored, a page that cannot be made) is logged; it must not
// reach the event loop.
void TFormPhotographer::Guarded(void (TFormPhotographer::*handler)())
{
    try {
        (this->*handler)();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Studio screen: ") + e.what());
    } catch (const std::bad_alloc&) {
        ktLogs::LogLine("Studio screen: out of memory");
    }
}

void TFormPhotographer::Watch(QWidget* control, int32_t hint)
{
    control->setFont(MakeQFont(kScreenFace, kScreenFontSize, 0));
    QPalette palette = control->palette();
    palette.setColor(QPalette::Text, Qt::black);
    control->setPalette(palette);
    control->setMouseTracking(true);
    control->installEventFilter(this);
    m_hints.emplace_back(control, hint);
}

// ------------------------------------------------------------------------------------------------ the run

bool TFormPhotographer::Run(evPageLayout& layout, evPhotograph& record)
{
    Prepare(layout, record);
    ShowModal();
    return Finish();
}

// A record that lacks one of the seven text fields gets a copy of the page layout's field, so that every text
// control has a field to write into.
void TFormPhotographer::Prepare(evPageLayout& layout, evPhotograph& record)
{
    BeginRun();
    m_layout = &layout;
    m_record = &record;
    m_ok = false;
    m_hint = -1;
    lblHelp->SetCaption(QString());
    BindStudioRecord(record, layout);
    for (int block = 0; block < fbCount; ++block) {
        if (const evUserTextfield* field = TextField(kFirstTextOf[block]))
            m_fonts[block] = FontOfField(*field);
    }
    m_settingTexts = true;
    for (int slot = 0; slot < tsCount; ++slot) {
        const evUserTextfield* field = TextField(static_cast<TextSlot>(slot));
        SetControlText(static_cast<TextSlot>(slot), field ? field->GetText() : std::string());
    }
    m_settingTexts = false;
    RefreshPictures();
    edIntro->setFocus();
}

bool TFormPhotographer::Finish()
{
    if (m_ok)
        ApplyAll();
    EndRun();
    m_layout = nullptr;
    m_record = nullptr;
    return m_ok;
}

// ------------------------------------------------------------------------------------------------ texts

QWidget* TFormPhotographer::TextControl(TextSlot slot) const { return m_textControls[slot]; }

evUserTextfield* TFormPhotographer::TextField(TextSlot slot) const
{
    if (!m_record)
        return nullptr;
    const int32_t id = (m_record->*kTextSlotOf[slot])();
    return id != 0 ? dynamic_cast<evUserTextfield*>(m_record->FindUserElement(id)) : nullptr;
}

std::string TFormPhotographer::ControlText(TextSlot slot) const
{
    if (const auto* edit = dynamic_cast<const TTransEdit*>(m_textControls[slot]))
        return FromDisplay(edit->text());
    return FromControlText(static_cast<const TTransMemo*>(m_textControls[slot])->toPlainText());
}

void TFormPhotographer::SetControlText(TextSlot slot, const std::string& text)
{
    if (auto* edit = dynamic_cast<TTransEdit*>(m_textControls[slot]))
        edit->setText(ToControlText(text));
    else
        static_cast<TTransMemo*>(m_textControls[slot])->setPlainText(ToControlText(text));
}

void TFormPhotographer::TextChange(TextSlot slot)
{
    if (!m_settingTexts)
        Apply(slot);
}

// The field keeps the design's own font while the chosen face is that font's; another face replaces it.
void TFormPhotographer::Apply(TextSlot slot)
{
    evUserTextfield* field = TextField(slot);
    if (!field)
        return;
    const FontChoice& font = m_fonts[kFontOf[slot]];
    field->SetText(ControlText(slot));
    field->SetBold((font.style & fsBold) != 0);
    field->SetItalic((font.style & fsItalic) != 0);
    field->SetUnderline((font.style & fsUnderline) != 0);
    field->SetColour(font.colour);
    if (font.size > 0)
        field->SetFontSize(font.size);
    if (FaceNameOf(*field) != font.name)
        field->SetFontID(0);
    field->SetFontName(font.name);
}

void TFormPhotographer::ApplyAll()
{
    for (int slot = 0; slot < tsCount; ++slot)
        Apply(static_cast<TextSlot>(slot));
}

FontChoice TFormPhotographer::FontOfField(const evUserTextfield& field) const
{
    return FontChoice{FaceNameOf(field), field.GetFontSize(), field.GetColour(), field.GetStyle()};
}

// The design's own font when the field names one, else the field's font name.
std::string TFormPhotographer::FaceNameOf(const evUserTextfield& field) const
{
    evLayout* design = m_layout ? m_layout->GetDesign() : nullptr;
    if (design && field.GetFontID() != 0) {
        if (const auto* font = dynamic_cast<const evFont*>(design->FindByID(field.GetFontID())))
            return font->GetFaceName();
    }
    return field.GetFontName();
}

void TFormPhotographer::ChooseFont(FontBlock block)
{
    if (!m_record)
        return;
    const std::optional<FontChoice> chosen = FontDialog().Execute(m_fonts[block]);
    if (!chosen)
        return;
    m_fonts[block] = *chosen;
    for (int slot = 0; slot < tsCount; ++slot) {
        if (kFontOf[slot] == block)
            Apply(static_cast<TextSlot>(slot));
    }
}

void TFormPhotographer::imgBtnStyleBlock1Click() { ChooseFont(fbIntro); }

void TFormPhotographer::imgBtnStyleBlock2Click() { ChooseFont(fbStudio); }

void TFormPhotographer::imgBtnStyleBlock3Click() { ChooseFont(fbAddress); }

void TFormPhotographer::imgBtnFontInfoClick() { ChooseFont(fbInfo); }

// --------------------------------------------------------------------------------------------- pictures

int32_t TFormPhotographer::SlotId(PictureSlot slot) const
{
    if (!m_record)
        return 0;
    return slot == psLogo ? m_record->GetLogoSlot() : m_record->GetSampleSlot(slot == psSample1 ? 1 : 2);
}

// A sample is a user picture of the page layout; the logo is the user picture that the logo's action element
// places through its first slot entry.
evUserPicture* TFormPhotographer::SlotPicture(PictureSlot slot) const
{
    const int32_t id = SlotId(slot);
    if (!m_layout || id == 0)
        return nullptr;
    if (slot != psLogo) {
        if (auto* picture = dynamic_cast<evUserPicture*>(m_layout->FindByID(id)))
            return picture;
        return dynamic_cast<evUserPicture*>(m_layout->ResolveEntryElement(id));
    }
    const auto* action = dynamic_cast<const evActionElement*>(m_layout->FindByID(id));
    const auto* entry =
        action ? dynamic_cast<const evPageLayoutEntry*>(m_layout->FindByID(action->GetFirstSlot())) : nullptr;
    return entry ? dynamic_cast<evUserPicture*>(m_layout->ResolveEntryElement(entry->GetElementID())) : nullptr;
}

void TFormPhotographer::ChoosePicture(PictureSlot slot)
{
    evUserPicture* target = SlotPicture(slot);
    TFormImageEdit* imageEdit = Screens().formImageEdit.get();
    if (!target || !imageEdit)
        return;
    FileDialogRequest request;
    request.filter = HelpText(Help::PictureFilter);
    request.initialFolder = RememberedFolder(DialogPurpose::Pictures);
    const std::optional<std::string> file = Dialogs().OpenFile(request);
    if (!file)
        return;
    RememberFolderOf(DialogPurpose::Pictures, *file);
    const bool fixed = target->GetFrameID() == 0 || target->GetAlternateFrameID() == 0;
    Bitmap picture;
    if (imageEdit->Run(*file, target->GetWidth(), target->GetHeight(), fixed, picture))
        StorePicture(slot, picture);
    RefreshPictures();
}

void TFormPhotographer::StorePicture(PictureSlot slot, const Bitmap& picture)
{
    const evUserPicture* target = SlotPicture(slot);
    const int32_t id = SlotId(slot);
    if (!m_record || !target || id == 0)
        return;
    evCategoryEntry* entry = m_record->FindUserEntry(id);
    if (auto* stored = entry ? dynamic_cast<evPicture*>(entry->GetElement()) : nullptr) {
        stored->SetGraphic(picture);
        return;
    }
    auto made = std::make_unique<evPicture>(target->GetName(), picture);
    // A damaged record may keep something else under the slot: the picture takes its place.
    if (entry)
        entry->SetElement(std::move(made));
    else
        m_record->AddUserElement(id, std::move(made));
}

void TFormPhotographer::imgBtnLogoClick() { ChoosePicture(psLogo); }

void TFormPhotographer::imgBtnSample1Click() { ChoosePicture(psSample1); }

void TFormPhotographer::imgBtnSample2Click() { ChoosePicture(psSample2); }

void TFormPhotographer::AskAndRemove(PictureSlot slot, int32_t question)
{
    TyesNoPopup* popup = Screens().yesNoPopup.get();
    const int32_t id = SlotId(slot);
    if (!m_record || !popup || id == 0)
        return;
    if (!popup->Run(HelpText(question)))
        return;
    evObjectCollection& elements = m_record->GetUserElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const auto* entry = elements.GetItemAs<evCategoryEntry>(i);
        if (entry && entry->GetSlotID() == id) {
            elements.Delete(i);
            break;
        }
    }
    RefreshPictures();
}

void TFormPhotographer::imgBtnDelLogoClick() { AskAndRemove(psLogo, Help::ConfirmRemoveStudioLogo); }

void TFormPhotographer::imgBtnDelSamp1Click() { AskAndRemove(psSample1, Help::ConfirmRemoveSample1); }

void TFormPhotographer::imgBtnDelSamp2Click() { AskAndRemove(psSample2, Help::ConfirmRemoveSample2); }

TImage* TFormPhotographer::DeleteButton(PictureSlot slot) const { return m_deleteButtons[slot]; }

void TFormPhotographer::RefreshPictures()
{
    for (int slot = 0; slot < psCount; ++slot) {
        const int32_t id = SlotId(static_cast<PictureSlot>(slot));
        const bool held = m_record && id != 0 && dynamic_cast<evPicture*>(m_record->FindUserElement(id));
        m_deleteButtons[slot]->setEnabled(held);
        m_deleteButtons[slot]->setVisible(held);
    }
}

// ------------------------------------------------------------------------------------------------ the rest

void TFormPhotographer::Image7Click()
{
    TformPreview* preview = Screens().formPreview.get();
    if (!m_record || !preview)
        return;
    std::unique_ptr<evProjectorPage> page;
    try {
        HourglassCursor hourglass;
        page = m_record->CreatePresentationPage();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Studio page not previewed: ") + e.what());
        return;
    }
    preview->ShowPageInArea(std::move(page), Geometry::Preview::ReducedPage);
}

void TFormPhotographer::imgBtnOKClick()
{
    m_ok = true;
    Close();
}

void TFormPhotographer::imgBtnCancelClick() { Close(); }

void TFormPhotographer::ShowHintOf(const QObject* control)
{
    int32_t hint = -1;
    for (const auto& [watched, index] : m_hints) {
        if (watched == control)
            hint = index;
    }
    ShowHelpHint(lblHelp, m_hint, hint);
}

bool TFormPhotographer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
        ShowHintOf(watched);
    return SkinnedScreen::eventFilter(watched, event);
}
