#pragma once
// One picture of a page, kept as the complete bytes of a JPEG file and decoded only to draw or edit it.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   string  name
//   int32   placeholder   (not 0: drawn only when draw all is asked)
//   int32   n             byte count of the JPEG file
//   n bytes the JPEG file (absent when n is 0)
//
// Width and height are not stored: they are taken from the JPEG when it is read or set.

#include "model/evDrawableElement.h"

#include <cstdint>
#include <string>
#include <vector>

class Bitmap;
class JpegImage;

class evPicture : public evDrawableElement {
    EV_DECLARE_CLASS(evPicture, evDrawableElement)

    // Encodes the bitmap at the default quality.
    evPicture(std::string name, const Bitmap& picture);
    // Takes the compressed bytes over unchanged.
    evPicture(std::string name, const JpegImage& jpeg);
    // Copies source.Size() bytes from the source's current position (callers pass a stream at its start);
    // nothing is decoded, placeholder, width and height are taken as given.
    evPicture(std::string name, Stream& source, int32_t placeholder, int32_t width, int32_t height);
    evPicture(Stream& stream, ProgressBar* progress);
    ~evPicture() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;

    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    void Draw(const TRect& rect, Canvas& canvas, bool drawAll, evProjectorPage* page, bool finalFlag) override;

    const std::vector<uint8_t>& GetImageStream() const { return m_data; }
    int32_t GetPlaceholder() const { return m_placeholder; }

    // The only operations that change the bytes. Name, placeholder and identifier are kept.
    void SetGraphic(const Bitmap& picture);
    void SetGraphic(const JpegImage& jpeg);

    // Decodes the picture (EImageError for damaged bytes); an empty picture gives an empty bitmap.
    Bitmap Decode() const;
    void AssignTo(Bitmap& target) const;

private:
    std::vector<uint8_t> m_data;
    int32_t m_placeholder = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
};
