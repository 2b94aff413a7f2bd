#include "model/CategoryPreview.h"

#include "platform/Stream.h"
#include "platform/TempFiles.h"

CategoryPreview::~CategoryPreview() { DeleteFileIfExists(m_file); }

const std::string& CategoryPreview::ReserveFile()
{
    if (m_file.empty()) {
        m_file = UniqueTempFileName("evcp.evp");
        FileStream reserve(m_file, FileStream::Mode::Create);
    }
    return m_file;
}

void CategoryPreview::SetRendered(bool rendered)
{
    m_renderFailed = !rendered;
    m_dirty = false;
}

void CategoryPreview::Discard()
{
    DeleteFileIfExists(m_file);
    m_file.clear();
    m_renderFailed = true;
    m_dirty = true;
    ForgetThumbnail();
}

const Bitmap* CategoryPreview::Thumbnail(int width, int height) const
{
    if (m_thumbnail && m_thumbnail->Width() == width && m_thumbnail->Height() == height)
        return &*m_thumbnail;
    return nullptr;
}

void CategoryPreview::KeepThumbnail(Bitmap thumbnail)
{
    m_thumbnail = std::move(thumbnail);
    m_thumbnailFailed = false;
}
