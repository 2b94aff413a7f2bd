#include "model/evUserPicture.h"

#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

namespace {

enum class Orientation { Landscape, Portrait, Square };

// A size that is not positive has no orientation and is treated as square, so it is never turned.
Orientation OrientationOf(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || width == height)
        return Orientation::Square;
    return width > height ? Orientation::Landscape : Orientation::Portrait;
}

} // namespace

evUserPicture::evUserPicture(std::string name, int32_t width, int32_t height)
    : evDrawableElement(std::move(name)), m_width(width), m_height(height)
{}

// Layout after the evObject header:
//   string name
//   int32 reference id, int32 frame id, int32 alternate frame id
//   int32 width, int32 height, int32 fixed
//   int32 centred              version 1 only
evUserPicture::evUserPicture(Stream& stream, ProgressBar* progress) : evDrawableElement(stream, progress)
{
    SetName(stream.ReadString());
    m_referenceId = stream.ReadInt32();
    m_frameId = stream.ReadInt32();
    m_alternateFrameId = stream.ReadInt32();
    m_width = stream.ReadInt32();
    m_height = stream.ReadInt32();
    m_fixed = stream.ReadInt32();
    if (GetStoredVersion() == 1)
        m_centred = stream.ReadInt32();
}

evUserPicture::~evUserPicture() = default;

void evUserPicture::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(GetName());
    stream.WriteInt32(m_referenceId);
    stream.WriteInt32(m_frameId);
    stream.WriteInt32(m_alternateFrameId);
    stream.WriteInt32(m_width);
    stream.WriteInt32(m_height);
    stream.WriteInt32(m_fixed);
    stream.WriteInt32(m_centred);
}

std::unique_ptr<evObject> evUserPicture::Clone() const
{
    auto copy = std::make_unique<evUserPicture>(GetName(), m_width, m_height);
    copy->m_referenceId = m_referenceId;
    copy->m_frameId = m_frameId;
    copy->m_alternateFrameId = m_alternateFrameId;
    copy->m_fixed = m_fixed;
    copy->m_centred = m_centred;
    return copy;
}

std::string evUserPicture::ToString() const
{
    return "evUserPicture[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + GetName() +
           "', " + std::to_string(m_width) + ", " + std::to_string(m_height) + ", " + std::to_string(m_referenceId) +
           ", " + std::to_string(m_frameId) + ", " + std::to_string(m_alternateFrameId) + "]";
}

void evUserPicture::RemoveReferences(const evObject* object)
{
    if (!object)
        return;
    const int32_t id = object->GetID();
    if (m_referenceId == id)
        m_referenceId = 0;
    if (m_frameId == id)
        m_frameId = 0;
    if (m_alternateFrameId == id)
        m_alternateFrameId = 0;
}

evPicture* evUserPicture::FindPhotograph() const
{
    if (!m_pageLayout || !m_pageLayout->GetCategory())
        return nullptr;
    return dynamic_cast<evPicture*>(m_pageLayout->GetCategory()->FindUserElement(GetID()));
}

bool evUserPicture::IsTurned(const evPicture* photograph) const
{
    if (!photograph || m_alternateFrameId == 0)
        return false;
    const Orientation slot = OrientationOf(m_width, m_height);
    const Orientation photo = OrientationOf(photograph->GetWidth(), photograph->GetHeight());
    return (slot == Orientation::Landscape && photo == Orientation::Portrait) ||
           (slot == Orientation::Portrait && photo == Orientation::Landscape);
}

TRect evUserPicture::GetPictureRect(const evPicture* photograph, const TRect& slotRect) const
{
    if (!IsTurned(photograph))
        return slotRect;
    const int32_t w = slotRect.Width();
    const int32_t h = slotRect.Height();
    TRect turned;
    turned.Left = slotRect.Left + (w - h) / 2;
    turned.Right = turned.Left + h;
    if (m_centred == 0)
        turned.Top = slotRect.Top;
    else if (h >= w)
        turned.Top = slotRect.Top + h / 2 - w / 2;
    else
        turned.Top = slotRect.Top + (h - w) / 2;
    turned.Bottom = turned.Top + w;
    return turned;
}

// A frame entry is found among the page layout's own parts; the element it places is looked up there first
// and then in the design, where the shared pictures of a design live.
evUserPicture::Frame evUserPicture::ResolveFrame(int32_t frameId) const
{
    if (frameId == 0 || !m_pageLayout)
        return {};
    const auto* entry = dynamic_cast<const evPageLayoutEntry*>(m_pageLayout->FindByID(frameId));
    if (!entry)
        return {};
    evObject* found = m_pageLayout->FindByID(entry->GetElementID());
    if (!dynamic_cast<evDrawableElement*>(found))
        found = m_pageLayout->ResolveEntryElement(entry->GetElementID());
    auto* element = dynamic_cast<evDrawableElement*>(found);
    if (!element)
        return {};
    const TRect rect = Rect(entry->GetLeft(), entry->GetTop(), entry->GetLeft() + element->GetWidth(),
                            entry->GetTop() + element->GetHeight());
    return Frame{element, rect};
}

void evUserPicture::Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options)
{
    if (m_fixed != 0 && !options.drawAll)
        return;
    evProjectorPage* page = options.page;
    if (IsPainted() && !page)
        return;
    evPicture* photograph = FindPhotograph();
    const bool turned = IsTurned(photograph);
    const int32_t chosenId = turned ? m_alternateFrameId : m_frameId;
    const Frame frame = ResolveFrame(chosenId);

    if (IsPainted() && frame.element && m_frameId != 0 && m_alternateFrameId != 0) {
        const Frame other = ResolveFrame(turned ? m_frameId : m_alternateFrameId);
        if (other.element && other.element->IsPainted())
            frame.element->SetPainted();
    }

    const int32_t elementsBefore = page ? page->GetElements().Count() : 0;
    if (frame.element) {
        SetPainted();
        frame.element->Draw(frame.rect, canvas,
                            {.drawAll = true, .page = photograph ? page : nullptr, .markEmpty = true});
    }
    const int32_t afterFrame = page ? page->GetElements().Count() : 0;

    if (photograph) {
        const TRect pictureRect = GetPictureRect(photograph, rect);
        photograph->Draw(pictureRect, canvas, {.drawAll = true, .page = page, .markEmpty = true});
        // The page gets one element: the frame with the photograph inside it. Only when each draw added
        // exactly one element are the last two the frame's and the photograph's.
        if (page && frame.element && afterFrame == elementsBefore + 1 && page->GetElements().Count() == afterFrame + 1)
            MergeFrameAndPhotograph(*page, frame.rect, pictureRect);
        return;
    }
    if (options.markEmpty) {
        const TColor oldColor = canvas.BrushColor();
        const BrushStyle oldStyle = canvas.GetBrushStyle();
        canvas.SetBrushColor(kColorDarkRed);
        canvas.SetBrushStyle(BrushStyle::Solid);
        canvas.FillRect(rect);
        canvas.SetBrushColor(oldColor);
        canvas.SetBrushStyle(oldStyle);
    }
}

void evUserPicture::MergeFrameAndPhotograph(evProjectorPage& page, const TRect& frameRect,
                                            const TRect& pictureRect) const
{
    evObjectCollection& elements = page.GetElements();
    const int32_t count = elements.Count();
    auto* frameElement = elements.GetItemAs<evProjectorPageElement>(count - 2);
    auto* photoElement = elements.GetItemAs<evProjectorPageElement>(count - 1);
    if (!frameElement || !photoElement)
        return;
    const JpegImage& frameImage = frameElement->GetPicture();
    if (frameImage.IsEmpty())
        return;
    Bitmap merged(frameImage.Width(), frameImage.Height());
    merged.GetCanvas().Draw(0, 0, frameImage.Decode());
    merged.GetCanvas().Draw(pictureRect.Left - frameRect.Left, pictureRect.Top - frameRect.Top,
                            photoElement->GetPicture().Decode());
    frameElement->SetPicture(JpegImage::FromBitmap(merged));
    elements.Delete(count - 1);
}
