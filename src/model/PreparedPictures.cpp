#include "model/PreparedPictures.h"

#include "model/evCategory.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evUserPicture.h"

#include <algorithm>

namespace {

// The prepared pictures and the page of the scope that is open on this thread.
thread_local PreparedPictures* t_current = nullptr;
thread_local int32_t t_currentPage = -1;

struct Placed {
    const evPicture* picture;
    TRect rect;
    bool design; // the design's own picture, the same on every page of the layout
};

// Results for pictures of the design, which every page of a layout shares, are kept under this page number.
constexpr int32_t kEveryPage = -1;

// Mirrors what evPageLayout::Render draws: every placed picture at its own size, a user picture slot's photograph
// in the slot's (possibly turned) rectangle. Frames and slide shows are left to the rendering itself.
std::vector<Placed> PlacedPictures(const evCategory& category, const evPageLayout& layout)
{
    std::vector<Placed> placed;
    const evObjectCollection& entries = layout.GetEntries();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const auto* entry = entries.GetItemAs<evPageLayoutEntry>(i);
        evObject* element = entry ? layout.ResolveEntryElement(entry->GetElementID()) : nullptr;
        if (const auto* picture = dynamic_cast<const evPicture*>(element)) {
            if (picture->GetPlaceholder() == 0)
                placed.push_back({picture, Rect(0, 0, picture->GetWidth(), picture->GetHeight()), true});
            continue;
        }
        const auto* slot = dynamic_cast<const evUserPicture*>(element);
        if (!slot || slot->GetFixed() != 0)
            continue;
        const auto* photograph = dynamic_cast<const evPicture*>(category.FindUserElement(slot->GetID()));
        if (!photograph)
            continue;
        const TRect slotRect = Rect(entry->GetLeft(), entry->GetTop(), entry->GetLeft() + slot->GetWidth(),
                                    entry->GetTop() + slot->GetHeight());
        placed.push_back({photograph, slot->GetPictureRect(photograph, slotRect), false});
    }
    return placed;
}

} // namespace

PreparedPictures::PreparedPictures(int workers)
{
    for (int i = 0; i < std::max(1, workers); ++i)
        m_workers.emplace_back([this] { Work(); });
}

PreparedPictures::~PreparedPictures()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_queued.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

void PreparedPictures::Prepare(int32_t page, const evCategory& category)
{
    const evPageLayout* layout = category.GetPageLayout();
    if (!layout)
        return;
    for (const Placed& placed : PlacedPictures(category, *layout))
        Prepare(page, *placed.picture, placed.rect.Width(), placed.rect.Height());
}

void PreparedPictures::Prepare(int32_t page, const evPicture& picture, int width, int height)
{
    Queue(page, Kind::PageSnapshot, picture, width, height);
}

// Mirrors what evCategory::DrawThumbnail draws: the placed pictures and the slots' photographs, each decoded for
// its rectangle reduced to the thumbnail's scale (as evPicture::Draw does for a canvas seen smaller).
void PreparedPictures::PrepareThumbnail(int32_t page, const evCategory& category, int width, int height)
{
    const evPageLayout* layout = category.GetPageLayout();
    const CategoryPreview& preview = category.GetPreview();
    if (!layout || layout->GetWidth() <= 0 || preview.Thumbnail(width, height) || preview.IsCurrent())
        return;
    const double shown = static_cast<double>(width) / layout->GetWidth();
    for (const Placed& placed : PlacedPictures(category, *layout)) {
        const int seenWidth = evPicture::SeenSize(placed.rect.Width(), shown);
        const int seenHeight = evPicture::SeenSize(placed.rect.Height(), shown);
        // The design's pictures are decoded once for all pages.
        if (!placed.design)
            Queue(page, Kind::Decoded, *placed.picture, seenWidth, seenHeight);
        else if (!IsQueued(Key{kEveryPage, Kind::Decoded, placed.picture, seenWidth, seenHeight}))
            Queue(kEveryPage, Kind::Decoded, *placed.picture, seenWidth, seenHeight);
    }
}

bool PreparedPictures::IsQueued(const Key& key) const
{
    const std::lock_guard lock(m_mutex);
    return m_tasks.count(key) != 0;
}

void PreparedPictures::Queue(int32_t page, Kind kind, const evPicture& picture, int width, int height)
{
    if (picture.GetImageStream().empty() || width <= 0 || height <= 0)
        return;
    auto task = std::make_shared<Task>();
    task->picture = &picture;
    task->width = width;
    task->height = height;
    task->kind = kind;
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.emplace(Key{page, kind, &picture, width, height}, task);
        m_queue.push_back(task);
    }
    m_queued.notify_one();
}

void PreparedPictures::Discard(int32_t page)
{
    const std::lock_guard lock(m_mutex);
    const auto first = m_tasks.lower_bound(Key{page, Kind::PageSnapshot, nullptr, 0, 0});
    auto last = first;
    while (last != m_tasks.end() && std::get<0>(last->first) == page) {
        // A queued task is taken off the queue; a running one is finished by its worker and then dropped.
        if (last->second->state == State::Queued)
            m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), last->second), m_queue.end());
        ++last;
    }
    m_tasks.erase(first, last);
}

size_t PreparedPictures::Pending() const
{
    const std::lock_guard lock(m_mutex);
    return m_tasks.size();
}

PreparedPictures::Scope::Scope(PreparedPictures& pictures, int32_t page)
    : m_previous(t_current), m_previousPage(t_currentPage)
{
    t_current = &pictures;
    t_currentPage = page;
}

PreparedPictures::Scope::~Scope()
{
    t_current = m_previous;
    t_currentPage = m_previousPage;
}

std::optional<PreparedPicture> PreparedPictures::Take(const evPicture& picture, int width, int height)
{
    if (!t_current)
        return std::nullopt;
    return t_current->TakeFor(t_currentPage, Kind::PageSnapshot, picture, width, height);
}

std::optional<Bitmap> PreparedPictures::TakeDecoded(const evPicture& picture, int width, int height)
{
    if (!t_current)
        return std::nullopt;
    std::optional<PreparedPicture> prepared = t_current->TakeFor(t_currentPage, Kind::Decoded, picture, width, height);
    if (!prepared)
        prepared = t_current->TakeFor(kEveryPage, Kind::Decoded, picture, width, height);
    if (!prepared)
        return std::nullopt;
    return std::move(prepared->scaled);
}

PreparedPicture PreparedPictures::Compute(const Task& task)
{
    PreparedPicture prepared;
    if (task.kind == Kind::Decoded) {
        prepared.scaled = task.picture->DecodeFor(task.width, task.height);
        return prepared;
    }
    prepared.scaled = task.picture->ScaledTo(task.width, task.height);
    prepared.snapshot = JpegImage::FromBitmap(prepared.scaled);
    return prepared;
}

std::optional<PreparedPicture> PreparedPictures::TakeFor(int32_t page, Kind kind, const evPicture& picture, int width,
                                                         int height)
{
    std::unique_lock lock(m_mutex);
    const auto found = m_tasks.find(Key{page, kind, &picture, width, height});
    if (found == m_tasks.end())
        return std::nullopt;
    const std::shared_ptr<Task> task = found->second;
    // A result for every page stays for the next page; the others are used once.
    const bool shared = page == kEveryPage;
    if (!shared)
        m_tasks.erase(found);
    if (task->state == State::Queued) {
        // No worker has got to it: this thread does it rather than wait.
        m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), task), m_queue.end());
        Run(task, lock);
    }
    m_finished.wait(lock, [&] { return task->state == State::Done || task->state == State::Failed; });
    if (task->state == State::Failed)
        return std::nullopt;
    if (shared)
        return task->result;
    return std::move(task->result);
}

// Called with the lock held; computes without it.
void PreparedPictures::Run(const std::shared_ptr<Task>& task, std::unique_lock<std::mutex>& lock)
{
    task->state = State::Running;
    lock.unlock();
    PreparedPicture result;
    bool done = true;
    try {
        result = Compute(*task);
    } catch (const std::exception&) {
        // Drawing computes it again and meets the error where it can report it.
        done = false;
    }
    lock.lock();
    task->result = std::move(result);
    task->state = done ? State::Done : State::Failed;
    m_finished.notify_all();
}

void PreparedPictures::Work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::shared_ptr<Task> task = m_queue.front();
        m_queue.pop_front();
        Run(task, lock);
    }
}
