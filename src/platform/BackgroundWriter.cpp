#include "platform/BackgroundWriter.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/SnapshotStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

BackgroundWriter::BackgroundWriter(Report report) : m_report(std::move(report))
{
    m_thread = std::thread([this] { Run(); });
}

BackgroundWriter::~BackgroundWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundWriter::Write(const std::string& path, std::shared_ptr<const SnapshotStream> content)
{
    {
        std::lock_guard lock(m_mutex);
        auto waiting = std::find_if(m_jobs.begin(), m_jobs.end(),
                                    [&path](const Job& job) { return job.path == path && job.content; });
        if (waiting != m_jobs.end())
            waiting->content = std::move(content);
        else
            m_jobs.push_back({path, std::move(content)});
    }
    m_changed.notify_all();
}

void BackgroundWriter::Remove(const std::string& path)
{
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_jobs, [&path](const Job& job) { return job.path == path; });
        m_jobs.push_back({path, nullptr});
    }
    m_changed.notify_all();
}

void BackgroundWriter::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void BackgroundWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            return; // stopping, and nothing is left to do
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        const Outcome outcome = Do(job);
        if (m_report)
            m_report(outcome);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

BackgroundWriter::Outcome BackgroundWriter::Do(const Job& job)
{
    Outcome outcome;
    outcome.path = job.path;
    outcome.removal = !job.content;
    try {
        if (job.content) {
            AtomicWriter writer(job.path);
            job.content->WriteTo(writer.GetStream());
            writer.Commit();
        } else if (::unlink(job.path.c_str()) != 0 && errno != ENOENT) {
            const int error = errno;
            throw EWriteError("Cannot remove \"" + job.path + "\": " + std::strerror(error), job.path, error);
        }
    } catch (const EStreamError& error) {
        outcome.succeeded = false;
        outcome.message = error.what();
        outcome.file = error.GetFile();
        outcome.systemError = error.GetSystemError();
    } catch (const std::exception& error) {
        outcome.succeeded = false;
        outcome.message = error.what();
    }
    return outcome;
}
