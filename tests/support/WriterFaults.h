#pragma once
// Makes the writers' system calls (platform/AtomicFile.h, WriterSystem) fail as a full disc, a read-only folder
// or a failing device would, while it lives: creating the temporary, writing beyond a number of bytes (the part
// that still fits is written first), syncing, or renaming.

#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdint>

class WriterFaults : public WriterSystem {
public:
    enum class At { Open, Write, Sync, Rename };

    // For At::Write, room is how many bytes all writes together may still put on the disc.
    WriterFaults(At at, int error, int64_t room = 0) : m_at(at), m_error(error), m_room(room) { SetWriterSystem(this); }
    ~WriterFaults() override { SetWriterSystem(nullptr); }
    WriterFaults(const WriterFaults&) = delete;
    WriterFaults& operator=(const WriterFaults&) = delete;

    int Open(const char* path, int flags, mode_t mode) override
    {
        return m_at == At::Open ? Fail() : WriterSystem::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, size_t size) override
    {
        if (m_at != At::Write)
            return WriterSystem::Write(fd, data, size);
        if (m_room <= 0)
            return Fail();
        const size_t part = static_cast<int64_t>(size) > m_room ? static_cast<size_t>(m_room) : size;
        const ssize_t written = WriterSystem::Write(fd, data, part);
        if (written > 0)
            m_room -= written;
        return written;
    }
    int Sync(int fd) override { return m_at == At::Sync ? Fail() : WriterSystem::Sync(fd); }
    int Rename(const char* from, const char* to) override
    {
        return m_at == At::Rename ? Fail() : WriterSystem::Rename(from, to);
    }

    int Failures() const { return m_failures; }
    // Room made on the disc meanwhile.
    void SetRoom(int64_t room) { m_room = room; }

private:
    int Fail()
    {
        ++m_failures;
        errno = m_error;
        return -1;
    }

    At m_at;
    int m_error;
    int64_t m_room;
    int m_failures = 0;
};
