#include "screens/TformProjectEditText.h"

#include "model/ProjectModification.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evUserTextfield.h"
#include "platform/Canvas.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/TFontDialog.h"
#include "screens/TTransMemo.h"
#include "screens/TframeTimeline.h"

#include <QEvent>
#include <QTimer>

#include <limits>
#include <optional>

namespace G = Geometry::EditText;

namespace {

// Typing re-renders the page only after this pause, so that every key does not pay for a whole page.
constexpr int kRefreshDelayMs = 300;
constexpr int32_t kSmallestSize = 6;

TPageEditorScreen::Look TextLook()
{
    TPageEditorScreen::Look look;
    look.ownTab = TPageEditorScreen::ResultTexts;
    look.ownTabHint = Help::HintTextTab;
    look.topPrjMenu = Skin::TextTopProjectMenuActive;
    look.topSave = Skin::TextTopSaveActive;
    look.topExit = Skin::TextTopExitActive;
    look.fullscreen = Skin::TextFullscreenActive;
    look.fullscreenHint = Help::HintTextFullScreen;
    look.speakerOff = Skin::TextSpeakerOff;
    look.speakerOffOver = Skin::TextSpeakerOffActive;
    look.speakerOnOver = Skin::TextSpeakerOnActive;
    look.speakerNoSound = Skin::TextSpeakerNoSound;
    look.speechClip = 3;
    return look;
}

bool HasNoTexts(int32_t kind)
{
    return kind == pkPictureOnly || kind == pkPictureOnly2 || kind == pkAnimation || kind == pkPictureOther;
}

// The model keeps paragraphs apart with CR LF, the memo with a line feed.
QString ToMemoText(const std::string& text)
{
    QString shown = ToDisplay(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

std::string FromMemoText(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return FromDisplay(text);
}

} // namespace

TformProjectEditText::TformProjectEditText() : TPageEditorScreen(TextLook())
{
    imgBg1 = AddBackground(G::imgBg1, Skin::TextBackgroundLeft);
    imgBg2 = AddBackground(G::imgBg2, Skin::TextBackgroundTopRight);
    imgBg3 = AddBackground(G::imgBg3, Skin::TextBackgroundBottomRight);
    imgBg4 = AddBackground(G::imgBg4, Skin::TextBackgroundRight);
    imgPreview = AddImage(G::imgPreview, TImage::Role::Background);
    ReportMouse(imgPreview);
    imgBold = AddStyleButton(G::imgBold, Help::HintBold, &TformProjectEditText::imgBoldClick);
    imgItalic = AddStyleButton(G::imgItalic, Help::HintItalic, &TformProjectEditText::imgItalicClick);
    imgUnderline = AddStyleButton(G::imgUnderline, Help::HintUnderline, &TformProjectEditText::imgUnderlineClick);
    imgUpper = AddStyleButton(G::imgUpper, Help::HintLarger, &TformProjectEditText::imgUpperClick);
    imgLower = AddStyleButton(G::imgLower, Help::HintSmaller, &TformProjectEditText::imgLowerClick);
    imgFont = AddStyleButton(G::imgFont, Help::HintFont, &TformProjectEditText::imgFontClick);
    imgNextTextfield = AddStyleButton(G::imgNextTextfield, -1, &TformProjectEditText::imgNextTextfieldClick);
    AddSkin(imgNextTextfield, Skin::NextTextField);
    imgNextTextfield->hide();
    CreateMemo();
    connect(imgFullscreen, &TImage::clicked, this, [this] { imgFullscreenClick(); });
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(kRefreshDelayMs);
    connect(m_refreshTimer, &QTimer::timeout, this, [this] { RefreshPage(); });
}

TformProjectEditText::~TformProjectEditText() = default;

TImage* TformProjectEditText::AddStyleButton(const Geometry::ControlRect& rect, int32_t hint,
                                             void (TformProjectEditText::*handler)())
{
    TImage* button = AddImage(rect, TImage::Role::Button);
    ReportMouse(button);
    AddHint(button, hint);
    connect(button, &TImage::clicked, this, [this, handler] { (this->*handler)(); });
    return button;
}

void TformProjectEditText::CreateMemo()
{
    memoText = new TTransMemo(Panel());
    memoText->setGeometry(G::memoText.x, G::memoText.y, G::memoText.w, G::memoText.h);
    memoText->SetTransparent(true);
    // A memo over the skin has no scroll bars; the caret and the wheel still scroll it.
    memoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memoText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memoText->setTabChangesFocus(true);
    QPalette palette = memoText->palette();
    palette.setColor(QPalette::Text, Qt::black);
    memoText->setPalette(palette);
    connect(memoText, &QPlainTextEdit::textChanged, this, [this] { memoTextChange(); });
}

// ------------------------------------------------------------------------------------------------ the page

void TformProjectEditText::PrepareEditor()
{
    m_refreshTimer->stop();
    m_pendingPage = nullptr;
    ForgetField();
    imgPreview->ClearPicture();
    WatchTimeline();
}

void TformProjectEditText::ShowThePage()
{
    // Typing into the page left behind was normally caught up when the strip was pressed; if not, that page
    // renders afresh the next time it is drawn.
    if (m_refreshTimer->isActive() && m_pendingPage && m_pendingPage != CurrentPage())
        m_pendingPage->MarkDirty();
    m_refreshTimer->stop();
    ForgetField();
    evCategory* page = CurrentPage();
    SetTabPossible(ResultLayout, page && page->GetKind() == 3);
    evPageLayout* layout = CurrentLayout();
    if (!layout || HasNoTexts(layout->GetKind())) {
        m_result = layout ? ResultPictures : ResultLayout;
        imgPreview->ClearPicture();
        if (isVisible())
            CloseForm();
        return;
    }
    SetTabPossible(ResultPictures, layout->GetKind() != pkTextOnly);
    if (TframeTimeline* timeline = GetTimeline())
        timeline->RefreshCurrentPage();
    SelectFirstField();
    imgNextTextfield->setVisible(layout->CountTextFields() >= 2);
}

evPageLayout* TformProjectEditText::CurrentLayout() const
{
    const evCategory* page = CurrentPage();
    return page && page->GetPageLayoutID() != 0 ? page->GetPageLayout() : nullptr;
}

std::vector<TformProjectEditText::FieldPlace> TformProjectEditText::EditableFields(const evPageLayout& layout)
{
    std::vector<FieldPlace> fields;
    const evObjectCollection& entries = layout.GetEntries();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        auto* entry = entries.GetItemAs<evPageLayoutEntry>(i);
        auto* field =
            entry ? dynamic_cast<evUserTextfield*>(layout.ResolveEntryElement(entry->GetElementID())) : nullptr;
        if (field && field->GetFixed() == 0)
            fields.push_back({field, entry});
    }
    return fields;
}

evUserTextfield* TformProjectEditText::PageCopyOf(evCategory& page, const evUserTextfield& field)
{
    evCategoryEntry* entry = page.FindUserEntry(field.GetID());
    if (entry) {
        if (auto* own = dynamic_cast<evUserTextfield*>(entry->GetElement()))
            return own;
        // A damaged page holds something else for the field: a fresh copy takes its place.
        entry->SetElement(field.Clone());
        page.MarkDirty();
    } else {
        page.AddUserElement(field.GetID(), field.Clone());
    }
    MarkModified();
    if (TframeTimeline* timeline = GetTimeline())
        timeline->RefreshMarkers();
    return dynamic_cast<evUserTextfield*>(page.FindUserElement(field.GetID()));
}

void TformProjectEditText::SelectFirstField()
{
    evCategory* page = CurrentPage();
    evPageLayout* layout = CurrentLayout();
    const std::vector<FieldPlace> fields = layout ? EditableFields(*layout) : std::vector<FieldPlace>{};
    if (!page || fields.empty()) {
        ForgetField();
        ShowPreview();
        return;
    }
    Select(PageCopyOf(*page, *fields.front().field), fields.front().entry);
}

void TformProjectEditText::Select(evUserTextfield* field, evPageLayoutEntry* entry)
{
    FlushPendingRefresh();
    m_currentField = field;
    m_currentEntry = field ? entry : nullptr;
    memoText->setReadOnly(!field);
    if (field) {
        SetMemoFont(FaceNameOf(*field), field->GetFontSize(), field->GetStyle());
        SetMemoText(field->GetText());
    }
    ShowPreview();
}

void TformProjectEditText::ForgetField()
{
    m_currentField = nullptr;
    m_currentEntry = nullptr;
    SetMemoText(std::string());
    memoText->setReadOnly(true);
}

// The design's own font when the field names one, else the field's font name.
std::string TformProjectEditText::FaceNameOf(const evUserTextfield& field) const
{
    evLayout* design = Design();
    if (design && field.GetFontID() != 0) {
        if (const auto* font = dynamic_cast<const evFont*>(design->FindByID(field.GetFontID())))
            return font->GetFaceName();
    }
    return field.GetFontName();
}

void TformProjectEditText::SetMemoFont(const std::string& name, int32_t size, int style)
{
    m_memoFontSize = size;
    memoText->setFont(MakeQFont(name, size, style));
}

void TformProjectEditText::SetMemoText(const std::string& text)
{
    m_settingMemo = true;
    memoText->setPlainText(ToMemoText(text));
    m_settingMemo = false;
}

void TformProjectEditText::ShowPreview()
{
    evCategory* page = CurrentPage();
    if (!page) {
        imgPreview->ClearPicture();
        return;
    }
    page->Render(nullptr, false);
    if (!m_currentField || !m_currentEntry) {
        ShowPageWithFrame(imgPreview, *page, nullptr);
        return;
    }
    const int32_t left = m_currentEntry->GetLeft();
    const int32_t top = m_currentEntry->GetTop();
    const TRect frame = Rect(left, top, left + m_currentField->GetWidth(), top + m_currentField->GetHeight());
    ShowPageWithFrame(imgPreview, *page, &frame);
}

// ------------------------------------------------------------------------------------------------ handlers

void TformProjectEditText::imgNextTextfieldClick()
{
    evCategory* page = CurrentPage();
    evPageLayout* layout = CurrentLayout();
    if (!page || !layout)
        return;
    const std::vector<FieldPlace> fields = EditableFields(*layout);
    if (fields.empty())
        return;
    size_t next = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].entry == m_currentEntry) {
            next = (i + 1) % fields.size();
            break;
        }
    }
    Select(PageCopyOf(*page, *fields[next].field), fields[next].entry);
}

void TformProjectEditText::memoTextChange()
{
    if (m_settingMemo || !m_currentField)
        return;
    m_currentField->SetText(FromMemoText(memoText->toPlainText()));
    if (TframeTimeline* timeline = GetTimeline())
        timeline->RefreshMarkers();
    MarkModified();
    m_pendingPage = CurrentPage();
    m_refreshTimer->start();
}

void TformProjectEditText::imgBoldClick()
{
    if (!m_currentField)
        return;
    m_currentField->SetBold(!m_currentField->GetBold());
    FieldStyleChanged();
}

void TformProjectEditText::imgItalicClick()
{
    if (!m_currentField)
        return;
    m_currentField->SetItalic(!m_currentField->GetItalic());
    FieldStyleChanged();
}

void TformProjectEditText::imgUnderlineClick()
{
    if (!m_currentField)
        return;
    m_currentField->SetUnderline(!m_currentField->GetUnderline());
    FieldStyleChanged();
}

void TformProjectEditText::imgUpperClick()
{
    if (!m_currentField || m_currentField->GetFontSize() == std::numeric_limits<int32_t>::max())
        return;
    m_currentField->SetFontSize(m_currentField->GetFontSize() + 1);
    FieldStyleChanged();
}

void TformProjectEditText::imgLowerClick()
{
    if (!m_currentField || m_memoFontSize <= kSmallestSize)
        return;
    m_currentField->SetFontSize(m_currentField->GetFontSize() - 1);
    FieldStyleChanged();
}

// The field no longer uses a font carried by the design, even when the chosen face is that font's.
void TformProjectEditText::imgFontClick()
{
    if (!m_currentField)
        return;
    evUserTextfield& field = *m_currentField;
    const FontChoice preset{FaceNameOf(field), field.GetFontSize(), field.GetColour(), field.GetStyle()};
    const std::optional<FontChoice> chosen = FontDialog().Execute(preset);
    if (!chosen)
        return;
    field.SetFontID(0);
    field.SetFontName(chosen->name);
    if (chosen->size > 0)
        field.SetFontSize(chosen->size);
    field.SetColour(chosen->colour);
    field.SetBold((chosen->style & fsBold) != 0);
    field.SetItalic((chosen->style & fsItalic) != 0);
    field.SetUnderline((chosen->style & fsUnderline) != 0);
    FieldStyleChanged();
}

void TformProjectEditText::FieldStyleChanged()
{
    SetMemoFont(FaceNameOf(*m_currentField), m_currentField->GetFontSize(), m_currentField->GetStyle());
    MarkModified();
    RefreshPage();
}

void TformProjectEditText::imgFullscreenClick()
{
    evCategory* page = CurrentPage();
    if (!page)
        return;
    FlushPendingRefresh();
    ShowPresentation(*page);
    if (TframeTimeline* timeline = GetTimeline())
        timeline->RefreshCurrentPage();
    ShowPreview();
}

// ------------------------------------------------------------------------------------------- page refresh

void TformProjectEditText::RefreshPage()
{
    m_refreshTimer->stop();
    evCategory* page = CurrentPage();
    if (!page)
        return;
    page->MarkDirty();
    if (TframeTimeline* timeline = GetTimeline())
        timeline->RefreshCurrentPage();
    ShowPreview();
}

bool TformProjectEditText::IsPageRefreshPending() const { return m_refreshTimer->isActive(); }

void TformProjectEditText::FlushPendingRefresh()
{
    if (m_refreshTimer->isActive())
        RefreshPage();
}

// A press on the strip may change the page; the page typed into gets its thumbnail first.
void TformProjectEditText::WatchTimeline()
{
    TframeTimeline* timeline = GetTimeline();
    QObject* strip = timeline ? timeline->imgTimeline : nullptr;
    if (strip == m_watchedStrip)
        return;
    if (m_watchedStrip)
        m_watchedStrip->removeEventFilter(this);
    m_watchedStrip = strip;
    if (strip)
        strip->installEventFilter(this);
}

bool TformProjectEditText::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedStrip && event->type() == QEvent::MouseButtonPress && isVisible())
        FlushPendingRefresh();
    return TPageEditorScreen::eventFilter(watched, event);
}

void TformProjectEditText::hideEvent(QHideEvent* event)
{
    FlushPendingRefresh();
    TPageEditorScreen::hideEvent(event);
}
