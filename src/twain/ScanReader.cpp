#include "twain/ScanReader.h"

#include <algorithm>
#include <cstring>

using namespace Twain;

namespace {

constexpr int64_t kMaxPixels = 150'000'000;
constexpr int kReadChunk = 64 * 1024;
constexpr uint32_t kInfoHeaderSize = 40;

bool IsColourPlane(SANE_Frame format)
{
    return format == SANE_FRAME_RED || format == SANE_FRAME_GREEN || format == SANE_FRAME_BLUE;
}

int ChannelsOf(SANE_Frame format) { return format == SANE_FRAME_RGB ? 3 : 1; }

int64_t RowBytes(int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

void Put16(uint8_t* p, uint16_t value) { std::memcpy(p, &value, 2); }
void Put32(uint8_t* p, uint32_t value) { std::memcpy(p, &value, 4); }

// One sample of a frame line as 8 bits: the byte itself, or the high byte of a 16-bit sample in host order.
uint8_t Sample(const uint8_t* line, int64_t index, int depth)
{
    if (depth == 8)
        return line[index];
    uint16_t value = 0;
    std::memcpy(&value, line + index * 2, 2);
    return static_cast<uint8_t>(value >> 8);
}

// The most bytes a frame of unknown height may bring: as many lines as the largest picture of its width has.
int64_t UnknownHeightLimit(const SANE_Parameters& p)
{
    return std::min(ScanReader::kMaxFrameBytes, int64_t{p.bytes_per_line} * (kMaxPixels / p.pixels_per_line));
}

} // namespace

OwnedBlock& OwnedBlock::operator=(OwnedBlock&& other) noexcept
{
    if (this != &other) {
        GlobalFree(m_handle);
        m_handle = other.Release();
    }
    return *this;
}

HGLOBAL OwnedBlock::Release()
{
    HGLOBAL handle = m_handle;
    m_handle = nullptr;
    return handle;
}

ScanReader::ScanReader(FrameDevice& device, std::string deviceName, int dotsPerInch)
    : m_device(device), m_deviceName(std::move(deviceName)), m_dotsPerInch(dotsPerInch)
{}

ScanResult ScanReader::Run(const std::atomic<bool>& cancelled, const Progress& progress)
{
    m_frames.clear();
    ScanResult result = ReadFrames(cancelled, progress);
    m_device.Cancel();
    if (result.outcome == ScanResult::Outcome::Done)
        result = MakeBitmap();
    m_frames.clear();
    return result;
}

ScanResult ScanReader::Failure(TW_UINT16 condition, const std::string& what) const
{
    ScanResult result;
    result.outcome = ScanResult::Outcome::Failed;
    result.condition = condition;
    result.message = "The scanner " + m_deviceName + " " + what;
    return result;
}

ScanResult ScanReader::StatusFailure(SANE_Status status)
{
    if (status == SANE_STATUS_CANCELLED) {
        ScanResult result;
        result.outcome = ScanResult::Outcome::Cancelled;
        return result;
    }
    const std::string reason = m_device.StatusText(status);
    switch (status) {
    case SANE_STATUS_JAMMED: return Failure(TWCC_PAPERJAM, "reports a paper jam: " + reason);
    case SANE_STATUS_NO_MEM: return Failure(TWCC_LOWMEMORY, "ran out of memory: " + reason);
    case SANE_STATUS_NO_DOCS: return Failure(TWCC_BUMMER, "has no document to scan: " + reason);
    case SANE_STATUS_COVER_OPEN: return Failure(TWCC_BUMMER, "is open: " + reason);
    case SANE_STATUS_DEVICE_BUSY: return Failure(TWCC_BUMMER, "is busy: " + reason);
    default: return Failure(TWCC_BUMMER, "stopped: " + reason);
    }
}

// A single frame is the whole picture; red, green and blue frames come one after the other until the device
// says the last one is there.
ScanResult ScanReader::ReadFrames(const std::atomic<bool>& cancelled, const Progress& progress)
{
    for (;;) {
        if (cancelled)
            return StatusFailure(SANE_STATUS_CANCELLED);
        const SANE_Status started = m_device.Start();
        if (started != SANE_STATUS_GOOD)
            return StatusFailure(started);
        Frame& frame = m_frames.emplace_back();
        const SANE_Status status = m_device.GetParameters(frame.parameters);
        if (status != SANE_STATUS_GOOD)
            return StatusFailure(status);
        const std::string problem = CheckParameters(frame.parameters);
        if (!problem.empty())
            return Failure(TWCC_BUMMER, problem);
        ScanResult read = ReadFrame(frame, cancelled, progress);
        if (read.outcome != ScanResult::Outcome::Done)
            return read;
        if (frame.parameters.last_frame)
            break;
        if (m_frames.size() >= 3)
            return Failure(TWCC_BUMMER, "sent more frames than a colour picture has");
    }
    const std::string problem = CheckFrames();
    if (!problem.empty())
        return Failure(TWCC_BUMMER, problem);
    return ScanResult{ScanResult::Outcome::Done, {}, TWCC_SUCCESS, {}};
}

std::string ScanReader::CheckParameters(const SANE_Parameters& p) const
{
    const bool plane = IsColourPlane(p.format);
    if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB && !plane)
        return "sends its picture in a form the program cannot read";
    if (p.depth != 8 && p.depth != 16 && !(p.depth == 1 && p.format == SANE_FRAME_GRAY))
        return "sends " + std::to_string(p.depth) + " bits per sample, which the program cannot read";
    if (p.pixels_per_line <= 0 || p.lines == 0 || p.lines < -1)
        return "announces a picture without a size";
    const int64_t width = p.pixels_per_line;
    const int64_t lines = p.lines < 0 ? 1 : p.lines;
    if (width > kMaxPixels || lines > kMaxPixels || width * lines > kMaxPixels)
        return "announces a picture larger than the program can hold";
    const int64_t used = (width * ChannelsOf(p.format) * p.depth + 7) / 8;
    if (p.bytes_per_line < used || p.bytes_per_line > used + 4096)
        return "announces lines whose length does not fit the picture";
    if (p.lines > 0 && int64_t{p.bytes_per_line} * p.lines > kMaxFrameBytes)
        return "announces a picture larger than the program can hold";
    return {};
}

// Reads until the device reports the end of the frame. Lines of a frame whose height is not known beforehand
// (hand scanners) are counted from what arrived; a partial last line is dropped.
ScanResult ScanReader::ReadFrame(Frame& frame, const std::atomic<bool>& cancelled, const Progress& progress)
{
    const SANE_Parameters& p = frame.parameters;
    const int64_t expected = p.lines > 0 ? int64_t{p.bytes_per_line} * p.lines : -1;
    if (expected > 0)
        frame.data.reserve(static_cast<size_t>(expected));
    std::vector<SANE_Byte> chunk(kReadChunk);
    int lastPercent = -1;
    for (;;) {
        SANE_Int length = 0;
        const SANE_Status status = m_device.Read(chunk.data(), kReadChunk, length);
        if (cancelled)
            return StatusFailure(SANE_STATUS_CANCELLED);
        if (status == SANE_STATUS_EOF)
            break;
        if (status != SANE_STATUS_GOOD)
            return StatusFailure(status);
        if (length < 0 || length > kReadChunk)
            return Failure(TWCC_BUMMER, "reports a read of an impossible length");
        const int64_t limit = expected > 0 ? expected : UnknownHeightLimit(p);
        if (static_cast<int64_t>(frame.data.size()) + length > limit)
            return Failure(TWCC_BUMMER, "sends more than the picture it announced");
        frame.data.insert(frame.data.end(), chunk.begin(), chunk.begin() + length);
        const int percent = expected > 0 ? static_cast<int>(frame.data.size() * 100 / expected) : 0;
        if (progress && percent != lastPercent)
            progress(percent);
        lastPercent = percent;
    }
    const int64_t lines = static_cast<int64_t>(frame.data.size()) / p.bytes_per_line;
    if (expected > 0 && lines < p.lines)
        return Failure(TWCC_BUMMER, "delivered " + std::to_string(lines) + " of " + std::to_string(p.lines) +
                                        " lines; the picture is incomplete");
    if (lines == 0)
        return Failure(TWCC_BUMMER, "delivered no picture");
    frame.lines = lines;
    return ScanResult{ScanResult::Outcome::Done, {}, TWCC_SUCCESS, {}};
}

// Three frames must be red, green and blue of the same size; one frame must be a whole picture.
std::string ScanReader::CheckFrames() const
{
    if (m_frames.size() == 1)
        return IsColourPlane(m_frames[0].parameters.format) ? "sent only one colour of the picture" : "";
    bool seen[3] = {false, false, false};
    for (const Frame& frame : m_frames) {
        const SANE_Parameters& p = frame.parameters;
        if (!IsColourPlane(p.format))
            return "mixed colour frames with other frames";
        if (p.pixels_per_line != m_frames[0].parameters.pixels_per_line || frame.lines != m_frames[0].lines)
            return "sent colour frames of different sizes";
        seen[p.format - SANE_FRAME_RED] = true;
    }
    if (m_frames.size() != 3 || !seen[0] || !seen[1] || !seen[2])
        return "did not send all three colours of the picture";
    return {};
}

// Bottom row first, rows padded to 4 bytes, after a 40-byte info header and the colour table.
ScanResult ScanReader::MakeBitmap() const
{
    const SANE_Parameters& first = m_frames[0].parameters;
    const int64_t width = first.pixels_per_line;
    const int64_t height = m_frames[0].lines;
    const bool lineArt = first.format == SANE_FRAME_GRAY && first.depth == 1;
    const bool grey = first.format == SANE_FRAME_GRAY;
    const int bitCount = lineArt ? 1 : grey ? 8 : 24;
    const uint32_t colours = lineArt ? 2 : grey ? 256 : 0;
    const int64_t rowBytes = RowBytes(width, bitCount);
    const int64_t bitsStart = kInfoHeaderSize + int64_t{colours} * 4;
    const int64_t total = bitsStart + rowBytes * height;
    if (total > static_cast<int64_t>(kMaxGlobalBlock))
        return Failure(TWCC_LOWMEMORY, "sent a picture larger than the program can hold");
    OwnedBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<size_t>(total)));
    auto* dib = static_cast<uint8_t*>(GlobalLock(block.Get()));
    if (!dib)
        return Failure(TWCC_LOWMEMORY, "sent a picture for which there is not enough memory");
    const auto pixelsPerMetre = static_cast<uint32_t>(m_dotsPerInch > 0 ? m_dotsPerInch * 10000 / 254 : 0);
    Put32(dib, kInfoHeaderSize);
    Put32(dib + 4, static_cast<uint32_t>(width));
    Put32(dib + 8, static_cast<uint32_t>(height));
    Put16(dib + 12, 1);
    Put16(dib + 14, static_cast<uint16_t>(bitCount));
    Put32(dib + 20, static_cast<uint32_t>(rowBytes * height));
    Put32(dib + 24, pixelsPerMetre);
    Put32(dib + 28, pixelsPerMetre);
    Put32(dib + 32, colours);
    for (uint32_t i = 0; i < colours; ++i) {
        // Line art: a set bit is black.
        const auto level = static_cast<uint8_t>(lineArt ? (i == 0 ? 255 : 0) : i);
        std::memset(dib + kInfoHeaderSize + i * 4, level, 3);
    }
    for (int64_t y = 0; y < height; ++y) {
        uint8_t* out = dib + bitsStart + rowBytes * (height - 1 - y);
        if (lineArt) {
            std::memcpy(out, m_frames[0].data.data() + y * first.bytes_per_line, static_cast<size_t>((width + 7) / 8));
            continue;
        }
        for (const Frame& frame : m_frames) {
            const uint8_t* line = frame.data.data() + y * frame.parameters.bytes_per_line;
            const int depth = frame.parameters.depth;
            for (int64_t x = 0; x < width; ++x) {
                if (grey) {
                    out[x] = Sample(line, x, depth);
                } else if (frame.parameters.format == SANE_FRAME_RGB) {
                    for (int c = 0; c < 3; ++c)
                        out[x * 3 + 2 - c] = Sample(line, x * 3 + c, depth);
                } else {
                    out[x * 3 + 2 - (frame.parameters.format - SANE_FRAME_RED)] = Sample(line, x, depth);
                }
            }
        }
    }
    GlobalUnlock(block.Get());
    ScanResult result;
    result.outcome = ScanResult::Outcome::Done;
    result.picture = std::move(block);
    return result;
}
