#pragma once
// A whole presentation as one object: its pages and one further object that it owns (not stored). Finishing
// never makes one: the presentation file is written page by page so that only one rendered page is in memory
// at a time. The class is registered so that streams holding one can be read.
//
// Body on the stream (version 0), after the evObject header:
//   collection  pages   (evProjectorPage)

#include "model/evObject.h"

#include <memory>
#include <string>

class evObjectCollection;

class evProjector : public evObject {
    EV_DECLARE_CLASS(evProjector, evObject)

    evProjector();
    // EReadError when the collection holds anything but pages.
    evProjector(Stream& stream, ProgressBar* progress);
    ~evProjector() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::string ToString() const override;

    evObjectCollection& GetPages() { return *m_pages; }
    const evObjectCollection& GetPages() const { return *m_pages; }
    evObject* GetCompanion() const { return m_companion.get(); }
    void SetCompanion(std::unique_ptr<evObject> companion) { m_companion = std::move(companion); }

private:
    std::unique_ptr<evObjectCollection> m_pages;
    std::unique_ptr<evObject> m_companion;
};
