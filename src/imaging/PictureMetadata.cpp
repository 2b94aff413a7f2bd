#include "imaging/PictureMetadata.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

// Profiles beyond this size are no photograph's; a compressed one is not inflated further.
constexpr size_t kMaxIccBytes = 16 * 1024 * 1024;
constexpr size_t kIccHeaderBytes = 128;

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

bool StartsWith(const uint8_t* data, size_t size, const char* text, size_t length)
{
    return size >= length && std::memcmp(data, text, length) == 0;
}

void SetExif(PictureMetadata& meta, const uint8_t* data, size_t size)
{
    // Some writers keep the JPEG segment's "Exif\0\0" before the TIFF structure in other formats too.
    if (StartsWith(data, size, "Exif\0\0", 6)) {
        data += 6;
        size -= 6;
    }
    if (meta.exif == nullptr && size >= 8) {
        meta.exif = data;
        meta.exifSize = size;
    }
}

// JPEG: the profile may be cut into numbered APP2 segments; it is whole only when every part 1..count is there.
void ScanJpeg(const uint8_t* data, size_t size, PictureMetadata& meta)
{
    std::map<int, QByteArray> parts;
    int partCount = 0;
    size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            break;
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) // end of picture, start of scan: no more metadata before pixels
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        const size_t length = Be16(data + pos + 2);
        if (length < 2 || pos + 2 + length > size)
            break;
        const uint8_t* payload = data + pos + 4;
        const size_t payloadSize = length - 2;
        if (marker == 0xE1 && StartsWith(payload, payloadSize, "Exif\0\0", 6))
            SetExif(meta, payload, payloadSize);
        if (marker == 0xE2 && StartsWith(payload, payloadSize, "ICC_PROFILE\0", 12) && payloadSize >= 14) {
            meta.hasIcc = true;
            const int sequence = payload[12];
            partCount = std::max(partCount, int(payload[13]));
            parts[sequence] = QByteArray(reinterpret_cast<const char*>(payload + 14), qsizetype(payloadSize - 14));
        }
        pos += 2 + length;
    }
    if (!meta.hasIcc || partCount == 0 || int(parts.size()) != partCount)
        return;
    QByteArray icc;
    for (int i = 1; i <= partCount; ++i) {
        const auto part = parts.find(i);
        if (part == parts.end())
            return;
        icc += part->second;
    }
    meta.icc = icc;
}

QByteArray Inflate(const uint8_t* data, size_t size)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    QByteArray out;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(std::min<size_t>(size, UINT32_MAX));
    int result = Z_OK;
    char buffer[16384];
    while (result == Z_OK && size_t(out.size()) <= kMaxIccBytes) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof(buffer);
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END)
            break;
        out.append(buffer, qsizetype(sizeof(buffer) - stream.avail_out));
        if (result == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)
            break; // input ends before the stream does
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

void ScanPng(const uint8_t* data, size_t size, PictureMetadata& meta)
{
    size_t pos = 8;
    while (pos + 12 <= size) {
        const size_t length = Be32(data + pos);
        const uint8_t* type = data + pos + 4;
        if (length > size - pos - 12)
            break;
        const uint8_t* payload = data + pos + 8;
        if (std::memcmp(type, "iCCP", 4) == 0 && !meta.hasIcc) {
            meta.hasIcc = true;
            // name (1..79 bytes), a zero, the compression method (0: zlib), the compressed profile
            const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(payload, 0, std::min<size_t>(length, 80)));
            if (zero != nullptr && size_t(zero - payload) + 2 <= length && zero[1] == 0)
                meta.icc = Inflate(zero + 2, length - size_t(zero - payload) - 2);
        } else if (std::memcmp(type, "eXIf", 4) == 0) {
            SetExif(meta, payload, length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        pos += 12 + length;
    }
}

void ScanWebp(const uint8_t* data, size_t size, PictureMetadata& meta)
{
    size = std::min<size_t>(size, size_t(Le32(data + 4)) + 8);
    size_t pos = 12;
    while (pos + 8 <= size) {
        const size_t length = Le32(data + pos + 4);
        if (length > size - pos - 8)
            break;
        const uint8_t* payload = data + pos + 8;
        if (std::memcmp(data + pos, "ICCP", 4) == 0 && !meta.hasIcc) {
            meta.hasIcc = true;
            meta.icc = QByteArray(reinterpret_cast<const char*>(payload), qsizetype(length));
        } else if (std::memcmp(data + pos, "EXIF", 4) == 0) {
            SetExif(meta, payload, length);
        }
        pos += 8 + length + (length & 1);
    }
}

// The EXIF block in TIFF form: byte order, then offsets from its start.
class TiffReader {
public:
    TiffReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Valid() const
    {
        return m_size >= 8 && ((m_data[0] == 'I' && m_data[1] == 'I' && U16(2) == 42) ||
                               (m_data[0] == 'M' && m_data[1] == 'M' && U16(2) == 42));
    }
    uint32_t FirstIfd() const { return U32(4); }

    // The entry of a tag in the directory at offset, as the offset of its 12 bytes; 0 when absent.
    size_t Find(uint32_t ifd, uint16_t tag) const
    {
        if (size_t(ifd) + 2 > m_size)
            return 0;
        const size_t count = U16(ifd);
        for (size_t i = 0; i < count; ++i) {
            const size_t entry = size_t(ifd) + 2 + 12 * i;
            if (entry + 12 > m_size)
                return 0;
            if (U16(entry) == tag)
                return entry;
        }
        return 0;
    }

    // An ASCII value of at least 19 characters (a date), or empty.
    std::string Text(size_t entry) const
    {
        if (entry == 0 || U16(entry + 2) != 2)
            return {};
        const uint32_t count = U32(entry + 4);
        if (count < 19 || count > 64)
            return {};
        const size_t at = count <= 4 ? entry + 8 : U32(entry + 8);
        if (at > m_size || count > m_size - at)
            return {};
        return std::string(reinterpret_cast<const char*>(m_data + at), 19);
    }

    uint32_t Long(size_t entry) const { return entry == 0 ? 0 : U32(entry + 8); }

private:
    bool Intel() const { return m_data[0] == 'I'; }
    uint16_t U16(size_t at) const
    {
        return Intel() ? uint16_t(m_data[at] | m_data[at + 1] << 8) : uint16_t(m_data[at] << 8 | m_data[at + 1]);
    }
    uint32_t U32(size_t at) const { return Intel() ? Le32(m_data + at) : Be32(m_data + at); }

    const uint8_t* m_data;
    size_t m_size;
};

// "YYYY:MM:DD HH:MM:SS" with a plausible date and time, as "YYYY-MM-DD HH:MM:SS"; else empty.
std::string ValidDate(std::string text)
{
    static const char kPattern[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() != 19)
        return {};
    for (size_t i = 0; i < 19; ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i])
            return {};
    }
    const auto number = [&](size_t at, size_t length) { return std::stoi(text.substr(at, length)); };
    if (number(0, 4) < 1800 || number(5, 2) < 1 || number(5, 2) > 12 || number(8, 2) < 1 || number(8, 2) > 31 ||
        number(11, 2) > 23 || number(14, 2) > 59 || number(17, 2) > 60)
        return {};
    text[4] = '-';
    text[7] = '-';
    return text;
}

// The position of the marker that ends the entropy-coded data starting at pos, or size when the data runs to the
// end. Inside the data a 0xFF is followed by a stuffed zero or a restart marker.
size_t EndOfEntropyData(const uint8_t* data, size_t size, size_t pos)
{
    while (pos < size) {
        const auto* ff = static_cast<const uint8_t*>(std::memchr(data + pos, 0xFF, size - pos));
        if (ff == nullptr)
            return size;
        pos = size_t(ff - data);
        if (pos + 1 >= size)
            return size;
        const uint8_t next = data[pos + 1];
        if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7))
            return pos;
        pos += next == 0xFF ? 1 : 2;
    }
    return size;
}

} // namespace

bool JpegReachesItsEnd(const uint8_t* data, size_t size)
{
    if (!StartsWith(data, size, "\xFF\xD8", 2))
        return true;
    size_t pos = 2;
    while (pos + 2 <= size) {
        if (data[pos] != 0xFF)
            return true; // no marker where one belongs: damage the decoder reports
        const uint8_t marker = data[pos + 1];
        if (marker == 0xD9)
            return true;
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (pos + 4 > size)
            return false;
        const size_t length = Be16(data + pos + 2);
        if (length < 2)
            return true;
        if (pos + 2 + length > size)
            return false;
        pos += 2 + length;
        if (marker == 0xDA)
            pos = EndOfEntropyData(data, size, pos);
    }
    return false;
}

PictureMetadata ScanPictureMetadata(const uint8_t* data, size_t size)
{
    PictureMetadata meta;
    if (StartsWith(data, size, "\xFF\xD8", 2))
        ScanJpeg(data, size, meta);
    else if (StartsWith(data, size, "\x89PNG\r\n\x1A\n", 8))
        ScanPng(data, size, meta);
    else if (size >= 12 && StartsWith(data, size, "RIFF", 4) && std::memcmp(data + 8, "WEBP", 4) == 0)
        ScanWebp(data, size, meta);
    else if (StartsWith(data, size, "II*\0", 4) || StartsWith(data, size, "MM\0*", 4))
        SetExif(meta, data, size);
    if (size_t(meta.icc.size()) > kMaxIccBytes)
        meta.icc.clear();
    return meta;
}

bool IsWholeIccProfile(const QByteArray& icc)
{
    const auto* data = reinterpret_cast<const uint8_t*>(icc.constData());
    const size_t size = size_t(icc.size());
    if (size < kIccHeaderBytes + 4 || std::memcmp(data + 36, "acsp", 4) != 0)
        return false;
    const size_t declared = Be32(data);
    if (declared < kIccHeaderBytes + 4 || declared > size)
        return false;
    const size_t tags = Be32(data + kIccHeaderBytes);
    if (tags == 0 || tags > (declared - kIccHeaderBytes - 4) / 12)
        return false;
    for (size_t i = 0; i < tags; ++i) {
        const uint8_t* tag = data + kIccHeaderBytes + 4 + 12 * i;
        const uint64_t offset = Be32(tag + 4);
        const uint64_t length = Be32(tag + 8);
        if (offset < kIccHeaderBytes || offset + length > declared)
            return false;
    }
    return true;
}

std::string ExifCaptureDate(const uint8_t* tiff, size_t size)
{
    const TiffReader reader(tiff, size);
    if (tiff == nullptr || !reader.Valid())
        return {};
    const uint32_t ifd0 = reader.FirstIfd();
    const uint32_t exifIfd = reader.Long(reader.Find(ifd0, 0x8769));
    for (const uint16_t tag : {uint16_t(0x9003), uint16_t(0x9004)}) {
        if (exifIfd == 0)
            break;
        const std::string date = ValidDate(reader.Text(reader.Find(exifIfd, tag)));
        if (!date.empty())
            return date;
    }
    return ValidDate(reader.Text(reader.Find(ifd0, 0x0132)));
}
