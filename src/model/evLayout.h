#pragma once
// A design: page size, colours, shared elements and the page layouts from which every page of an album is made.
// A design file (".evl") is one evLayout body from its first byte, with no object-reference tag.
//
// Body on the stream (version 4), after the evObject header:
//   reference   sample picture        (version >= 3 here; version 2 stores it after the reserved number;
//                                       below 2 there is none)
//   int32       page width
//   int32       page height
//   string      name
//   string      description
//   collection  elements A
//   collection  elements B
//   collection  elements C
//   collection  page layouts          (evPageLayout)
//   int32       reserved number
//   (reference  sample picture        version 2 only)
//   int32       text colour           (version >= 4, else 0)
//   int32       background colour     (version >= 4, else 0)

#include "model/evObject.h"
#include "model/evObjectCollection.h"
#include "platform/Color.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

class evPageLayout;
class evPicture;

class evLayout : public evObject {
    EV_DECLARE_CLASS(evLayout, evObject)

public:
    // An empty design built in memory (data kit, tests).
    evLayout(std::string name, std::string description, int32_t pageWidth, int32_t pageHeight);
    evLayout(Stream& stream, ProgressBar* progress);
    ~evLayout() override;

    static constexpr int32_t kVersion = 4;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;
    // The first match in elements A, then B, then C, then the page layouts.
    evObject* FindByID(int32_t id) override;
    // Passed to elements B, then A, then the page layouts, then C.
    void RemoveReferences(const evObject* object) override;

    const std::string& GetName() const { return m_name; }
    const std::string& GetDescription() const { return m_description; }
    int32_t GetPageWidth() const { return m_pageWidth; }
    int32_t GetPageHeight() const { return m_pageHeight; }
    TPoint GetPageSize() const { return TPoint{m_pageWidth, m_pageHeight}; }

    evObjectCollection& GetElementsA() { return *m_elementsA; }
    evObjectCollection& GetElementsB() { return *m_elementsB; }
    evObjectCollection& GetElementsC() { return *m_elementsC; }
    evObjectCollection& GetPageLayouts() { return *m_pageLayouts; }
    const evObjectCollection& GetPageLayouts() const { return *m_pageLayouts; }
    // Adds a page layout and makes this its design.
    int32_t AddPageLayout(std::unique_ptr<evPageLayout> pageLayout);

    evPicture* GetSamplePicture() const { return m_samplePicture.get(); }
    void SetSamplePicture(std::unique_ptr<evPicture> picture);
    int32_t GetReservedNumber() const { return m_reservedNumber; }
    void SetReservedNumber(int32_t value) { m_reservedNumber = value; }
    TColor GetTextColour() const { return m_textColour; }
    void SetTextColour(TColor colour) { m_textColour = colour; }
    TColor GetBackgroundColour() const { return m_backgroundColour; }
    void SetBackgroundColour(TColor colour) { m_backgroundColour = colour; }

    // The first page layout whose key equals the argument exactly; nullptr when none.
    evPageLayout* FindPageLayoutByKey(const std::string& key) const;

private:
    void AdoptPageLayouts();

    std::string m_name;
    std::string m_description;
    int32_t m_pageWidth = 0;
    int32_t m_pageHeight = 0;
    std::unique_ptr<evObjectCollection> m_elementsA;
    std::unique_ptr<evObjectCollection> m_elementsB;
    std::unique_ptr<evObjectCollection> m_elementsC;
    std::unique_ptr<evObjectCollection> m_pageLayouts;
    std::unique_ptr<evPicture> m_samplePicture;
    int32_t m_reservedNumber = 0;
    TColor m_textColour = 0;
    TColor m_backgroundColour = 0;
};
