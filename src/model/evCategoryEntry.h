#pragma once
// The user's content for one slot of a page: the slot's identifier and the element that fills it (an evPicture
// for a picture slot, an evUserTextfield for a text slot). The entry owns the element.
//
// Body on the stream (version 0), after the evObject header:
//   int32      slot identifier
//   reference  element

#include "model/evObject.h"

#include <cstdint>
#include <memory>
#include <string>

class evCategoryEntry : public evObject {
    EV_DECLARE_CLASS(evCategoryEntry, evObject)

public:
    evCategoryEntry(int32_t slotId, std::unique_ptr<evObject> element);
    evCategoryEntry(Stream& stream, ProgressBar* progress);
    ~evCategoryEntry() override;

    void SaveToStream(Stream& stream) const override;
    // Copies the element only when it is an evPicture or an evUserTextfield; otherwise the copy has none.
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;

    int32_t GetSlotID() const { return m_slotId; }
    void SetSlotID(int32_t slotId) { m_slotId = slotId; }
    evObject* GetElement() const { return m_element.get(); }
    // Replaces the element; the old one is handed back.
    std::unique_ptr<evObject> SetElement(std::unique_ptr<evObject> element);

private:
    int32_t m_slotId = 0;
    std::unique_ptr<evObject> m_element;
};
