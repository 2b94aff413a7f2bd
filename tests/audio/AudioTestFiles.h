#pragma once
// Small audio files and a private temporary folder for the audio tests.

#include "platform/TempFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace audiotest {

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A 16-bit mono PCM wave file holding a tone of the given length. padding adds a "JUNK" chunk of that many bytes
// before the samples, which players skip: a large file that plays only briefly.
inline std::vector<uint8_t> MakeWave(int milliseconds, int tone = 440, uint32_t padding = 0)
{
    const uint32_t rate = 22050;
    const uint32_t samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutLe(out, 4 + (8 + 16) + (padding ? 8 + padding : 0) + 8 + samples * 2, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);        // PCM
    PutLe(out, 1, 2);        // mono
    PutLe(out, rate, 4);
    PutLe(out, rate * 2, 4); // bytes per second
    PutLe(out, 2, 2);        // block align
    PutLe(out, 16, 2);       // bits per sample
    if (padding) {
        PutTag(out, "JUNK");
        PutLe(out, padding, 4);
        out.insert(out.end(), padding, 0);
    }
    PutTag(out, "data");
    PutLe(out, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        const double value = std::sin(2.0 * M_PI * tone * i / rate) * 8000.0;
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

// Points the temporary folder at a fresh empty folder for the lifetime of the object.
class ScopedTempFolder {
public:
    ScopedTempFolder() : m_previous(TempFolder()) { SetTempFolder(m_dir.path().toStdString()); }
    ~ScopedTempFolder() { SetTempFolder(m_previous); }
    std::string Path(const std::string& name) const { return m_dir.path().toStdString() + "/" + name; }
    int FileCount(const QString& pattern) const
    {
        return static_cast<int>(QDir(m_dir.path()).entryList({pattern}, QDir::Files).size());
    }

private:
    QTemporaryDir m_dir;
    std::string m_previous;
};

} // namespace audiotest

