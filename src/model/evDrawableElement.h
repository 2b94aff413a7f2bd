#pragma once
// Base of everything that owns a rectangle on a page: pictures, user pictures, text fields, page layouts.
//
// Body on the stream: the evObject header only. Each subclass writes the name itself where its format has it.
//
// The painted mark belongs to one drawing pass: whoever starts a pass clears it on every element it will draw,
// so an element reachable twice is painted once.

#include "model/evObject.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <string>

class Canvas;
class evProjectorPage;

class evDrawableElement : public evObject {
    EV_DECLARE_CLASS(evDrawableElement, evObject)

    evDrawableElement();
    explicit evDrawableElement(std::string name);
    evDrawableElement(Stream& stream, ProgressBar* progress);
    ~evDrawableElement() override;

    std::string ToString() const override;

    virtual int32_t GetWidth() const;
    virtual int32_t GetHeight() const;
    // Paints the element into rect on the canvas. drawAll also draws placeholders and fixed fields; a page,
    // when given, receives the element's snapshots. finalFlag is the subclass's own (mark empty for text
    // fields and user pictures). The base draws nothing.
    virtual void Draw(const TRect& rect, Canvas& canvas, bool drawAll, evProjectorPage* page, bool finalFlag);

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }

    void ClearPainted() { m_painted = false; }
    void SetPainted() { m_painted = true; }
    bool IsPainted() const { return m_painted; }

private:
    std::string m_name;
    bool m_painted = false;
};
