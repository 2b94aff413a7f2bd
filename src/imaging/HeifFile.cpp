#include "imaging/HeifFile.h"

#include "imaging/PhotographFile.h"
#include "imaging/PictureMetadata.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"

#include <libheif/heif.h>

#include <QColorSpace>
#include <QList>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr const char* kNoPrimary = "This HEIF picture holds no main image.";
constexpr const char* kUnsupported = "This picture is compressed in a way that cannot be read here.";
constexpr size_t kMaxExifBytes = 1024 * 1024;

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageFree {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct NclxFree {
    void operator()(heif_color_profile_nclx* n) const { heif_nclx_color_profile_free(n); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

[[noreturn]] void Fail(const heif_error& error)
{
    switch (error.subcode) {
    case heif_suberror_No_pitm_box:
    case heif_suberror_No_or_invalid_primary_item: throw EImageError(kNoPrimary);
    case heif_suberror_Unsupported_codec:
    case heif_suberror_Unsupported_image_type: throw EImageError(kUnsupported);
    case heif_suberror_Security_limit_exceeded: throw EImageError(PhotographMessage::kTooLarge);
    case heif_suberror_Nonexisting_item_referenced:
        // The library leaves out items of a type it cannot decode, so a main image of an unknown codec shows as
        // a main-image reference to nothing.
        if (error.message != nullptr && std::strstr(error.message, "pitm") != nullptr)
            throw EImageError(kUnsupported);
        break;
    default: break;
    }
    if (error.code == heif_error_Unsupported_filetype || error.code == heif_error_Unsupported_feature)
        throw EImageError(kUnsupported);
    if (error.code == heif_error_Memory_allocation_error)
        throw EImageError(PhotographMessage::kNoMemory);
    throw EImageError(PhotographMessage::kDamaged);
}

void Check(const heif_error& error)
{
    if (error.code != heif_error_Ok)
        Fail(error);
}

// The decoding function of the BT.709 transfer (video cameras, some AVIF writers) as a table.
QList<uint16_t> Bt709Table()
{
    QList<uint16_t> table(1024);
    for (int i = 0; i < table.size(); ++i) {
        const double v = double(i) / (table.size() - 1);
        const double linear = v < 0.081 ? v / 4.5 : std::pow((v + 0.099) / 1.099, 1.0 / 0.45);
        table[i] = uint16_t(std::lround(linear * 65535.0));
    }
    return table;
}

bool Plausible(const QPointF& p) { return p.x() > 0.0 && p.x() < 1.0 && p.y() > 0.0 && p.y() < 1.0; }

struct Chromaticities {
    QPointF white, red, green, blue;
};

// The primaries of an nclx description: the common ones from their code, others from the chromaticities the
// library decoded; sRGB's when unspecified or implausible.
Chromaticities PrimariesOf(const heif_color_profile_nclx& nclx)
{
    const QPointF d65(0.3127, 0.3290);
    switch (nclx.color_primaries) {
    case heif_color_primaries_ITU_R_BT_2020_2_and_2100_0: return {d65, {0.708, 0.292}, {0.170, 0.797}, {0.131, 0.046}};
    case heif_color_primaries_SMPTE_RP_431_2: // DCI-P3 with its own white
        return {{0.314, 0.351}, {0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}};
    case heif_color_primaries_SMPTE_EG_432_1: // Display P3
        return {d65, {0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}};
    case heif_color_primaries_ITU_R_BT_601_6:
    case heif_color_primaries_SMPTE_240M: return {d65, {0.630, 0.340}, {0.310, 0.595}, {0.155, 0.070}};
    case heif_color_primaries_ITU_R_BT_709_5:
    case heif_color_primaries_unspecified: return {d65, {0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}};
    default: break;
    }
    const Chromaticities decoded{{nclx.color_primary_white_x, nclx.color_primary_white_y},
                                 {nclx.color_primary_red_x, nclx.color_primary_red_y},
                                 {nclx.color_primary_green_x, nclx.color_primary_green_y},
                                 {nclx.color_primary_blue_x, nclx.color_primary_blue_y}};
    if (Plausible(decoded.white) && Plausible(decoded.red) && Plausible(decoded.green) && Plausible(decoded.blue))
        return decoded;
    return {d65, {0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}};
}

// The colour space of an nclx description; invalid (meaning sRGB) for sRGB itself and for what is unspecified.
// Transfers for high dynamic range (PQ, HLG) are taken as sRGB's: the album has no room above white.
QColorSpace FromNclx(const heif_color_profile_nclx& nclx)
{
    const Chromaticities p = PrimariesOf(nclx);
    const QPointF &w = p.white, &r = p.red, &g = p.green, &b = p.blue;
    const bool srgbPrimaries = nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
                               nclx.color_primaries == heif_color_primaries_unspecified;
    switch (nclx.transfer_characteristics) {
    case heif_transfer_characteristic_linear: return QColorSpace(w, r, g, b, QColorSpace::TransferFunction::Linear);
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        return QColorSpace(w, r, g, b, QColorSpace::TransferFunction::Gamma, 2.2f);
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        return QColorSpace(w, r, g, b, QColorSpace::TransferFunction::Gamma, 2.8f);
    case heif_transfer_characteristic_ITU_R_BT_709_5:
    case heif_transfer_characteristic_ITU_R_BT_601_6:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit: return QColorSpace(w, r, g, b, Bt709Table());
    default:
        if (srgbPrimaries)
            return {};
        return QColorSpace(w, r, g, b, QColorSpace::TransferFunction::SRgb);
    }
}

QColorSpace FromIcc(const QByteArray& icc)
{
    if (!IsWholeIccProfile(icc))
        throw EImageError(PhotographMessage::kDamagedProfile);
    return QColorSpace::fromIccProfile(icc); // a whole profile the toolkit cannot use is taken as sRGB
}

QColorSpace HandleColourSpace(const heif_image_handle* handle, const heif_image* image)
{
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        Check(heif_image_handle_get_raw_color_profile(handle, icc.data()));
        return FromIcc(icc);
    }
    heif_color_profile_nclx* raw = nullptr;
    heif_error error = heif_image_handle_get_nclx_color_profile(handle, &raw);
    if (error.code != heif_error_Ok) // AV1 streams may carry it in the coded image only
        error = heif_image_get_nclx_color_profile(image, &raw);
    const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(raw);
    if (error.code != heif_error_Ok || nclx == nullptr)
        return {};
    return FromNclx(*nclx);
}

std::string CaptureDate(const heif_image_handle* handle)
{
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1)
        return {};
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size < 4 || size > kMaxExifBytes)
        return {};
    std::vector<uint8_t> exif(size);
    if (heif_image_handle_get_metadata(handle, id, exif.data()).code != heif_error_Ok)
        return {};
    // The block starts with the offset of the TIFF structure from the end of this field.
    const size_t offset = size_t(exif[0]) << 24 | size_t(exif[1]) << 16 | size_t(exif[2]) << 8 | exif[3];
    if (offset > size - 4)
        return {};
    return ExifCaptureDate(exif.data() + 4 + offset, size - 4 - offset);
}

QImage Copy8(const uint8_t* plane, int stride, int width, int height, bool alpha)
{
    QImage out = AllocateQImage(width, height, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
    if (out.isNull())
        throw EImageError(PhotographMessage::kNoMemory);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = plane + size_t(y) * stride;
        uint8_t* row = out.scanLine(y);
        if (alpha) {
            std::memcpy(row, in, size_t(width) * 4);
            continue;
        }
        for (int x = 0; x < width; ++x, in += 3, row += 4) {
            row[0] = in[0];
            row[1] = in[1];
            row[2] = in[2];
            row[3] = 0xFF;
        }
    }
    return out;
}

// Samples of 9 to 16 bits in 16-bit little-endian words, widened to the full 16-bit range with rounding.
QImage Copy16(const uint8_t* plane, int stride, int width, int height, bool alpha, int bits)
{
    QImage out = AllocateQImage(width, height, alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64);
    if (out.isNull())
        throw EImageError(PhotographMessage::kNoMemory);
    const uint32_t top = (1u << bits) - 1;
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = plane + size_t(y) * stride;
        auto* row = reinterpret_cast<uint16_t*>(out.scanLine(y));
        for (int x = 0; x < width; ++x, in += 2 * channels, row += 4) {
            for (int c = 0; c < channels; ++c) {
                const uint32_t v = std::min<uint32_t>(uint32_t(in[2 * c]) | uint32_t(in[2 * c + 1]) << 8, top);
                row[c] = uint16_t((v * 65535u + top / 2) / top);
            }
            if (!alpha)
                row[3] = 0xFFFF;
        }
    }
    return out;
}

constexpr int kMaxHeifSide = 12288;

} // namespace

bool IsHeifFile(const uint8_t* data, size_t size)
{
    return size >= 12 && std::memcmp(data + 4, "ftyp", 4) == 0 &&
           heif_check_filetype(data, int(std::min<size_t>(size, 1 << 20))) != heif_filetype_no;
}

HeifPicture DecodeHeif(const uint8_t* data, size_t size, int64_t maxPixels)
{
    maxPixels = std::min(maxPixels, kMaxBitmapPixels);
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context)
        throw EImageError(PhotographMessage::kNoMemory);
    // The stated size of a picture made of tiles need not be the size its grid asks for; the decoder checks each
    // side of every image it makes against this limit, so no file can make it set aside more than the largest
    // picture we accept (150 megapixels fit within 12288 pixels a side only as a square; wider panoramas are
    // refused as too large).
    heif_context_set_maximum_image_size_limit(context.get(), kMaxHeifSide);
    Check(heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr));
    heif_image_handle* rawHandle = nullptr;
    Check(heif_context_get_primary_image_handle(context.get(), &rawHandle));
    const std::unique_ptr<heif_image_handle, HandleFree> handle(rawHandle);
    const int64_t width = heif_image_handle_get_width(handle.get());
    const int64_t height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0)
        throw EImageError(PhotographMessage::kDamaged);
    if (width * height > maxPixels)
        throw EImageError(PhotographMessage::kTooLarge);

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const int depth = heif_image_handle_get_luma_bits_per_pixel(handle.get());
    const bool deep = depth > 8;
    const heif_chroma chroma = deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                                    : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    options->ignore_transformations = 0; // turned and mirrored as recorded
    heif_image* rawImage = nullptr;
    Check(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB, chroma, options.get()));
    const std::unique_ptr<heif_image, ImageFree> image(rawImage);

    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int bits = heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved);
    if (plane == nullptr || w <= 0 || h <= 0 || int64_t(w) * h > maxPixels || (deep && (bits < 9 || bits > 16)))
        throw EImageError(PhotographMessage::kDamaged);
    const int bytesPerPixel = (deep ? 2 : 1) * (alpha ? 4 : 3);
    if (stride < w * bytesPerPixel)
        throw EImageError(PhotographMessage::kDamaged);

    HeifPicture picture;
    picture.image = deep ? Copy16(plane, stride, w, h, alpha, bits) : Copy8(plane, stride, w, h, alpha);
    picture.image.setColorSpace(HandleColourSpace(handle.get(), image.get()));
    picture.captureDate = CaptureDate(handle.get());
    return picture;
}
