#pragma once
// The interface through which a page layout introduces itself to the user slots it owns (user pictures and
// text fields) and reads their fixed value (non-zero: not for the user to fill). The owning collection, not the
// interface, governs the object's lifetime.

#include <cstdint>

class evPageLayout;

class IevLayoutElement {
public:
    virtual void SetWidth(int32_t width) = 0;
    virtual void SetHeight(int32_t height) = 0;
    virtual void SetPageLayout(evPageLayout* pageLayout) = 0;
    virtual void SetFixed(int32_t fixed) = 0;
    virtual int32_t GetFixed() const = 0;

protected:
    ~IevLayoutElement() = default;
};
