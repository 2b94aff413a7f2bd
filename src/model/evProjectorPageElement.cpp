#include "model/evProjectorPageElement.h"

#include "platform/Canvas.h"
#include "platform/Stream.h"

evProjectorPageElement::evProjectorPageElement(int32_t x, int32_t y, JpegImage picture, int32_t kind)
    : m_x(x), m_y(y), m_picture(std::move(picture)), m_kind(kind)
{}

// Layout after the evObject header:
//   int32 X, int32 Y, int32 kind, int32 N, N bytes JPEG file (N = 0: empty picture)
evProjectorPageElement::evProjectorPageElement(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_x = stream.ReadInt32();
    m_y = stream.ReadInt32();
    m_kind = stream.ReadInt32();
    const int32_t length = stream.ReadInt32();
    if (length != 0)
        m_picture = JpegImage::FromBytes(stream.ReadBytes(length));
}

evProjectorPageElement::~evProjectorPageElement() = default;

void evProjectorPageElement::SaveToStream(Stream& stream) const { WriteBody(stream, m_picture); }

void evProjectorPageElement::WriteBody(Stream& stream, const JpegImage& picture) const
{
    evObject::SaveToStream(stream);
    stream.WriteInt32(m_x);
    stream.WriteInt32(m_y);
    stream.WriteInt32(m_kind);
    stream.WriteInt32(static_cast<int32_t>(picture.Bytes().size()));
    stream.WriteBytes(picture.Bytes());
}

std::string evProjectorPageElement::ToString() const
{
    return "evProjectorPageElement[" + std::to_string(m_kind) + "]";
}

TRect evProjectorPageElement::Rect() const
{
    return TRect{m_x, m_y, m_x + m_picture.Width(), m_y + m_picture.Height()};
}

void evProjectorPageElement::Draw(Canvas& canvas) const
{
    if (m_picture.IsEmpty())
        return;
    canvas.Draw(m_x, m_y, m_picture.Decode());
}

void evProjectorPageElement::AssignPictureTo(Bitmap& target) const
{
    target = m_picture.IsEmpty() ? Bitmap() : m_picture.Decode();
}
