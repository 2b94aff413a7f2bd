#pragma once
// A TrueType font file carried inside a design, so a presentation can use a font that is not installed.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   string  file name     the font file's own name, with extension
//   string  face name
//   int32   N             the file's size
//   N bytes the font file
//
// Reading writes the file to a unique name in the temporary folder (only the bare file name is used, so a
// stored name can never point elsewhere) and registers it as an application font unless the face is installed.
// Destruction removes the registration and deletes the file.

#include "model/evObject.h"

#include <cstdint>
#include <string>
#include <vector>

class evFont : public evObject {
    EV_DECLARE_CLASS(evFont, evObject)

    evFont(Stream& stream, ProgressBar* progress);
    ~evFont() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    const std::string& GetFaceName() const { return m_faceName; }
    const std::string& GetFileName() const { return m_fileName; }
    // Full path of the copy in the temporary folder.
    const std::string& GetTempPath() const { return m_tempPath; }
    const std::vector<uint8_t>& GetData() const { return m_data; }
    // True when the file was added as an application font; false when the face was installed already or the
    // file is not a usable font (text then falls back to the system's substitute for the face name).
    bool IsRegistered() const { return m_registered; }

private:
    void WriteTempFile();

    std::string m_faceName;
    std::string m_fileName;
    std::string m_tempPath;
    std::vector<uint8_t> m_data;
    bool m_registered = false;
};
