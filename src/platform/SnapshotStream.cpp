#include "platform/SnapshotStream.h"

#include "platform/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Below these sizes a copy is cheaper than keeping the block or the file apart.
constexpr size_t kSharedAtLeast = 4096;
constexpr int64_t kFileRangeAtLeast = 256 * 1024;
constexpr size_t kChunk = 64 * 1024;

} // namespace

SnapshotStream::~SnapshotStream()
{
    for (const Part& part : m_parts) {
        if (part.fd >= 0)
            ::close(part.fd);
    }
}

int64_t SnapshotStream::Read(void*, int64_t) { return 0; }

std::vector<uint8_t>& SnapshotStream::OwnBytes()
{
    if (m_parts.empty() || m_parts.back().shared || m_parts.back().fd >= 0)
        m_parts.emplace_back();
    return m_parts.back().own;
}

int64_t SnapshotStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    std::vector<uint8_t>& own = OwnBytes();
    own.insert(own.end(), bytes, bytes + count);
    m_size += count;
    return count;
}

int64_t SnapshotStream::Seek(int64_t offset, SeekOrigin origin)
{
    const bool toEnd =
        (origin == SeekOrigin::Begin && offset == m_size) || (origin != SeekOrigin::Begin && offset == 0);
    if (!toEnd)
        throw EStreamError("A snapshot is written in order and cannot be sought");
    return m_size;
}

void SnapshotStream::WriteShared(std::shared_ptr<const std::vector<uint8_t>> bytes)
{
    if (!bytes || bytes->size() < kSharedAtLeast) {
        Stream::WriteShared(std::move(bytes));
        return;
    }
    m_size += static_cast<int64_t>(bytes->size());
    Part part;
    part.shared = std::move(bytes);
    m_parts.push_back(std::move(part));
}

// A file's bytes are kept as a descriptor of their own and a range, read when the snapshot is written out.
void SnapshotStream::CopyFrom(Stream& source, int64_t count)
{
    auto* file = dynamic_cast<FileStream*>(&source);
    if (!file || count < kFileRangeAtLeast) {
        Stream::CopyFrom(source, count);
        return;
    }
    if (count < 0 || count > source.Remaining())
        throw EReadError();
    const int64_t offset = source.Position();
    const int fd = ::fcntl(file->Descriptor(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        Stream::CopyFrom(source, count);
        return;
    }
    source.Seek(count, SeekOrigin::Current);
    Part part;
    part.fd = fd;
    part.offset = offset;
    part.count = count;
    m_parts.push_back(std::move(part));
    m_size += count;
}

void SnapshotStream::WriteRange(const Part& part, Stream& out)
{
    std::vector<uint8_t> chunk(kChunk);
    int64_t at = part.offset;
    int64_t left = part.count;
    while (left > 0) {
        const size_t wanted = left < static_cast<int64_t>(chunk.size()) ? static_cast<size_t>(left) : chunk.size();
        const ssize_t got = ::pread(part.fd, chunk.data(), wanted, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw EReadError("A file kept in a snapshot became shorter or unreadable: " +
                             std::string(got < 0 ? std::strerror(errno) : "it ends early"));
        out.WriteBuffer(chunk.data(), got);
        at += got;
        left -= got;
    }
}

void SnapshotStream::WriteTo(Stream& out) const
{
    for (const Part& part : m_parts) {
        if (part.shared)
            out.WriteBuffer(part.shared->data(), static_cast<int64_t>(part.shared->size()));
        else if (part.fd >= 0)
            WriteRange(part, out);
        else
            out.WriteBuffer(part.own.data(), static_cast<int64_t>(part.own.size()));
    }
}
