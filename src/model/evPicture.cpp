#include "model/evPicture.h"

#include "model/PreparedPictures.h"

#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cmath>
#include <optional>

evPicture::evPicture(std::string name, const Bitmap& picture) : evDrawableElement(std::move(name))
{
    SetGraphic(picture);
}

evPicture::evPicture(std::string name, const JpegImage& jpeg) : evDrawableElement(std::move(name)) { SetGraphic(jpeg); }

evPicture::evPicture(std::string name, Stream& source, int32_t placeholder, int32_t width, int32_t height)
    : evDrawableElement(std::move(name)), m_placeholder(placeholder), m_width(width), m_height(height)
{
    m_data = std::make_shared<const std::vector<uint8_t>>(source.ReadBytes(source.Size()));
}

// Layout after the evObject header:
//   string name, int32 placeholder, int32 n, n bytes JPEG file (absent when n is 0)
evPicture::evPicture(Stream& stream, ProgressBar* progress) : evDrawableElement(stream, progress)
{
    SetName(stream.ReadString());
    m_placeholder = stream.ReadInt32();
    const int32_t count = stream.ReadInt32();
    if (count == 0)
        return;
    m_data = std::make_shared<const std::vector<uint8_t>>(stream.ReadBytes(count));
    // The header gives the size and proves the bytes are meant as a picture; a damaged header fails the read.
    // The pixels are decoded when the picture is drawn.
    const JpegInfo info = CheckJpegHeader(m_data->data(), m_data->size());
    m_width = info.width;
    m_height = info.height;
}

evPicture::~evPicture() = default;

void evPicture::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(GetName());
    stream.WriteInt32(m_placeholder);
    stream.WriteInt32(static_cast<int32_t>(m_data->size()));
    stream.WriteShared(m_data);
}

// The copy shares the bytes, which neither ever changes in place.
std::unique_ptr<evObject> evPicture::Clone() const
{
    MemoryStream none;
    auto copy = std::make_unique<evPicture>(GetName(), none, m_placeholder, m_width, m_height);
    copy->m_data = m_data;
    return copy;
}

std::string evPicture::ToString() const
{
    return "evPicture[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + GetName() +
           "']";
}

void evPicture::SetGraphic(const Bitmap& picture) { SetGraphic(JpegImage::FromBitmap(picture)); }

void evPicture::SetGraphic(const JpegImage& jpeg)
{
    m_width = jpeg.Width();
    m_height = jpeg.Height();
    m_data = std::make_shared<const std::vector<uint8_t>>(jpeg.Bytes());
}

Bitmap evPicture::Decode() const
{
    if (m_data->empty())
        return Bitmap();
    return DecodeJpeg(*m_data);
}

Bitmap evPicture::DecodeAtLeast(int width, int height) const
{
    if (m_data->empty())
        return Bitmap();
    return DecodeJpegAtLeast(m_data->data(), m_data->size(), width, height);
}

Bitmap evPicture::ScaledTo(int width, int height) const
{
    if (m_data->empty() || width <= 0 || height <= 0)
        return Bitmap();
    Bitmap scaled(width, height);
    const TRect whole{0, 0, width, height};
    try {
        scaled.GetCanvas().StretchDraw(whole, DecodeFor(width, height));
    } catch (const EImageError&) {
        DrawDamagedMark(scaled.GetCanvas(), whole);
    }
    return scaled;
}

// At least twice the rectangle in each direction, so that the stretch averages areas exactly as it does for a
// full-size picture. At the smallest scale that merely covers the rectangle, colour edges of photographs with
// halved colour resolution come out visibly softer than from full-size decoding (on real photographs up to 2 % of
// a page's pixels differ by more than 8 levels); at twice, 0.1 %, for about a tenth more decoding time.
Bitmap evPicture::DecodeFor(int width, int height) const
{
    auto twice = [](int size) { return static_cast<int>(std::min<int64_t>(2 * int64_t{size}, kMaxJpegPixels)); };
    return DecodeAtLeast(twice(width), twice(height));
}

int evPicture::SeenSize(int size, double shown)
{
    return std::max(1, static_cast<int>(std::ceil(size * std::clamp(shown, 0.0, 1.0))));
}

void evPicture::DrawDamagedMark(Canvas& canvas, const TRect& rect)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    constexpr TColor kMarkField = 0xC0C0C0;
    const TColor brush = canvas.BrushColor();
    const BrushStyle brushStyle = canvas.GetBrushStyle();
    const TColor pen = canvas.PenColor();
    const int penWidth = canvas.PenWidth();
    const PenStyle penStyle = canvas.GetPenStyle();
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(kMarkField);
    canvas.FillRect(rect);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenColor(kColorDarkRed);
    canvas.SetPenWidth(std::max(2, std::min(rect.Width(), rect.Height()) / 20));
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.Rectangle(rect);
    canvas.MoveTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Right - 1, rect.Bottom - 1);
    canvas.MoveTo(rect.Right - 1, rect.Top);
    canvas.LineTo(rect.Left, rect.Bottom - 1);
    canvas.SetBrushColor(brush);
    canvas.SetBrushStyle(brushStyle);
    canvas.SetPenColor(pen);
    canvas.SetPenWidth(penWidth);
    canvas.SetPenStyle(penStyle);
}

void evPicture::AssignTo(Bitmap& target) const { target = Decode(); }

// The picture is decoded once per drawing, at the smallest DCT scale that covers the rectangle, and the same
// scaled pixels go onto the canvas and into the page's snapshot.
void evPicture::Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options)
{
    if (!options.drawAll && m_placeholder != 0)
        return;
    evProjectorPage* page = options.page;
    if (IsPainted() && !page)
        return;
    const bool paint = !IsPainted();
    SetPainted();
    // An empty rectangle has nothing to show, and no JPEG can hold it.
    if (m_data->empty() || rect.Width() <= 0 || rect.Height() <= 0) {
        if (page && rect.Width() > 0 && rect.Height() > 0)
            AddSnapshot(*page, rect, Bitmap(rect.Width(), rect.Height()));
        return;
    }
    if (!page) {
        // A page seen smaller (a thumbnail) needs the photograph only at the size it is seen.
        const int width = SeenSize(rect.Width(), canvas.ShownScale());
        const int height = SeenSize(rect.Height(), canvas.ShownScale());
        try {
            std::optional<Bitmap> decoded = PreparedPictures::TakeDecoded(*this, width, height);
            canvas.StretchDraw(rect, decoded ? *decoded : DecodeFor(width, height));
        } catch (const EImageError&) {
            DrawDamagedMark(canvas, rect);
        }
        return;
    }
    // While a disc is written, worker threads may already have scaled and encoded this picture.
    std::optional<PreparedPicture> prepared = PreparedPictures::Take(*this, rect.Width(), rect.Height());
    if (!prepared)
        prepared = PreparedPicture{ScaledTo(rect.Width(), rect.Height()), JpegImage()};
    if (paint)
        canvas.Draw(rect.Left, rect.Top, prepared->scaled);
    if (prepared->snapshot.IsEmpty())
        prepared->snapshot = JpegImage::FromBitmap(prepared->scaled);
    page->AddElement(std::make_unique<evProjectorPageElement>(rect.Left, rect.Top, std::move(prepared->snapshot), 0));
}

void evPicture::AddSnapshot(evProjectorPage& page, const TRect& rect, const Bitmap& pixels)
{
    page.AddElement(std::make_unique<evProjectorPageElement>(rect.Left, rect.Top, JpegImage::FromBitmap(pixels), 0));
}
