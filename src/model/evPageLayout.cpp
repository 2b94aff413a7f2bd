#include "model/evPageLayout.h"

#include "model/IevLayoutElement.h"
#include "model/evActionElement.h"
#include "model/evLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "platform/TextMeasurer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pages larger than this are taken for damaged design data rather than allocated.
constexpr int64_t kMaxPagePixels = 64'000'000;

int32_t TruncatedProduct(int32_t size, double fraction)
{
    const double value = std::trunc(static_cast<double>(size) * fraction);
    if (!(value > std::numeric_limits<int32_t>::min()) || !(value < std::numeric_limits<int32_t>::max()))
        return value > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace

evPageLayout::evPageLayout(evLayout* design, std::string name, std::string englishTitle, std::string comment,
                           int32_t kind)
    : evDrawableElement(std::move(name)), m_englishTitle(std::move(englishTitle)), m_comment(std::move(comment)),
      m_kind(kind), m_entries(std::make_unique<evObjectCollection>()),
      m_ownElements(std::make_unique<evObjectCollection>()), m_actionElements(std::make_unique<evObjectCollection>()),
      m_design(design)
{
    ReservePreviewFile();
    m_textMeasurer = std::make_unique<TextMeasurer>();
}

// Layout after the evObject header:
//   string name, string English title
//   string title                        version >= 3
//   string comment
//   string key                          version >= 2
//   int32 kind
//   collection entries, collection own elements, collection action elements
evPageLayout::evPageLayout(Stream& stream, ProgressBar* progress) : evDrawableElement(stream, progress)
{
    SetName(stream.ReadString());
    m_englishTitle = stream.ReadString();
    if (GetStoredVersion() >= 3)
        m_title = stream.ReadString();
    m_comment = stream.ReadString();
    if (GetStoredVersion() >= 2)
        m_key = stream.ReadString();
    m_kind = stream.ReadInt32();
    m_entries = std::make_unique<evObjectCollection>(stream, progress);
    m_ownElements = std::make_unique<evObjectCollection>(stream, progress);
    m_actionElements = std::make_unique<evObjectCollection>(stream, progress);
    ReservePreviewFile();
    m_textMeasurer = std::make_unique<TextMeasurer>();
    IntroduceToElements();
}

evPageLayout::~evPageLayout()
{
    m_entries.reset();
    m_ownElements.reset();
    m_actionElements.reset();
    m_textMeasurer.reset();
    DeleteFileIfExists(m_previewFile);
}

// The file is created empty at once so that the name stays taken while the page layout lives.
void evPageLayout::ReservePreviewFile()
{
    m_previewFile = UniqueTempFileName("evpl.evp");
    FileStream reserve(m_previewFile, FileStream::Mode::Create);
}

void evPageLayout::IntroduceToElements()
{
    for (int32_t i = 0; i < m_ownElements->Count(); ++i) {
        if (auto* element = dynamic_cast<IevLayoutElement*>(m_ownElements->GetItem(i)))
            element->SetPageLayout(this);
    }
    for (int32_t i = 0; i < m_actionElements->Count(); ++i) {
        if (auto* action = m_actionElements->GetItemAs<evActionElement>(i))
            action->SetPageLayout(this);
    }
}

void evPageLayout::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(GetName());
    stream.WriteString(m_englishTitle);
    stream.WriteString(m_title);
    stream.WriteString(m_comment);
    stream.WriteString(m_key);
    stream.WriteInt32(m_kind);
    for (const evObjectCollection* collection : {m_entries.get(), m_ownElements.get(), m_actionElements.get()}) {
        if (!collection->SaveToStream(stream))
            stream.RaiseWriteFailure();
    }
}

std::string evPageLayout::ToString() const
{
    return "[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + GetName() + "', " +
           std::to_string(m_kind) + ", '" + m_englishTitle + "', '" + m_title + "', '" + m_comment + "', " +
           m_entries->ToString() + ", " + m_ownElements->ToString() + ", " + m_actionElements->ToString() + "]";
}

evObject* evPageLayout::FindByID(int32_t id)
{
    if (evObject* self = evObject::FindByID(id))
        return self;
    if (evObject* found = m_ownElements->FindByID(id))
        return found;
    if (evObject* found = m_actionElements->FindByID(id))
        return found;
    return m_entries->FindByID(id);
}

void evPageLayout::AnnounceToDesign(const evObject* object)
{
    if (m_design)
        m_design->RemoveReferences(object);
}

// An entry is taken out of the list before it is announced, so that the announcement, which comes back to this
// page layout through the design, cannot meet it again (hostile identifiers could otherwise loop).
void evPageLayout::RemoveReferences(const evObject* object)
{
    if (!object)
        return;
    const int32_t id = object->GetID();
    for (int32_t i = m_entries->Count() - 1; i >= 0; i = std::min(i, m_entries->Count()) - 1) {
        auto* entry = m_entries->GetItemAs<evPageLayoutEntry>(i);
        if (!entry || entry->GetElementID() != id)
            continue;
        std::unique_ptr<evObject> removed = m_entries->Delete(i, false);
        AnnounceToDesign(removed.get());
    }
    m_ownElements->RemoveReferences(object);
    m_actionElements->RemoveReferences(object);
    if (object != this)
        return;
    for (int32_t i = 0; i < m_ownElements->Count(); ++i)
        AnnounceToDesign(m_ownElements->GetItem(i));
    for (int32_t i = 0; i < m_actionElements->Count(); ++i)
        AnnounceToDesign(m_actionElements->GetItem(i));
}

int32_t evPageLayout::GetWidth() const { return m_design ? m_design->GetPageWidth() : 0; }

int32_t evPageLayout::GetHeight() const { return m_design ? m_design->GetPageHeight() : 0; }

const std::string& evPageLayout::GetTitle(const std::string& language) const
{
    return language == "en" ? m_englishTitle : m_title;
}

int32_t evPageLayout::AddOwnElement(std::unique_ptr<evObject> element)
{
    if (auto* layoutElement = dynamic_cast<IevLayoutElement*>(element.get()))
        layoutElement->SetPageLayout(this);
    return m_ownElements->Add(std::move(element));
}

int32_t evPageLayout::AddActionElement(std::unique_ptr<evActionElement> element)
{
    element->SetPageLayout(this);
    return m_actionElements->Add(std::move(element));
}

evObject* evPageLayout::ResolveEntryElement(int32_t elementId) const
{
    return m_design ? m_design->FindByID(elementId) : nullptr;
}

void evPageLayout::RenderPreview() { Render(nullptr, true); }

void evPageLayout::Render(evProjectorPage* page, bool markEmpty) { Paint(page, markEmpty).SaveToFile(m_previewFile); }

Bitmap evPageLayout::Paint(evProjectorPage* page, bool markEmpty, double shownScale)
{
    const int32_t width = GetWidth();
    const int32_t height = GetHeight();
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxPagePixels)
        throw EImageError("The page size " + std::to_string(width) + " x " + std::to_string(height) +
                          " cannot be rendered");
    Bitmap bitmap(width, height);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetShownScale(shownScale);
    for (int32_t i = 0; i < m_entries->Count(); ++i) {
        const auto* entry = m_entries->GetItemAs<evPageLayoutEntry>(i);
        auto* element = entry ? dynamic_cast<evDrawableElement*>(ResolveEntryElement(entry->GetElementID())) : nullptr;
        if (!element)
            continue;
        element->ClearPainted();
        const TRect rect = Rect(entry->GetLeft(), entry->GetTop(), entry->GetLeft() + element->GetWidth(),
                                entry->GetTop() + element->GetHeight());
        element->Draw(rect, canvas, {.page = page, .markEmpty = markEmpty});
        element->ClearPainted();
    }
    for (int32_t i = 0; i < m_actionElements->Count(); ++i) {
        if (auto* action = m_actionElements->GetItemAs<evActionElement>(i))
            action->Draw(action->GetRect(), canvas, page);
    }
    return bitmap;
}

void evPageLayout::DrawPreview(const TRect& rect, Canvas& canvas) const
{
    Bitmap preview;
    preview.LoadFromFile(m_previewFile);
    canvas.StretchDraw(rect, preview);
}

int32_t evPageLayout::HitTest(double fx, double fy) const
{
    const int32_t x = TruncatedProduct(GetWidth(), fx);
    const int32_t y = TruncatedProduct(GetHeight(), fy);
    for (int32_t i = m_entries->Count() - 1; i >= 0; --i) {
        const auto* entry = m_entries->GetItemAs<evPageLayoutEntry>(i);
        const auto* element =
            entry ? dynamic_cast<const evDrawableElement*>(ResolveEntryElement(entry->GetElementID())) : nullptr;
        if (!element)
            continue;
        const int64_t left = entry->GetLeft();
        const int64_t top = entry->GetTop();
        if (left <= x && x <= left + element->GetWidth() && top <= y && y <= top + element->GetHeight())
            return i;
    }
    return -1;
}

int32_t evPageLayout::CountTextFields() const
{
    int32_t count = 0;
    for (int32_t i = 0; i < m_entries->Count(); ++i) {
        const auto* entry = m_entries->GetItemAs<evPageLayoutEntry>(i);
        const auto* field =
            entry ? dynamic_cast<const evUserTextfield*>(ResolveEntryElement(entry->GetElementID())) : nullptr;
        if (field && field->GetFixed() == 0)
            ++count;
    }
    return count;
}

evActionElement* evPageLayout::FindActionElementByType(int32_t actionType) const
{
    for (int32_t i = 0; i < m_actionElements->Count(); ++i) {
        auto* action = m_actionElements->GetItemAs<evActionElement>(i);
        if (action && action->GetActionType() == actionType)
            return action;
    }
    return nullptr;
}

evActionElement* evPageLayout::FindActionElement(int32_t entryId) const
{
    for (int32_t i = 0; i < m_actionElements->Count(); ++i) {
        auto* action = m_actionElements->GetItemAs<evActionElement>(i);
        if (action &&
            (action->GetFirstSlot() == entryId || action->GetSecondSlot() == entryId || action->GetLabel() == entryId))
            return action;
    }
    return nullptr;
}
