#pragma once
// A picture slot of a page layout: a rectangle of the page into which the user puts a photograph. The slot never
// holds the photograph itself; the category being rendered files it under the slot's identifier. A slot may
// name a frame for a photograph of matching orientation and an alternate frame for the other orientation; with
// the alternate frame the photograph is drawn into the slot's box turned by 90 degrees (width and height
// exchanged; the pixels are not rotated).
//
// Body on the stream (version 1), after the evObject header:
//   string  name
//   int32   reference id
//   int32   frame id               (a page layout entry)
//   int32   alternate frame id     (a page layout entry)
//   int32   width
//   int32   height
//   int32   fixed
//   int32   centred                (version 1 only, else 0)

#include "model/IevLayoutElement.h"
#include "model/evDrawableElement.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <string>

class evPicture;

class evUserPicture : public evDrawableElement, public IevLayoutElement {
    EV_DECLARE_CLASS(evUserPicture, evDrawableElement)

public:
    evUserPicture(std::string name, int32_t width, int32_t height);
    evUserPicture(Stream& stream, ProgressBar* progress);
    ~evUserPicture() override;

    static constexpr int32_t kVersion = 1;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;
    void RemoveReferences(const evObject* object) override;

    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    void Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options) override;

    // IevLayoutElement
    void SetWidth(int32_t width) override { m_width = width; }
    void SetHeight(int32_t height) override { m_height = height; }
    void SetPageLayout(evPageLayout* pageLayout) override { m_pageLayout = pageLayout; }
    void SetFixed(int32_t fixed) override { m_fixed = fixed; }
    int32_t GetFixed() const override { return m_fixed; }

    evPageLayout* GetPageLayout() const { return m_pageLayout; }
    int32_t GetReferenceID() const { return m_referenceId; }
    void SetReferenceID(int32_t id) { m_referenceId = id; }
    int32_t GetFrameID() const { return m_frameId; }
    void SetFrameID(int32_t id) { m_frameId = id; }
    int32_t GetAlternateFrameID() const { return m_alternateFrameId; }
    void SetAlternateFrameID(int32_t id) { m_alternateFrameId = id; }
    int32_t GetCentred() const { return m_centred; }
    void SetCentred(int32_t centred) { m_centred = centred; }

    // The user's photograph for this slot in the category being rendered, or nullptr.
    evPicture* FindPhotograph() const;
    // Whether the photograph is drawn turned (orientations differ and an alternate frame exists).
    bool IsTurned(const evPicture* photograph) const;
    // Where the photograph is drawn for the slot placed at the rectangle.
    TRect GetPictureRect(const evPicture* photograph, const TRect& slotRect) const;

private:
    struct Frame {
        evDrawableElement* element = nullptr;
        TRect rect;
    };
    // The element and page rectangle that a frame entry places; an empty frame when it cannot be resolved.
    Frame ResolveFrame(int32_t frameId) const;
    void MergeFrameAndPhotograph(evProjectorPage& page, const TRect& frameRect, const TRect& pictureRect) const;

    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_referenceId = 0;
    int32_t m_frameId = 0;
    int32_t m_alternateFrameId = 0;
    evPageLayout* m_pageLayout = nullptr;
    int32_t m_fixed = 0;
    int32_t m_centred = 0;
};
