#include "model/evActionElement.h"

#include "model/FilmStripBuilder.h"
#include "model/PageOrder.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Dates.h"
#include "platform/Stream.h"

#include <algorithm>
#include <vector>

evActionElement::evActionElement(std::string name, int32_t actionType, int32_t x, int32_t y, int32_t width,
                                 int32_t height)
    : m_name(std::move(name)), m_actionType(actionType), m_x(x), m_y(y), m_width(width), m_height(height)
{}

// Layout after the evObject header:
//   string name
//   int32 X, Y, width, height
//   int32 action type
//   int32 first slot, second slot, label      version >= 1
//   int32 value A, value B                    version >= 2
evActionElement::evActionElement(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_name = stream.ReadString();
    m_x = stream.ReadInt32();
    m_y = stream.ReadInt32();
    m_width = stream.ReadInt32();
    m_height = stream.ReadInt32();
    m_actionType = stream.ReadInt32();
    if (GetStoredVersion() >= 1) {
        m_firstSlot = stream.ReadInt32();
        m_secondSlot = stream.ReadInt32();
        m_label = stream.ReadInt32();
    }
    if (GetStoredVersion() >= 2) {
        m_valueA = stream.ReadInt32();
        m_valueB = stream.ReadInt32();
    }
}

evActionElement::~evActionElement() = default;

void evActionElement::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_name);
    stream.WriteInt32(m_x);
    stream.WriteInt32(m_y);
    stream.WriteInt32(m_width);
    stream.WriteInt32(m_height);
    stream.WriteInt32(m_actionType);
    stream.WriteInt32(m_firstSlot);
    stream.WriteInt32(m_secondSlot);
    stream.WriteInt32(m_label);
    stream.WriteInt32(m_valueA);
    stream.WriteInt32(m_valueB);
}

std::unique_ptr<evObject> evActionElement::Clone() const
{
    auto copy = std::make_unique<evActionElement>(m_name, m_actionType, m_x, m_y, m_width, m_height);
    copy->m_firstSlot = m_firstSlot;
    copy->m_secondSlot = m_secondSlot;
    copy->m_label = m_label;
    copy->m_valueA = m_valueA;
    copy->m_valueB = m_valueB;
    return copy;
}

std::string evActionElement::ToString() const
{
    std::string text = "evActionElement[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion());
    for (int32_t value :
         {m_x, m_y, m_width, m_height, m_actionType, m_firstSlot, m_secondSlot, m_label, m_valueA, m_valueB})
        text += ", " + std::to_string(value);
    return text + "]";
}

namespace {

const std::string kLineEnd = "\r\n";
constexpr int32_t kKindAlways = 0;
constexpr int32_t kKindHover = 1;
constexpr int32_t kKindSlider = 2;
constexpr int32_t kKindSlide = 3;
constexpr int32_t kKindSoundOn = 4;
constexpr int32_t kKindSoundOff = 5;
constexpr int32_t kMouseHover = 0;
constexpr int32_t kMouseCursorOnly = 2;

int32_t ElementCount(const evProjectorPage* page) { return page ? page->GetElements().Count() : 0; }

// Gives the last count elements of the page another kind.
void SetKindOfLast(evProjectorPage& page, int32_t count, int32_t kind)
{
    evObjectCollection& elements = page.GetElements();
    for (int32_t i = std::max(0, elements.Count() - count); i < elements.Count(); ++i) {
        if (auto* element = elements.GetItemAs<evProjectorPageElement>(i))
            element->SetKind(kind);
    }
}

// Leaves a label field as the drawing found it apart from its text, also when the drawing fails.
class LabelDrawing {
public:
    LabelDrawing(evUserTextfield& field, std::string textAfter) : m_field(field), m_textAfter(std::move(textAfter)) {}
    ~LabelDrawing()
    {
        m_field.SetLineLinks(false);
        m_field.SetKeepBackground(false);
        m_field.SetText(std::move(m_textAfter));
    }
    LabelDrawing(const LabelDrawing&) = delete;
    LabelDrawing& operator=(const LabelDrawing&) = delete;

private:
    evUserTextfield& m_field;
    std::string m_textAfter;
};

// Files a user entry under another slot for the time of one drawing. The entry belongs to the user's project,
// so it gets its own slot back whatever happens.
class SlotLoan {
public:
    SlotLoan(evCategoryEntry& entry, int32_t slotId) : m_entry(entry), m_ownSlot(entry.GetSlotID())
    {
        m_entry.SetSlotID(slotId);
    }
    ~SlotLoan() { m_entry.SetSlotID(m_ownSlot); }
    SlotLoan(const SlotLoan&) = delete;
    SlotLoan& operator=(const SlotLoan&) = delete;

private:
    evCategoryEntry& m_entry;
    int32_t m_ownSlot;
};

// One paragraph per chapter: a line end inside a title would split it into two click areas.
std::string MenuLine(std::string title)
{
    std::replace_if(
        title.begin(), title.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return title;
}

// The children a chapter menu lists. An empty title would make no paragraph and shift every click area below
// it onto the wrong chapter, so such a child is left out.
std::vector<evCategory*> MenuChildren(const evCategory& category)
{
    std::vector<evCategory*> children;
    for (evCategory* child = category.GetSub(); child; child = child->GetNext()) {
        if (child->IsIncluded() && child->GetPageLayoutID() != 0 && !child->GetTitle().empty())
            children.push_back(child);
    }
    return children;
}

std::vector<evCategoryEntry*> EntriesFiledUnder(const evCategory& category, int32_t slotId)
{
    std::vector<evCategoryEntry*> entries;
    const evObjectCollection& elements = category.GetUserElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        auto* entry = elements.GetItemAs<evCategoryEntry>(i);
        if (entry && entry->GetSlotID() == slotId)
            entries.push_back(entry);
    }
    return entries;
}

std::vector<const evPicture*> PicturesFiledUnder(const evCategory& category, int32_t slotId)
{
    std::vector<const evPicture*> pictures;
    for (const evCategoryEntry* entry : EntriesFiledUnder(category, slotId)) {
        const auto* picture = dynamic_cast<const evPicture*>(entry->GetElement());
        if (picture && !picture->GetImageStream().empty())
            pictures.push_back(picture);
    }
    return pictures;
}

// One item per thumbnail of the undoubled strip: the photograph itself, shown at the place given.
// The photograph as an item shows it: at its own size, which the editors make the slot's. One larger than the slot
// (from a file the editors did not write) is reduced to fit the slot with its proportions, so that it never covers
// the rest of the page.
JpegImage ItemPicture(const evPicture& picture, const TRect& place)
{
    JpegImage stored = JpegImage::FromBytes(picture.GetImageStream());
    const int width = stored.Width();
    const int height = stored.Height();
    if (place.Width() <= 0 || place.Height() <= 0 || (width <= place.Width() && height <= place.Height()))
        return stored;
    const double scale =
        std::min(static_cast<double>(place.Width()) / width, static_cast<double>(place.Height()) / height);
    return JpegImage::FromBitmap(
        picture.ScaledTo(std::max(1, static_cast<int>(width * scale)), std::max(1, static_cast<int>(height * scale))));
}

std::unique_ptr<evObjectCollection> FilmStripItems(const std::vector<const evPicture*>& pictures, int32_t cells,
                                                   const TRect& place)
{
    auto items = std::make_unique<evObjectCollection>();
    for (int32_t i = 0; i < cells; ++i) {
        const evPicture& picture = *pictures[static_cast<size_t>(i) % pictures.size()];
        items->Add(
            std::make_unique<evProjectorPageElement>(place.Left, place.Top, ItemPicture(picture, place), kKindAlways));
    }
    return items;
}

} // namespace

evCategory* evActionElement::CurrentPage() const { return m_pageLayout ? m_pageLayout->GetCategory() : nullptr; }

// Identifier 0 names nothing (an element stored before slots existed has all three at 0).
template <class T>
evActionElement::Placed<T> evActionElement::ResolveEntry(int32_t entryId) const
{
    if (!m_pageLayout || entryId == 0)
        return {};
    const auto* entry = dynamic_cast<const evPageLayoutEntry*>(m_pageLayout->FindByID(entryId));
    if (!entry)
        return {};
    auto* element = dynamic_cast<T*>(m_pageLayout->FindByID(entry->GetElementID()));
    if (!element)
        element = dynamic_cast<T*>(m_pageLayout->ResolveEntryElement(entry->GetElementID()));
    if (!element)
        return {};
    const TRect rect = Rect(entry->GetLeft(), entry->GetTop(), entry->GetLeft() + element->GetWidth(),
                            entry->GetTop() + element->GetHeight());
    return Placed<T>{element, rect};
}

void evActionElement::Draw(const TRect& rect, Canvas& canvas, evProjectorPage* page)
{
    switch (m_actionType) {
    case atExit: DrawExit(rect, canvas, page); break;
    case atBack: DrawBack(rect, canvas, page); break;
    case atSound: DrawSound(rect, canvas, page); break;
    case atPageTitle:
    case atProjectTitle:
    case atProjectDate:
    case atUserLabel: DrawTextLabel(canvas, page); break;
    case atChapterMenu: DrawChapterMenu(canvas, page); break;
    case atEnlargeOnHover: DrawEnlargeOnHover(canvas, page); break;
    case atEnd:
        if (page)
            page->AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, evProjectorPage::kTargetNone));
        break;
    case atNextSibling: DrawNextSibling(rect, page); break;
    case atFilmStrip: DrawFilmStrip(rect, page); break;
    case atSlideShow: DrawSlideShow(canvas, page); break;
    case atExtraPicture: DrawExtraPicture(canvas, page); break;
    default: break; // the studio marks and unknown types draw nothing
    }
}

int32_t evActionElement::DrawLabel(const std::string& text, LabelLinks links, LabelAfter after, Canvas& canvas,
                                   evProjectorPage* page) const
{
    const Placed<evUserTextfield> label = ResolveEntry<evUserTextfield>(m_label);
    if (!label)
        return 0;
    evUserTextfield& field = *label.element;
    LabelDrawing restore(field, after == LabelAfter::Empty ? std::string() : field.GetText());
    field.SetText(text);
    field.SetLineLinks(links != LabelLinks::Off);
    field.SetKeepBackground(links == LabelLinks::OnKeepBackground);
    const int32_t before = ElementCount(page);
    field.Draw(label.rect, canvas, {.drawAll = true, .page = page, .markEmpty = true});
    return ElementCount(page) - before;
}

// The page's title, the project's names or date, or (for a user label) no text of its own, so that only what
// the user wrote for the field shows. The title label is left empty, the others get their own text back.
void evActionElement::DrawTextLabel(Canvas& canvas, evProjectorPage* page) const
{
    const evCategory* category = CurrentPage();
    const evProject* project = category ? category->GetProject() : nullptr;
    std::string text;
    if (m_actionType == atPageTitle && category)
        text = category->GetTitle();
    else if (m_actionType == atProjectTitle && project)
        text = project->GetTitle();
    else if (m_actionType == atProjectDate && project)
        text = ShortDateText(project->GetDate());
    const LabelAfter after = m_actionType == atPageTitle ? LabelAfter::Empty : LabelAfter::OwnText;
    DrawLabel(text, LabelLinks::Off, after, canvas, page);
}

void evActionElement::DrawExit(const TRect& rect, Canvas& canvas, evProjectorPage* page) const
{
    DrawLabel("Exit" + kLineEnd, LabelLinks::On, LabelAfter::Empty, canvas, page);
    if (!page)
        return;
    const evCategory* category = CurrentPage();
    const int32_t target = category ? PageOrder::IndexOfKind(category, 2, true) : evProjectorPage::kTargetNone;
    page->AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, target));
}

// On a top-level page the button exists only in the preview: without a parent there is nowhere to go back to.
void evActionElement::DrawBack(const TRect& rect, Canvas& canvas, evProjectorPage* page) const
{
    const evCategory* category = CurrentPage();
    const evCategory* parent = category ? category->GetEffectiveParent() : nullptr;
    const int32_t target = parent ? PageOrder::IndexOfCategory(parent, true) : -1;
    evProjectorPage* labelPage = target >= 0 ? page : nullptr;
    DrawLabel("Back" + kLineEnd, LabelLinks::On, LabelAfter::Empty, canvas, labelPage);
    if (labelPage)
        labelPage->AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, target));
}

// Two labels over the same place: the one for "off" (kind 5) is drawn on a kept background so that it does
// not stay on the canvas under the one for "on" (kind 4). Each label adds its highlight and its plain image;
// the viewer shows the pair that matches the sound.
void evActionElement::DrawSound(const TRect& rect, Canvas& canvas, evProjectorPage* page) const
{
    const int32_t offElements =
        DrawLabel("Sound off" + kLineEnd, LabelLinks::OnKeepBackground, LabelAfter::Empty, canvas, page);
    if (page)
        SetKindOfLast(*page, std::min(offElements, 2), kKindSoundOff);
    const int32_t onElements = DrawLabel("Sound on" + kLineEnd, LabelLinks::On, LabelAfter::Empty, canvas, page);
    if (!page)
        return;
    SetKindOfLast(*page, std::min(onElements, 2), kKindSoundOn);
    const int32_t count = page->GetElements().Count();
    page->AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, evProjectorPage::kTargetSound, count - 1, count));
}

// The click areas are the paragraphs that the label's line links made, in order: one per chapter that fits
// into the field (chapters beyond its height are not drawn and get none).
void evActionElement::DrawChapterMenu(Canvas& canvas, evProjectorPage* page) const
{
    const Placed<evUserTextfield> label = ResolveEntry<evUserTextfield>(m_label);
    if (!label)
        return;
    const evCategory* category = CurrentPage();
    const std::vector<evCategory*> children = category ? MenuChildren(*category) : std::vector<evCategory*>();
    const std::string gap = label.element->GetText() == "space2" ? kLineEnd : std::string();
    std::string text;
    for (const evCategory* child : children)
        text += MenuLine(child->GetTitle()) + kLineEnd + gap;
    const int32_t actionsBefore = page ? page->GetMouseActions().Count() : 0;
    DrawLabel(text, LabelLinks::On, LabelAfter::OwnText, canvas, page);
    if (!page)
        return;
    const evObjectCollection& actions = page->GetMouseActions();
    const auto listed = std::min<size_t>(static_cast<size_t>(actions.Count() - actionsBefore), children.size());
    for (size_t i = 0; i < listed; ++i) {
        const auto* paragraph = actions.GetItemAs<evProjectorMouseAction>(actionsBefore + static_cast<int32_t>(i));
        const int32_t target = PageOrder::IndexOfCategory(children[i], true);
        if (paragraph && target >= 0)
            page->AddNaviAction(std::make_unique<evProjectorNaviAction>(paragraph->GetRect(), target));
    }
}

// The first slot shows the photograph small; the same photograph drawn through the second slot becomes the
// page's hover image while the pointer is over the small one.
void evActionElement::DrawEnlargeOnHover(Canvas& canvas, evProjectorPage* page) const
{
    const Placed<evUserPicture> first = ResolveEntry<evUserPicture>(m_firstSlot);
    if (!first)
        return;
    first.element->Draw(first.rect, canvas, {.drawAll = true, .page = page, .markEmpty = true});
    const evCategory* category = CurrentPage();
    evCategoryEntry* entry = category ? category->FindUserEntry(first.element->GetID()) : nullptr;
    const Placed<evUserPicture> second = ResolveEntry<evUserPicture>(m_secondSlot);
    if (!entry || !second)
        return;
    const TRect occupied =
        first.element->GetPictureRect(dynamic_cast<const evPicture*>(entry->GetElement()), first.rect);
    const int32_t added = DrawEntryInSlot(*entry, second, canvas, page, false);
    if (!page || added == 0)
        return;
    SetKindOfLast(*page, 1, kKindHover);
    page->AddMouseAction(
        std::make_unique<evProjectorMouseAction>(occupied, kMouseHover, page->GetElements().Count() - 1));
}

void evActionElement::DrawNextSibling(const TRect& rect, evProjectorPage* page) const
{
    const evCategory* category = CurrentPage();
    if (!page || !category || !category->GetNext())
        return;
    const int32_t target = PageOrder::IndexOfCategory(category->GetNext(), true);
    if (target >= 0)
        page->AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, target));
}

// The photographs filed under this element become thumbnails of the first slot's size (or of its frame's) in a
// strip that scrolls through the element's rectangle; each thumbnail's item shows the photograph itself at the
// second slot's place.
void evActionElement::DrawFilmStrip(const TRect& rect, evProjectorPage* page) const
{
    const evCategory* category = CurrentPage();
    const Placed<evUserPicture> first = ResolveEntry<evUserPicture>(m_firstSlot);
    if (!page || !category || !first)
        return;
    int32_t cellWidth = first.element->GetWidth();
    int32_t cellHeight = first.element->GetHeight();
    if (const Placed<evDrawableElement> frame = ResolveEntry<evDrawableElement>(first.element->GetFrameID())) {
        cellWidth = frame.element->GetWidth();
        cellHeight = frame.element->GetHeight();
    }
    const std::vector<const evPicture*> pictures = PicturesFiledUnder(*category, GetID());
    const evLayout* design = m_pageLayout->GetDesign();
    const FilmStripBuilder builder(cellWidth, cellHeight, m_valueB, design ? design->GetBackgroundColour() : 0);
    const int32_t cells = builder.CellCount(static_cast<int32_t>(pictures.size()), rect);
    if (cells == 0)
        return;
    const Placed<evUserPicture> second = ResolveEntry<evUserPicture>(m_secondSlot);
    auto items = second ? FilmStripItems(pictures, cells, second.rect) : std::make_unique<evObjectCollection>();
    page->AddElement(std::make_unique<evProjectorSliderElement>(rect, kKindSlider, m_valueA, std::move(items), m_valueB,
                                                                cellHeight, cellWidth, builder.Build(pictures, cells)));
    page->AddMouseAction(std::make_unique<evProjectorMouseAction>(rect, kMouseCursorOnly, 0));
}

// Every photograph filed under this element is drawn in turn through the first slot and becomes a slide.
void evActionElement::DrawSlideShow(Canvas& canvas, evProjectorPage* page) const
{
    if (page) {
        page->SetPageType(1);
        page->SetSlideInterval(m_valueA);
    }
    const evCategory* category = CurrentPage();
    const Placed<evUserPicture> first = ResolveEntry<evUserPicture>(m_firstSlot);
    if (!category || !first)
        return;
    for (evCategoryEntry* entry : EntriesFiledUnder(*category, GetID())) {
        if (DrawEntryInSlot(*entry, first, canvas, page, false) > 0)
            SetKindOfLast(*page, 1, kKindSlide);
    }
}

void evActionElement::DrawExtraPicture(Canvas& canvas, evProjectorPage* page) const
{
    const evCategory* category = CurrentPage();
    const Placed<evUserPicture> first = ResolveEntry<evUserPicture>(m_firstSlot);
    evCategoryEntry* entry = category ? category->FindUserEntry(GetID()) : nullptr;
    if (first && entry)
        DrawEntryInSlot(*entry, first, canvas, page, false);
}

int32_t evActionElement::DrawEntryInSlot(evCategoryEntry& entry, const Placed<evUserPicture>& slot, Canvas& canvas,
                                         evProjectorPage* page, bool markEmpty)
{
    const SlotLoan loan(entry, slot.element->GetID());
    const int32_t before = ElementCount(page);
    slot.element->Draw(slot.rect, canvas, {.drawAll = true, .page = page, .markEmpty = markEmpty});
    return ElementCount(page) - before;
}
