#pragma once
// The studio record ("studio.evd" is one evPhotograph body from its first byte): which elements of the studio
// page layout show the studio's logo, two samples and seven texts, and the studio's content for them. It
// renders the studio page for the disc.
//
// Body on the stream (version 0), after the evObject header:
//   10 x int32  slot identifiers: logo, sample 1, sample 2, intro, web address, address, e-mail, studio,
//               phone, information
//   collection  user elements     (evCategoryEntry)

#include "model/evObject.h"
#include "model/evObjectCollection.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class evCategoryEntry;
class evPageLayout;
class evProjectorPage;
class evUserTextfield;

class evPhotograph : public evObject {
    EV_DECLARE_CLASS(evPhotograph, evObject)

public:
    explicit evPhotograph(evPageLayout* pageLayout);
    evPhotograph(Stream& stream, ProgressBar* progress);
    ~evPhotograph() override;

    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    int32_t GetLogoSlot() const { return m_slots[kLogo]; }
    void SetLogoSlot(int32_t id) { m_slots[kLogo] = id; }
    // Sample number 1 or 2.
    int32_t GetSampleSlot(int sample) const;
    void SetSampleSlot(int sample, int32_t id);
    int32_t GetIntroSlot() const { return m_slots[kIntro]; }
    void SetIntroSlot(int32_t id) { m_slots[kIntro] = id; }
    int32_t GetWebSlot() const { return m_slots[kWeb]; }
    void SetWebSlot(int32_t id) { m_slots[kWeb] = id; }
    int32_t GetAddressSlot() const { return m_slots[kAddress]; }
    void SetAddressSlot(int32_t id) { m_slots[kAddress] = id; }
    int32_t GetEmailSlot() const { return m_slots[kEmail]; }
    void SetEmailSlot(int32_t id) { m_slots[kEmail] = id; }
    int32_t GetStudioSlot() const { return m_slots[kStudio]; }
    void SetStudioSlot(int32_t id) { m_slots[kStudio] = id; }
    int32_t GetPhoneSlot() const { return m_slots[kPhone]; }
    void SetPhoneSlot(int32_t id) { m_slots[kPhone] = id; }
    int32_t GetInfoSlot() const { return m_slots[kInfo]; }
    void SetInfoSlot(int32_t id) { m_slots[kInfo] = id; }

    evUserTextfield* GetIntroText() const { return TextAt(m_slots[kIntro]); }
    evUserTextfield* GetWebText() const { return TextAt(m_slots[kWeb]); }
    evUserTextfield* GetAddressText() const { return TextAt(m_slots[kAddress]); }
    evUserTextfield* GetEmailText() const { return TextAt(m_slots[kEmail]); }
    evUserTextfield* GetStudioText() const { return TextAt(m_slots[kStudio]); }
    evUserTextfield* GetPhoneText() const { return TextAt(m_slots[kPhone]); }
    evUserTextfield* GetInfoText() const { return TextAt(m_slots[kInfo]); }

    evPageLayout* GetPageLayout() const { return m_pageLayout; }
    void SetPageLayout(evPageLayout* pageLayout) { m_pageLayout = pageLayout; }
    evObjectCollection& GetUserElements() { return *m_userElements; }
    const std::string& GetPreviewFile() const { return m_previewFile; }

    void AddUserElement(int32_t slotId, std::unique_ptr<evObject> element);
    evObject* FindUserElement(int32_t slotId) const;
    evCategoryEntry* FindUserEntry(int32_t slotId) const;

    // Renders the studio page into the record's preview file and, with a page, into the page. Raises when the
    // record has no page layout or drawing fails.
    bool Render(evProjectorPage* page);
    std::unique_ptr<evProjectorPage> CreatePresentationPage();

private:
    enum Slot { kLogo, kSample1, kSample2, kIntro, kWeb, kAddress, kEmail, kStudio, kPhone, kInfo, kSlotCount };
    evUserTextfield* TextAt(int32_t slotId) const;

    std::array<int32_t, kSlotCount> m_slots{};
    std::unique_ptr<evObjectCollection> m_userElements;
    std::string m_previewFile;
    evPageLayout* m_pageLayout = nullptr;
};
