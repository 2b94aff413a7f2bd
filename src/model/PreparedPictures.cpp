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

// Mirrors what evPageLayout::Render draws with a page attached: every placed element at its own size, a user
// picture slot's photograph in the slot's (possibly turned) rectangle. Frames and slide shows are left to the
// rendering itself.
void PreparedPictures::Prepare(int32_t page, const evCategory& category)
{
    const evPageLayout* layout = category.GetPageLayout();
    if (!layout)
        return;
    const evObjectCollection& entries = layout->GetEntries();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const auto* entry = entries.GetItemAs<evPageLayoutEntry>(i);
        evObject* element = entry ? layout->ResolveEntryElement(entry->GetElementID()) : nullptr;
        if (const auto* picture = dynamic_cast<const evPicture*>(element)) {
            if (picture->GetPlaceholder() == 0)
                Prepare(page, *picture, picture->GetWidth(), picture->GetHeight());
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
        const TRect rect = slot->GetPictureRect(photograph, slotRect);
        Prepare(page, *photograph, rect.Width(), rect.Height());
    }
}

void PreparedPictures::Prepare(int32_t page, const evPicture& picture, int width, int height)
{
    if (picture.GetImageStream().empty() || width <= 0 || height <= 0)
        return;
    auto task = std::make_shared<Task>();
    task->picture = &picture;
    task->width = width;
    task->height = height;
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.emplace(Key{page, &picture, width, height}, task);
        m_queue.push_back(task);
    }
    m_queued.notify_one();
}

void PreparedPictures::Discard(int32_t page)
{
    const std::lock_guard lock(m_mutex);
    const auto first = m_tasks.lower_bound(Key{page, nullptr, 0, 0});
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
    return t_current->TakeFor(t_currentPage, picture, width, height);
}

PreparedPicture PreparedPictures::Compute(const evPicture& picture, int width, int height)
{
    PreparedPicture prepared;
    prepared.scaled = picture.ScaledTo(width, height);
    prepared.snapshot = JpegImage::FromBitmap(prepared.scaled);
    return prepared;
}

std::optional<PreparedPicture> PreparedPictures::TakeFor(int32_t page, const evPicture& picture, int width,
                                                         int height)
{
    std::unique_lock lock(m_mutex);
    const auto found = m_tasks.find(Key{page, &picture, width, height});
    if (found == m_tasks.end())
        return std::nullopt;
    const std::shared_ptr<Task> task = found->second;
    m_tasks.erase(found);
    if (task->state == State::Queued) {
        // No worker has got to it: this thread does it rather than wait.
        m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), task), m_queue.end());
        Run(task, lock);
    }
    m_finished.wait(lock, [&] { return task->state == State::Done || task->state == State::Failed; });
    if (task->state == State::Failed)
        return std::nullopt;
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
        result = Compute(*task->picture, task->width, task->height);
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
