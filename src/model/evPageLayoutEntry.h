#pragma once
// A placement on a page layout: the identifier of the placed element and the position of its top-left corner.
// The element is not owned; it is resolved through the design.
//
// Body on the stream (version 0), after the evObject header:
//   int32  left
//   int32  top
//   int32  flag            (only the low byte is kept)
//   int32  element identifier

#include "model/evObject.h"

#include <cstdint>
#include <string>

class evPageLayoutEntry : public evObject {
    EV_DECLARE_CLASS(evPageLayoutEntry, evObject)

public:
    evPageLayoutEntry(int32_t left, int32_t top, uint8_t flag, int32_t elementId);
    evPageLayoutEntry(Stream& stream, ProgressBar* progress);
    ~evPageLayoutEntry() override;

    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;

    int32_t GetLeft() const { return m_left; }
    void SetLeft(int32_t left) { m_left = left; }
    int32_t GetTop() const { return m_top; }
    void SetTop(int32_t top) { m_top = top; }
    uint8_t GetFlag() const { return m_flag; }
    void SetFlag(uint8_t flag) { m_flag = flag; }
    int32_t GetElementID() const { return m_elementId; }
    void SetElementID(int32_t id) { m_elementId = id; }

private:
    int32_t m_left = 0;
    int32_t m_top = 0;
    uint8_t m_flag = 0;
    int32_t m_elementId = 0;
};
