#pragma once
// One pre-rendered image placed on a presentation page.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   int32   X
//   int32   Y
//   int32   kind
//   int32   N             byte count of the JPEG file; 0 = empty picture
//   N bytes the JPEG file
//
// Kinds: 0 always drawn; 1 hover image; 2 highlight image; 3 slide of a slide-show page; 4 drawn while the
// sound is on; 5 drawn while it is off.

#include "model/evObject.h"
#include "platform/Geometry.h"
#include "platform/Jpeg.h"

#include <cstdint>

class Bitmap;
class Canvas;

class evProjectorPageElement : public evObject {
    EV_DECLARE_CLASS(evProjectorPageElement, evObject)

    evProjectorPageElement(int32_t x, int32_t y, JpegImage picture, int32_t kind);
    evProjectorPageElement(Stream& stream, ProgressBar* progress);
    ~evProjectorPageElement() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    int32_t GetX() const { return m_x; }
    int32_t GetY() const { return m_y; }
    const JpegImage& GetPicture() const { return m_picture; }
    void SetPicture(JpegImage picture) { m_picture = std::move(picture); }
    int32_t GetKind() const { return m_kind; }
    void SetKind(int32_t kind) { m_kind = kind; }

    // (X, Y, X + picture width, Y + picture height).
    TRect Rect() const;
    // Draws the picture at (X, Y); an empty picture draws nothing.
    virtual void Draw(Canvas& canvas) const;
    // Copies the decoded picture into the target bitmap.
    void AssignPictureTo(Bitmap& target) const;

protected:
    // The body after the header, with the given picture in place of the element's own.
    void WriteBody(Stream& stream, const JpegImage& picture) const;

private:
    int32_t m_x = 0;
    int32_t m_y = 0;
    JpegImage m_picture;
    int32_t m_kind = 0;
};
