#pragma once
// One picture of a page, kept as the complete bytes of a JPEG file and decoded only to draw or edit it.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   string  name
//   int32   placeholder   (not 0: drawn only when draw all is asked)
//   int32   n             byte count of the JPEG file
//   n bytes the JPEG file (absent when n is 0)
//
// Width and height are not stored: they are taken from the JPEG's header when it is read or set. Reading checks
// the header only (markers, size, pixel limit); a picture whose data is damaged after a sound header is read and
// kept, and draws as the damaged-picture mark, so one bad photograph does not make a whole album unreadable.

#include "model/evDrawableElement.h"

#include <cstdint>
#include <memory>
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
    void Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options) override;

    const std::vector<uint8_t>& GetImageStream() const { return *m_data; }
    int32_t GetPlaceholder() const { return m_placeholder; }

    // The only operations that change the bytes. Name, placeholder and identifier are kept.
    void SetGraphic(const Bitmap& picture);
    void SetGraphic(const JpegImage& jpeg);

    // Decodes the picture (EImageError for damaged bytes); an empty picture gives an empty bitmap.
    Bitmap Decode() const;
    // Decodes at the smallest DCT scale that still gives at least width x height pixels: what drawing into a
    // rectangle of that size needs. EImageError for damaged bytes; an empty picture gives an empty bitmap.
    Bitmap DecodeAtLeast(int width, int height) const;
    // The picture scaled to exactly width x height, as it appears in a rectangle of that size; the damaged mark
    // when its data cannot be decoded. An empty picture gives an empty bitmap. Decoded at the smallest DCT scale
    // that gives twice the size (or full size), then averaged down.
    Bitmap ScaledTo(int width, int height) const;
    // The look of a picture whose data cannot be decoded, the same in every design: a grey field with a dark red
    // border and cross. The canvas's brush and pen are left as they were.
    static void DrawDamagedMark(Canvas& canvas, const TRect& rect);
    void AssignTo(Bitmap& target) const;
    // The pixels drawing stretches into a rectangle of width x height: decoded at the smallest DCT scale that
    // gives twice the size (or full size). EImageError for damaged bytes.
    Bitmap DecodeFor(int width, int height) const;
    // A length of the full-size page as seen on a page shown at the fraction shown of its size (at least 1).
    static int SeenSize(int size, double shown);

private:
    static void AddSnapshot(evProjectorPage& page, const TRect& rect, const Bitmap& pixels);

    // Never changed in place: a new graphic brings new bytes, so copies and snapshots of the project (an autosave
    // writing on another thread) share them safely.
    std::shared_ptr<const std::vector<uint8_t>> m_data = std::make_shared<const std::vector<uint8_t>>();
    int32_t m_placeholder = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
};
