#pragma once
// A thread of its own that writes whole files through an AtomicWriter (platform/AtomicFile.h) and removes
// files, one job after the other in the order they were asked for, so the thread that asks never waits for the
// disc. A write asked for a file whose previous write still waits replaces that write; removing a file drops
// the writes that still wait for it. Every finished job is reported through the callback, on the writer's thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class SnapshotStream;

class BackgroundWriter {
public:
    struct Outcome {
        std::string path;
        bool removal = false;
        bool succeeded = true;
        // When it failed: the message, and the file and the system's error number where the system refused.
        std::string message;
        std::string file;
        int systemError = 0;
    };
    using Report = std::function<void(const Outcome& outcome)>;

    explicit BackgroundWriter(Report report = {});
    // Does what was asked, then ends the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void Write(const std::string& path, std::shared_ptr<const SnapshotStream> content);
    void Remove(const std::string& path);
    // Returns once everything asked before has been done.
    void Wait();

private:
    struct Job {
        std::string path;
        std::shared_ptr<const SnapshotStream> content; // none: remove the file
    };

    void Run();
    static Outcome Do(const Job& job);

    Report m_report;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};
