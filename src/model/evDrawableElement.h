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

// How an element is drawn. Calls name what they set: Draw(rect, canvas, {.drawAll = true, .page = page}).
struct DrawOptions {
    // Also draws placeholders and fixed fields.
    bool drawAll = false;
    // When given, the page receives the element's snapshots.
    evProjectorPage* page = nullptr;
    // A user slot without content (no photograph, a blank text) is shown as a dark red block.
    bool markEmpty = false;
};

class evDrawableElement : public evObject {
    EV_DECLARE_CLASS(evDrawableElement, evObject)

    evDrawableElement();
    explicit evDrawableElement(std::string name);
    evDrawableElement(Stream& stream, ProgressBar* progress);
    ~evDrawableElement() override;

    std::string ToString() const override;

    virtual int32_t GetWidth() const;
    virtual int32_t GetHeight() const;
    // Paints the element into rect on the canvas as the options say. The base draws nothing.
    virtual void Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options);

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }

    void ClearPainted() { m_painted = false; }
    void SetPainted() { m_painted = true; }
    bool IsPainted() const { return m_painted; }

private:
    std::string m_name;
    bool m_painted = false;
};
