#pragma once
// The head of a design file, read so that the list of designs can be shown without loading every design. It
// reads the evLayout body from the file's first byte as far as the description and stops there.
// Not registered and never written.
//
//   int32      version
//   int32      identifier
//   reference  sample picture       (version >= 3 only)
//   int32      page width
//   int32      page height
//   string     name
//   string     description

#include "model/evObject.h"

#include <cstdint>
#include <memory>
#include <string>

class evPicture;

class evLayoutPreview : public evObject {
    EV_DECLARE_CLASS(evLayoutPreview, evObject)

public:
    evLayoutPreview(Stream& stream, std::string fileName);
    ~evLayoutPreview() override;

    std::string ToString() const override;

    const std::string& GetName() const { return m_name; }
    const std::string& GetDescription() const { return m_description; }
    const std::string& GetFileName() const { return m_fileName; }
    int32_t GetPageWidth() const { return m_pageWidth; }
    int32_t GetPageHeight() const { return m_pageHeight; }
    evPicture* GetSamplePicture() const { return m_samplePicture.get(); }

private:
    std::string m_name;
    std::string m_description;
    std::string m_fileName;
    int32_t m_pageWidth = 0;
    int32_t m_pageHeight = 0;
    std::unique_ptr<evPicture> m_samplePicture;
};
