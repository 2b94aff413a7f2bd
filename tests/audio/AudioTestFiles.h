#pragma once
// Small audio files and a private temporary folder for the audio tests.

#include "platform/TempFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace audiotest {

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A 16-bit PCM wave file holding a tone of the given length (mono at 22050 Hz unless told otherwise; every channel
// carries the same tone). padding adds a "JUNK" chunk of that many bytes before the samples, which players skip: a
// large file that plays only briefly.
inline std::vector<uint8_t> MakeWave(int milliseconds, int tone = 440, uint32_t padding = 0, uint32_t rate = 22050,
                                     uint32_t channels = 1)
{
    const uint32_t samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    const uint32_t frameBytes = 2 * channels;
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutLe(out, 4 + (8 + 16) + (padding ? 8 + padding : 0) + 8 + samples * frameBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, channels, 2);
    PutLe(out, rate, 4);
    PutLe(out, rate * frameBytes, 4); // bytes per second
    PutLe(out, frameBytes, 2);        // block align
    PutLe(out, 16, 2);                // bits per sample
    if (padding) {
        PutTag(out, "JUNK");
        PutLe(out, padding, 4);
        out.insert(out.end(), padding, 0);
    }
    PutTag(out, "data");
    PutLe(out, samples * frameBytes, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        const double value = std::sin(2.0 * M_PI * tone * i / rate) * 8000.0;
        for (uint32_t c = 0; c < channels; ++c)
            PutLe(out, static_cast<uint32_t>(static_cast<int16_t>(value)), 2);
    }
    return out;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Points the temporary folder at a fresh empty folder for the lifetime of the object. The files a test gives the
// program to read (Source) lie in a folder of their own, so the temporary folder holds only what the program made.
class ScopedTempFolder {
public:
    ScopedTempFolder() : m_previous(TempFolder()) { SetTempFolder(m_dir.path().toStdString()); }
    ~ScopedTempFolder() { SetTempFolder(m_previous); }
    std::string Path(const std::string& name) const { return m_dir.path().toStdString() + "/" + name; }
    int FileCount(const QString& pattern) const
    {
        return static_cast<int>(QDir(m_dir.path()).entryList({pattern}, QDir::Files).size());
    }
    std::string Source(const std::vector<uint8_t>& bytes)
    {
        const std::string path = m_sources.path().toStdString() + "/source" + std::to_string(m_count++);
        WriteFile(path, bytes);
        return path;
    }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_sources;
    std::string m_previous;
    int m_count = 0;
};

} // namespace audiotest
