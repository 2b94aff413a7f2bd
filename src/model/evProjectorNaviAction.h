#pragma once
// A click area of a presentation page and where it leads.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   int32 x 4  left, top, right, bottom (edges belong to the area)
//   int32      reserved   written as read; 0 for actions made here
//   int32      target     page index (0-based); -2 = toggle the sound; -1 = no page, the host decides
//
// The two element indexes (the sound button's last two elements) are not stored.

#include "model/evObject.h"
#include "platform/Geometry.h"

#include <cstdint>

class evProjectorNaviAction : public evObject {
    EV_DECLARE_CLASS(evProjectorNaviAction, evObject)

    evProjectorNaviAction(const TRect& rect, int32_t target);
    evProjectorNaviAction(const TRect& rect, int32_t target, int32_t firstElement, int32_t secondElement);
    evProjectorNaviAction(Stream& stream, ProgressBar* progress);
    ~evProjectorNaviAction() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    const TRect& GetRect() const { return m_rect; }
    int32_t GetTarget() const { return m_target; }
    int32_t GetReserved() const { return m_reserved; }
    // Not stored: -1 after reading.
    int32_t GetFirstElement() const { return m_firstElement; }
    int32_t GetSecondElement() const { return m_secondElement; }

private:
    TRect m_rect;
    int32_t m_reserved = 0;
    int32_t m_target = 0;
    int32_t m_firstElement = -1;
    int32_t m_secondElement = -1;
};
