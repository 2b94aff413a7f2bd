#pragma once
// Inputs shared by the benchmarks: photograph-like pictures and stored objects with identifiers.

#include "platform/Bitmap.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

inline uint32_t NextRandom(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Smooth gradients with sensor-like noise, so the JPEG is about as large as a photograph's.
inline Bitmap SyntheticPhoto(int width, int height, uint32_t seed)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* line = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(NextRandom(seed) % 9) - 4;
            const int base = (x * 255 / width + y * 128 / height + static_cast<int>(seed % 64)) % 256;
            line[3 * x] = static_cast<uint8_t>(std::clamp(base + noise, 0, 255));
            line[3 * x + 1] = static_cast<uint8_t>(std::clamp((base * 3 / 4) + noise, 0, 255));
            line[3 * x + 2] = static_cast<uint8_t>(std::clamp(255 - base + noise, 0, 255));
        }
    }
    return bitmap;
}

// Identifiers are set by reading: the saved object with the identifier patched into its header is read back.
template <class T>
std::unique_ptr<T> WithID(std::unique_ptr<T> object, int32_t id)
{
    MemoryStream stream;
    object->SaveToStream(stream);
    std::memcpy(stream.Data().data() + 4, &id, 4);
    stream.SetPosition(0);
    return std::make_unique<T>(stream, nullptr);
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Binary PPM, as the command-line tools read it: "P6", size, maximum, then R, G, B per pixel.
inline void WritePpm(const std::string& path, const Bitmap& bitmap)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << bitmap.Width() << " " << bitmap.Height() << "\n255\n";
    std::vector<char> row(static_cast<size_t>(bitmap.Width()) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* in = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[3 * x] = static_cast<char>(in[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(in[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(in[3 * x]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

// Photograph-like JPEGs of one size, each with its own seed from firstSeed on.
inline std::vector<JpegImage> SyntheticPhotos(int count, int width, int height, uint32_t firstSeed)
{
    std::vector<JpegImage> photos;
    for (int i = 0; i < count; ++i)
        photos.push_back(JpegImage::FromBitmap(SyntheticPhoto(width, height, firstSeed + static_cast<uint32_t>(i))));
    return photos;
}

// The benchmarks draw without a screen unless the environment names one.
inline void PreferOffscreenDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
