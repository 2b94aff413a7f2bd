#include "platform/Jpeg.h"

#include "platform/Errors.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports fatal errors through a callback that must not return. The callbacks here jump back with
// longjmp to the function that set the jump point; everything that function changes after setjmp lives in a
// heap-allocated state object reached through an unchanged pointer, so nothing is left indeterminate, and the
// state's destructor releases libjpeg's memory on every way out.

namespace {

// A progressive file may hold any number of scans, each a full pass over the coefficients; hostile files use
// thousands to keep the decoder busy for minutes. Real encoders write at most a few dozen.
constexpr int kMaxJpegScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about corrupt data are tolerated (many cameras write a few stray bytes), except the data ending
// before the picture is complete, at the end of the bytes or at a marker in the middle of a scan: a cut-off file,
// or one whose header claims more lines than its data holds, is an error, not a half-grey picture.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    if (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER)
        ErrorExit(cinfo);
    cinfo->err->num_warnings++;
}

void OutputMessage(j_common_ptr) {}

void CountScans(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxJpegScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "JPEG has more than %d scans", kMaxJpegScans);
        std::longjmp(err->jump, 1);
    }
}

void InstallErrorManager(jpeg_common_struct* cinfo, ErrorManager& err)
{
    cinfo->err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
}

struct DecodeState {
    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    jpeg_progress_mgr progress{};
    bool created = false;
    QImage image;
    std::vector<uint8_t> inkRows;

    DecodeState() { InstallErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), err); }
    ~DecodeState()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
    DecodeState(const DecodeState&) = delete;
    DecodeState& operator=(const DecodeState&) = delete;
};

void CheckInput(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        throw EImageError("Not a JPEG picture: no data");
}

void CheckPixelCount(const jpeg_decompress_struct& cinfo)
{
    if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height > kMaxJpegPixels)
        throw EImageError("JPEG picture too large: " + std::to_string(cinfo.image_width) + " x " +
                          std::to_string(cinfo.image_height) + " pixels");
}

bool IsInk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// CMYK rows to BGR(X). Files with Adobe's marker store the inks inverted (0 = full ink), the others plainly.
void InkRowToBgr(const uint8_t* ink, uint8_t* out, int width, int outStep, bool inverted)
{
    for (int x = 0; x < width; ++x, ink += 4, out += outStep) {
        const int c = inverted ? ink[0] : 255 - ink[0];
        const int m = inverted ? ink[1] : 255 - ink[1];
        const int y = inverted ? ink[2] : 255 - ink[2];
        const int k = inverted ? ink[3] : 255 - ink[3];
        out[0] = static_cast<uint8_t>((y * k + 127) / 255);
        out[1] = static_cast<uint8_t>((m * k + 127) / 255);
        out[2] = static_cast<uint8_t>((c * k + 127) / 255);
        if (outStep == 4)
            out[3] = 0xFF;
    }
}

void ReadRows(DecodeState* s, int outStep)
{
    jpeg_decompress_struct& cinfo = s->cinfo;
    const bool ink = cinfo.out_color_space == JCS_CMYK;
    const auto width = static_cast<int>(cinfo.output_width);
    constexpr int kBatch = 8;
    if (ink)
        s->inkRows.resize(static_cast<size_t>(width) * 4 * kBatch);
    while (cinfo.output_scanline < cinfo.output_height) {
        const auto first = static_cast<int>(cinfo.output_scanline);
        const int count = std::min<int>(kBatch, static_cast<int>(cinfo.output_height) - first);
        JSAMPROW rows[kBatch];
        for (int i = 0; i < count; ++i)
            rows[i] = ink ? s->inkRows.data() + static_cast<size_t>(i) * width * 4 : s->image.scanLine(first + i);
        const auto got = static_cast<int>(jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count)));
        // A decoder that delivers no line would otherwise be asked for the same lines for ever.
        if (got <= 0) {
            std::snprintf(s->err.message, sizeof s->err.message, "JPEG data ends at line %d of %u", first,
                          cinfo.output_height);
            std::longjmp(s->err.jump, 1);
        }
        if (ink)
            for (int i = 0; i < got; ++i)
                InkRowToBgr(rows[i], s->image.scanLine(first + i), width, outStep, cinfo.saw_Adobe_marker);
    }
}

// The compressed bytes grow in a vector that doubles when libjpeg fills it.
struct VectorDestination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t> bytes;
};

void InitDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->bytes.resize(64 * 1024);
    dest->pub.next_output_byte = dest->bytes.data();
    dest->pub.free_in_buffer = dest->bytes.size();
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    const size_t used = dest->bytes.size();
    bool grown = true;
    try {
        dest->bytes.resize(used * 2);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    // The jump must not leave a catch handler, so the error is raised after it.
    if (!grown)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->pub.next_output_byte = dest->bytes.data() + used;
    dest->pub.free_in_buffer = dest->bytes.size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->bytes.resize(dest->bytes.size() - dest->pub.free_in_buffer);
}

struct EncodeState {
    jpeg_compress_struct cinfo{};
    ErrorManager err;
    VectorDestination dest{};
    bool created = false;

    EncodeState() { InstallErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), err); }
    ~EncodeState()
    {
        if (created)
            jpeg_destroy_compress(&cinfo);
    }
    EncodeState(const EncodeState&) = delete;
    EncodeState& operator=(const EncodeState&) = delete;
};

void SetUpEncoder(EncodeState* s, const Bitmap& source, int quality)
{
    jpeg_compress_struct& cinfo = s->cinfo;
    s->dest.pub.init_destination = InitDestination;
    s->dest.pub.empty_output_buffer = EmptyOutputBuffer;
    s->dest.pub.term_destination = TermDestination;
    cinfo.dest = &s->dest.pub;
    cinfo.image_width = static_cast<JDIMENSION>(source.Width());
    cinfo.image_height = static_cast<JDIMENSION>(source.Height());
    const bool wide = source.Format() == PixelFormat::pf32bit;
    cinfo.input_components = wide ? 4 : 3;
    cinfo.in_color_space = wide ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
    cinfo.dct_method = JDCT_ISLOW;
}

} // namespace

JpegInfo ReadJpegInfo(const uint8_t* data, size_t size)
{
    CheckInput(data, size);
    auto state = std::make_unique<DecodeState>();
    DecodeState* const s = state.get();
    if (setjmp(s->err.jump))
        throw EImageError(std::string("Not a valid JPEG picture: ") + s->err.message);
    jpeg_create_decompress(&s->cinfo);
    s->created = true;
    jpeg_mem_src(&s->cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&s->cinfo, TRUE);
    JpegInfo info;
    info.width = static_cast<int>(s->cinfo.image_width);
    info.height = static_cast<int>(s->cinfo.image_height);
    info.components = s->cinfo.num_components;
    return info;
}

namespace {

// Decodes at scale n/8 (1..8) of the full size.
Bitmap DecodeScaled(const uint8_t* data, size_t size, int scale, PixelFormat format)
{
    if (format != PixelFormat::pf24bit && format != PixelFormat::pf32bit) {
        Bitmap bitmap = DecodeScaled(data, size, scale, PixelFormat::pf24bit);
        bitmap.SetPixelFormat(format);
        return bitmap;
    }
    CheckInput(data, size);
    const int outStep = format == PixelFormat::pf32bit ? 4 : 3;
    auto state = std::make_unique<DecodeState>();
    DecodeState* const s = state.get();
    if (setjmp(s->err.jump))
        throw EImageError(std::string("Not a valid JPEG picture: ") + s->err.message);
    jpeg_create_decompress(&s->cinfo);
    s->created = true;
    s->progress.progress_monitor = CountScans;
    s->cinfo.progress = &s->progress;
    jpeg_mem_src(&s->cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&s->cinfo, TRUE);
    CheckPixelCount(s->cinfo);
    s->cinfo.out_color_space = IsInk(s->cinfo.jpeg_color_space) ? JCS_CMYK : outStep == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    s->cinfo.dct_method = JDCT_ISLOW;
    s->cinfo.do_fancy_upsampling = TRUE;
    s->cinfo.scale_num = static_cast<unsigned int>(std::clamp(scale, 1, 8));
    s->cinfo.scale_denom = 8;
    jpeg_start_decompress(&s->cinfo);
    s->image = AllocateQImage(static_cast<int>(s->cinfo.output_width), static_cast<int>(s->cinfo.output_height),
                              QtFormatOf(format));
    if (s->image.isNull())
        throw EImageError("Out of memory for a JPEG picture");
    ReadRows(s, outStep);
    return Bitmap(s->image);
}

// libjpeg's output size at scale n/8: the full size times n/8, rounded up.
int64_t ScaledSize(int64_t full, int scale) { return (full * scale + 7) / 8; }

} // namespace

Bitmap DecodeJpeg(const uint8_t* data, size_t size, PixelFormat format) { return DecodeScaled(data, size, 8, format); }

JpegInfo CheckJpegHeader(const uint8_t* data, size_t size)
{
    const JpegInfo info = ReadJpegInfo(data, size);
    if (info.width <= 0 || info.height <= 0)
        throw EImageError("JPEG picture without pixels");
    if (static_cast<int64_t>(info.width) * info.height > kMaxJpegPixels)
        throw EImageError("JPEG picture too large: " + std::to_string(info.width) + " x " +
                          std::to_string(info.height) + " pixels");
    return info;
}

int JpegScaleFor(int imageWidth, int imageHeight, int width, int height)
{
    for (int scale = 1; scale < 8; ++scale)
        if (ScaledSize(imageWidth, scale) >= width && ScaledSize(imageHeight, scale) >= height)
            return scale;
    return 8;
}

Bitmap DecodeJpegAtLeast(const uint8_t* data, size_t size, int width, int height, PixelFormat format)
{
    const JpegInfo info = ReadJpegInfo(data, size);
    return DecodeScaled(data, size, JpegScaleFor(info.width, info.height, width, height), format);
}

std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality)
{
    if (bitmap.IsEmpty())
        throw EImageError("Cannot encode an empty bitmap as JPEG");
    if (bitmap.Format() != PixelFormat::pf24bit && bitmap.Format() != PixelFormat::pf32bit) {
        Bitmap colour(bitmap);
        colour.SetPixelFormat(PixelFormat::pf24bit);
        return EncodeJpeg(colour, quality);
    }
    auto state = std::make_unique<EncodeState>();
    EncodeState* const s = state.get();
    if (setjmp(s->err.jump))
        throw EImageError(std::string("Cannot encode the JPEG picture: ") + s->err.message);
    jpeg_create_compress(&s->cinfo);
    s->created = true;
    SetUpEncoder(s, bitmap, quality);
    jpeg_start_compress(&s->cinfo, TRUE);
    while (s->cinfo.next_scanline < s->cinfo.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<uint8_t*>(bitmap.ScanLine(static_cast<int>(s->cinfo.next_scanline)));
        jpeg_write_scanlines(&s->cinfo, &row, 1);
    }
    jpeg_finish_compress(&s->cinfo);
    return std::move(s->dest.bytes);
}

JpegImage JpegImage::FromBytes(std::vector<uint8_t> bytes)
{
    JpegImage image;
    if (bytes.empty())
        return image;
    const JpegInfo info = ReadJpegInfo(bytes.data(), bytes.size());
    image.m_bytes = std::move(bytes);
    image.m_width = info.width;
    image.m_height = info.height;
    return image;
}

JpegImage JpegImage::FromBitmap(const Bitmap& bitmap, int quality)
{
    JpegImage image;
    image.m_bytes = EncodeJpeg(bitmap, quality);
    image.m_width = bitmap.Width();
    image.m_height = bitmap.Height();
    return image;
}

Bitmap JpegImage::Decode(PixelFormat format) const { return DecodeJpeg(m_bytes, format); }
