#include "model/evPicture.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "platform/Stream.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"

evPicture::evPicture(std::string name, const Bitmap& picture) : evDrawableElement(std::move(name))
{
    ktLogs::LogLine("evPicture created.");
    SetGraphic(picture);
}

evPicture::evPicture(std::string name, const JpegImage& jpeg) : evDrawableElement(std::move(name))
{
    ktLogs::LogLine("evPicture created.");
    SetGraphic(jpeg);
}

evPicture::evPicture(std::string name, Stream& source, int32_t placeholder, int32_t width, int32_t height)
    : evDrawableElement(std::move(name)), m_placeholder(placeholder), m_width(width), m_height(height)
{
    ktLogs::LogLine("evPicture created.");
    m_data = source.ReadBytes(source.Size());
}

// Layout after the evObject header:
//   string name, int32 placeholder, int32 n, n bytes JPEG file (absent when n is 0)
evPicture::evPicture(Stream& stream, ProgressBar* progress) : evDrawableElement(stream, progress)
{
    ktLogs::LogLine("evPicture created from stream.");
    SetName(stream.ReadString());
    m_placeholder = stream.ReadInt32();
    const int32_t count = stream.ReadInt32();
    if (count == 0)
        return;
    m_data = stream.ReadBytes(count);
    // Decoding once proves the bytes are a picture and gives its size; a damaged JPEG fails the read here.
    const Bitmap decoded = DecodeJpeg(m_data);
    m_width = decoded.Width();
    m_height = decoded.Height();
}

evPicture::~evPicture() { ktLogs::LogLine("evPicture destroyed."); }

void evPicture::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(GetName());
    stream.WriteInt32(m_placeholder);
    stream.WriteInt32(static_cast<int32_t>(m_data.size()));
    stream.WriteBytes(m_data);
}

std::unique_ptr<evObject> evPicture::Clone() const
{
    MemoryStream bytes(m_data);
    return std::make_unique<evPicture>(GetName(), bytes, m_placeholder, m_width, m_height);
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
    m_data = jpeg.Bytes();
}

Bitmap evPicture::Decode() const
{
    if (m_data.empty())
        return Bitmap();
    return DecodeJpeg(m_data);
}

void evPicture::AssignTo(Bitmap& target) const { target = Decode(); }

void evPicture::Draw(const TRect& rect, Canvas& canvas, bool drawAll, evProjectorPage* page, bool)
{
    if (!drawAll && m_placeholder != 0)
        return;
    if (IsPainted() && !page)
        return;
    if (!IsPainted()) {
        SetPainted();
        if (!m_data.empty())
            canvas.StretchDraw(rect, Decode());
    }
    // An empty rectangle has nothing to show, and no JPEG can hold it.
    if (!page || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    // The page receives the picture as it appears in the rectangle, scaled to it.
    Bitmap snapshot(rect.Width(), rect.Height());
    snapshot.GetCanvas().StretchDraw(TRect{0, 0, rect.Width(), rect.Height()}, Decode());
    page->AddElement(
        std::make_unique<evProjectorPageElement>(rect.Left, rect.Top, JpegImage::FromBitmap(snapshot), 0));
}
