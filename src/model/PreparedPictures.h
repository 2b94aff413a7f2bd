#pragma once
// Pictures of the pages ahead, scaled to their rectangles and encoded as page snapshots on worker threads while
// the pages themselves are rendered one after the other on the calling thread.
//
// Rendering a page changes state shared by the whole design (painted marks, the labels of action elements, the
// page layout's binding to its category, preview files), so pages are never rendered on two threads at once.
// What is independent of that state is the expensive part: decoding a photograph at the scale its rectangle
// needs, resampling it and encoding the snapshot. The workers read only the pictures' compressed bytes, which
// nothing changes while pages are rendered, and hand back new bitmaps and JPEGs.
//
// Use: Prepare(page, category) for the next few pages (a bounded look-ahead keeps the memory flat), then render
// page n inside a Scope(n): evPicture::Draw takes what was prepared for its picture and rectangle size and
// computes anything else itself, so a prepared result is never required for a correct page. Discard(n) drops
// what page n did not use.
//
// Thumbnails (PrepareThumbnail, TakeDecoded) work the same way with less: the photographs of a page drawn for a
// thumbnail are only decoded at the size they are seen, neither resampled nor encoded.

#include "platform/Bitmap.h"
#include "platform/Jpeg.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

class evCategory;
class evPicture;

struct PreparedPicture {
    Bitmap scaled;      // the picture as it appears in its rectangle
    JpegImage snapshot; // the same pixels as the page's snapshot JPEG
};

class PreparedPictures {
public:
    // workers: the number of worker threads (at least 1).
    explicit PreparedPictures(int workers);
    ~PreparedPictures();
    PreparedPictures(const PreparedPictures&) = delete;
    PreparedPictures& operator=(const PreparedPictures&) = delete;

    // Queues the pictures that rendering the category's page draws with a page attached: the design's pictures
    // placed by its page layout and the photographs in its user picture slots, each at the size it is drawn.
    void Prepare(int32_t page, const evCategory& category);
    void Prepare(int32_t page, const evPicture& picture, int width, int height);
    // Queues the decoding of the pictures that drawing the category's thumbnail of this width needs; nothing
    // when the page keeps a thumbnail of that size or its preview file is current.
    void PrepareThumbnail(int32_t page, const evCategory& category, int width, int height);
    // Drops the results of the page; work already running finishes and is thrown away.
    void Discard(int32_t page);
    // Number of results held or queued, for tests.
    size_t Pending() const;

    // Makes the prepared results of one page available to evPicture::Draw on this thread while it exists.
    class Scope {
    public:
        Scope(PreparedPictures& pictures, int32_t page);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        PreparedPictures* m_previous;
        int32_t m_previousPage;
    };

    // The result prepared for the picture at this size on the page of the current scope, waiting for it when a
    // worker is still at it and computing it here when no worker has started it; nothing without a scope, or
    // when nothing was prepared for it.
    static std::optional<PreparedPicture> Take(const evPicture& picture, int width, int height);
    // As Take, for a picture decoded for a thumbnail: evPicture's decoding for a rectangle of this size.
    static std::optional<Bitmap> TakeDecoded(const evPicture& picture, int width, int height);

private:
    enum class State { Queued, Running, Done, Failed };
    // Scaled and encoded for a page, or only decoded for a thumbnail.
    enum class Kind { PageSnapshot, Decoded };
    struct Task {
        const evPicture* picture = nullptr;
        int width = 0;
        int height = 0;
        Kind kind = Kind::PageSnapshot;
        State state = State::Queued;
        PreparedPicture result;
    };
    using Key = std::tuple<int32_t, Kind, const evPicture*, int, int>;

    void Queue(int32_t page, Kind kind, const evPicture& picture, int width, int height);
    bool IsQueued(const Key& key) const;
    static PreparedPicture Compute(const Task& task);
    std::optional<PreparedPicture> TakeFor(int32_t page, Kind kind, const evPicture& picture, int width, int height);
    void Run(const std::shared_ptr<Task>& task, std::unique_lock<std::mutex>& lock);
    void Work();

    mutable std::mutex m_mutex;
    std::condition_variable m_queued;
    std::condition_variable m_finished;
    std::multimap<Key, std::shared_ptr<Task>> m_tasks;
    std::deque<std::shared_ptr<Task>> m_queue;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};
