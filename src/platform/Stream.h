#pragma once
// Sequential byte streams over files and memory buffers, with the typed little-endian reads and writes of the
// object stream. Every read checks what the stream still holds before it allocates anything, so a damaged count
// ends in EReadError instead of a huge allocation.

#include "platform/Errors.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;

    // Raw access: the number of bytes actually moved is returned.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t Size();

    int64_t Position();
    void SetPosition(int64_t position);
    int64_t Remaining();

    // Exact transfers: a short read raises EReadError, a short write EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);

    uint8_t ReadByte();
    bool ReadBool();
    int32_t ReadInt32();
    double ReadDouble();
    // A signed 32-bit byte count, then that many raw bytes. A negative count or one larger than what the stream
    // still holds is a read error.
    std::string ReadString();
    // Exactly count raw bytes; count is checked like a string count.
    std::vector<uint8_t> ReadBytes(int64_t count);

    void WriteByte(uint8_t value);
    void WriteBool(bool value);
    void WriteInt32(int32_t value);
    void WriteDouble(double value);
    void WriteString(std::string_view text);
    void WriteBytes(const std::vector<uint8_t>& bytes);
    // Writes a block of bytes that nobody changes any more; a stream that keeps what is written for later
    // (SnapshotStream) keeps the block itself instead of a copy.
    virtual void WriteShared(std::shared_ptr<const std::vector<uint8_t>> bytes);

    // For formats that end where their data ends: EReadError when anything follows the current position,
    // saying where the data of what ended and how many bytes follow.
    void ExpectEnd(const std::string& what);

    // Copies count bytes from the source's current position; raises EReadError when the source holds fewer.
    virtual void CopyFrom(Stream& source, int64_t count);

    // For code that learns of a refused write only as false (a collection's save): raises the error of the write
    // this stream refused, with its file and reason where the stream knows them, else a plain EWriteError.
    [[noreturn]] virtual void RaiseWriteFailure() const;
};

class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes);
    MemoryStream(const void* data, int64_t size);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(m_data.size()); }

    const std::vector<uint8_t>& Data() const { return m_data; }
    std::vector<uint8_t>& Data() { return m_data; }
    void Clear();
    void SetSize(int64_t size);
    void LoadFromFile(const std::string& path);
    // Writes the bytes through an AtomicWriter (platform/AtomicFile.h).
    void SaveToFile(const std::string& path) const;

private:
    std::vector<uint8_t> m_data;
    int64_t m_position = 0;
};

class FileStream : public Stream {
public:
    enum class Mode { OpenRead, OpenReadWrite, Create };
    FileStream(const std::string& path, Mode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;

    // Flushes buffered data; raises EWriteError when the system refuses it (a full disk shows up here).
    void Flush();
    // Flushes and asks the system to put the file's data on the disc; EWriteError when it refuses.
    void Sync();
    const std::string& Path() const { return m_path; }
    // The descriptor of the open file, for reading a range of it elsewhere (pread).
    int Descriptor() const;

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    int64_t m_readOnlySize = -1; // a file opened for reading keeps its size
};

[[noreturn]] void RaiseNamingFile(const EReadError& error, const std::string& what, const std::string& path);

// Runs a read of the file's contents; a read error that does not name the file yet is raised again as
// "<what> cannot be read: <reason>", where what names the file. A user who gave several files sees which one
// it was.
template <class Read>
auto ReadNamingFile(const std::string& what, const std::string& path, Read read) -> decltype(read())
{
    try {
        return read();
    } catch (const EReadError& error) {
        if (std::string_view(error.what()).find(path) != std::string_view::npos)
            throw;
        RaiseNamingFile(error, what, path);
    }
}
