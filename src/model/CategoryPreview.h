#pragma once
// The rendered preview of one album page: a bitmap file in the temporary folder, whether it still shows the
// page's content (dirty once the content changed) and whether the last rendering failed. The file belongs to the
// preview and is deleted with it. Beside it the preview keeps a thumbnail in memory until the content changes.

#include "platform/Bitmap.h"

#include <optional>
#include <string>

class CategoryPreview {
public:
    CategoryPreview() = default;
    ~CategoryPreview();
    CategoryPreview(const CategoryPreview&) = delete;
    CategoryPreview& operator=(const CategoryPreview&) = delete;

    void MarkDirty()
    {
        m_dirty = true;
        ForgetThumbnail();
    }
    bool IsDirty() const { return m_dirty; }
    bool RenderFailed() const { return m_renderFailed; }
    // Empty until the first rendering reserves a file.
    const std::string& GetFile() const { return m_file; }
    // The file was rendered and nothing changed since: the last rendering's outcome still holds.
    bool IsCurrent() const { return !m_file.empty() && !m_dirty; }

    // The name of the preview file. The first call takes a new name in the temporary folder and creates the file
    // at once, so that no other preview picks the name before the bitmap is written; raises when creating fails
    // (the name is kept: the rendering writes the file whole, so a later one may still succeed).
    const std::string& ReserveFile();
    // Records the outcome of a rendering; the preview is no longer dirty, also after a failure.
    void SetRendered(bool rendered);
    // Deletes the file and starts afresh: no file, dirty, and failed until the next rendering succeeds.
    void Discard();

    // The thumbnail kept from the last drawing of this size; nullptr when none is kept.
    const Bitmap* Thumbnail(int width, int height) const;
    void KeepThumbnail(Bitmap thumbnail);
    // The last attempt to make a thumbnail failed, and nothing changed since.
    bool ThumbnailFailed() const { return m_thumbnailFailed; }
    void SetThumbnailFailed() { m_thumbnailFailed = true; }

private:
    void ForgetThumbnail()
    {
        m_thumbnail.reset();
        m_thumbnailFailed = false;
    }

    std::string m_file;
    bool m_dirty = true;
    bool m_renderFailed = true;
    std::optional<Bitmap> m_thumbnail;
    bool m_thumbnailFailed = false;
};
