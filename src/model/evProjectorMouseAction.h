#pragma once
// A rectangle of a presentation page that reacts to the pointer.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   int32 x 4  left, top, right, bottom (edges belong to the area)
//   int32      type            0 = first element is the hover image while inside; 1 = highlight on entering
//                              (first element), plain image back on leaving (second element); 2 = cursor only
//   int32      first element   index into the page's elements
//   int32      second element

#include "model/evObject.h"
#include "platform/Geometry.h"

#include <cstdint>

class evProjectorMouseAction : public evObject {
    EV_DECLARE_CLASS(evProjectorMouseAction, evObject)

    evProjectorMouseAction(const TRect& rect, int32_t type, int32_t firstElement, int32_t secondElement = 0);
    evProjectorMouseAction(Stream& stream, ProgressBar* progress);
    ~evProjectorMouseAction() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    const TRect& GetRect() const { return m_rect; }
    int32_t GetType() const { return m_type; }
    int32_t GetFirstElement() const { return m_firstElement; }
    int32_t GetSecondElement() const { return m_secondElement; }
    void SetFirstElement(int32_t index) { m_firstElement = index; }
    void SetSecondElement(int32_t index) { m_secondElement = index; }

private:
    TRect m_rect;
    int32_t m_type = 0;
    int32_t m_firstElement = 0;
    int32_t m_secondElement = 0;
};
