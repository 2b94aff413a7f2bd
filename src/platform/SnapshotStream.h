#pragma once
// A stream that keeps what is written, to be written out later on another thread: a consistent snapshot of
// something that keeps changing on the user interface thread, taken in a moment. Small writes are copied; blocks
// that nobody changes any more (WriteShared: the bytes of a photograph) are kept by reference, and bytes copied
// from a file (the music) as a range of a descriptor of their own, so a snapshot of an album of many photographs
// costs little more than its small fields. The file may be removed meanwhile; it must not be rewritten in place.
//
// It is written in order only: it cannot be read, and a seek goes nowhere but to its end.

#include "platform/Stream.h"

#include <cstdint>
#include <memory>
#include <vector>

class SnapshotStream : public Stream {
public:
    SnapshotStream() = default;
    ~SnapshotStream() override;
    SnapshotStream(const SnapshotStream&) = delete;
    SnapshotStream& operator=(const SnapshotStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    // Only to the end (the position is always the size); anywhere else raises EStreamError.
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return m_size; }
    void WriteShared(std::shared_ptr<const std::vector<uint8_t>> bytes) override;
    void CopyFrom(Stream& source, int64_t count) override;

    // Writes everything kept to out, on any thread; a file that became shorter meanwhile raises EReadError.
    void WriteTo(Stream& out) const;

private:
    struct Part {
        std::vector<uint8_t> own;
        std::shared_ptr<const std::vector<uint8_t>> shared;
        int fd = -1; // a range of a file: count bytes from offset
        int64_t offset = 0;
        int64_t count = 0;
    };

    std::vector<uint8_t>& OwnBytes();
    static void WriteRange(const Part& part, Stream& out);

    std::vector<Part> m_parts;
    int64_t m_size = 0;
};
