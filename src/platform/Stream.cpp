#include "platform/Stream.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <unistd.h>

static_assert(std::endian::native == std::endian::little, "the object stream is little-endian; add byte swapping");

int64_t Stream::Size()
{
    const int64_t here = Seek(0, SeekOrigin::Current);
    const int64_t end = Seek(0, SeekOrigin::End);
    Seek(here, SeekOrigin::Begin);
    return end;
}

int64_t Stream::Position() { return Seek(0, SeekOrigin::Current); }

void Stream::SetPosition(int64_t position) { Seek(position, SeekOrigin::Begin); }

int64_t Stream::Remaining()
{
    const int64_t left = Size() - Position();
    return left < 0 ? 0 : left;
}

void Stream::ReadBuffer(void* buffer, int64_t count)
{
    if (count < 0 || (count != 0 && Read(buffer, count) != count))
        throw EReadError();
}

void Stream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count < 0 || (count != 0 && Write(buffer, count) != count))
        throw EWriteError();
}

uint8_t Stream::ReadByte()
{
    uint8_t value = 0;
    ReadBuffer(&value, 1);
    return value;
}

bool Stream::ReadBool() { return ReadByte() != 0; }

int32_t Stream::ReadInt32()
{
    int32_t value = 0;
    ReadBuffer(&value, 4);
    return value;
}

double Stream::ReadDouble()
{
    double value = 0;
    ReadBuffer(&value, 8);
    return value;
}

std::string Stream::ReadString()
{
    const int32_t count = ReadInt32();
    if (count < 0)
        throw EReadError("Stream read error: negative string length");
    if (count > Remaining())
        throw EReadError("Stream read error: string longer than the data that follows");
    std::string text(static_cast<size_t>(count), '\0');
    ReadBuffer(text.data(), count);
    return text;
}

std::vector<uint8_t> Stream::ReadBytes(int64_t count)
{
    if (count < 0)
        throw EReadError("Stream read error: negative byte count");
    if (count > Remaining())
        throw EReadError("Stream read error: byte count larger than the data that follows");
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    ReadBuffer(bytes.data(), count);
    return bytes;
}

void Stream::WriteByte(uint8_t value) { WriteBuffer(&value, 1); }

void Stream::WriteBool(bool value) { WriteByte(value ? 1 : 0); }

void Stream::WriteInt32(int32_t value) { WriteBuffer(&value, 4); }

void Stream::WriteDouble(double value) { WriteBuffer(&value, 8); }

void Stream::WriteString(std::string_view text)
{
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EWriteError("Stream write error: string too long");
    WriteInt32(static_cast<int32_t>(text.size()));
    WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void Stream::WriteBytes(const std::vector<uint8_t>& bytes)
{
    WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void Stream::ExpectEnd(const std::string& what)
{
    const int64_t left = Remaining();
    if (left > 0)
        throw EReadError(what + " ends at byte " + std::to_string(Position()) + ", but " + std::to_string(left) +
                         " more bytes follow");
}

void Stream::WriteShared(std::shared_ptr<const std::vector<uint8_t>> bytes)
{
    if (bytes)
        WriteBuffer(bytes->data(), static_cast<int64_t>(bytes->size()));
}

void Stream::RaiseWriteFailure() const { throw EWriteError(); }

void Stream::CopyFrom(Stream& source, int64_t count)
{
    if (count < 0 || count > source.Remaining())
        throw EReadError();
    char chunk[64 * 1024];
    while (count > 0) {
        const int64_t part = count < static_cast<int64_t>(sizeof chunk) ? count : static_cast<int64_t>(sizeof chunk);
        source.ReadBuffer(chunk, part);
        WriteBuffer(chunk, part);
        count -= part;
    }
}

// ---- MemoryStream ----

MemoryStream::MemoryStream(std::vector<uint8_t> bytes) : m_data(std::move(bytes)) {}

MemoryStream::MemoryStream(const void* data, int64_t size)
    : m_data(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size)
{}

int64_t MemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t size = Size();
    if (count <= 0 || m_position >= size)
        return 0;
    const int64_t n = count < size - m_position ? count : size - m_position;
    std::memcpy(buffer, m_data.data() + m_position, static_cast<size_t>(n));
    m_position += n;
    return n;
}

int64_t MemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const int64_t end = m_position + count;
    if (end > Size())
        m_data.resize(static_cast<size_t>(end));
    std::memcpy(m_data.data() + m_position, buffer, static_cast<size_t>(count));
    m_position = end;
    return count;
}

int64_t MemoryStream::Seek(int64_t offset, SeekOrigin origin)
{
    int64_t target = offset;
    if (origin == SeekOrigin::Current)
        target = m_position + offset;
    else if (origin == SeekOrigin::End)
        target = Size() + offset;
    if (target < 0)
        throw EStreamError("Stream seek error");
    m_position = target;
    return m_position;
}

void MemoryStream::Clear()
{
    m_data.clear();
    m_position = 0;
}

void MemoryStream::SetSize(int64_t size)
{
    m_data.resize(static_cast<size_t>(size < 0 ? 0 : size));
    if (m_position > Size())
        m_position = Size();
}

void MemoryStream::LoadFromFile(const std::string& path)
{
    FileStream file(path, FileStream::Mode::OpenRead);
    const int64_t size = file.Size();
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.ReadBuffer(bytes.data(), size);
    m_data = std::move(bytes);
    m_position = 0;
}

void MemoryStream::SaveToFile(const std::string& path) const
{
    WriteFileAtomically(path, m_data.data(), m_data.size());
}

// ---- FileStream ----

FileStream::FileStream(const std::string& path, Mode mode) : m_path(path)
{
    const char* how = mode == Mode::OpenRead ? "rb" : mode == Mode::OpenReadWrite ? "r+b" : "w+b";
    m_file = std::fopen(path.c_str(), how);
    if (!m_file) {
        const int error = errno;
        const std::string reason = std::strerror(error);
        if (mode == Mode::Create)
            throw EFCreateError("Cannot create file \"" + path + "\". " + reason, path, error);
        throw EFOpenError("Cannot open file \"" + path + "\". " + reason, path, error);
    }
    if (mode == Mode::OpenRead) {
        fseeko(m_file, 0, SEEK_END);
        m_readOnlySize = static_cast<int64_t>(ftello(m_file));
        fseeko(m_file, 0, SEEK_SET);
    }
}

FileStream::~FileStream()
{
    if (m_file)
        std::fclose(m_file);
}

int64_t FileStream::Read(void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), m_file));
}

int64_t FileStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    errno = 0;
    const size_t written = std::fwrite(buffer, 1, static_cast<size_t>(count), m_file);
    if (written != static_cast<size_t>(count) && errno != 0) {
        const int error = errno;
        throw EWriteError("Cannot write \"" + m_path + "\": " + std::strerror(error), m_path, error);
    }
    return static_cast<int64_t>(written);
}

int64_t FileStream::Seek(int64_t offset, SeekOrigin origin)
{
    const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (fseeko(m_file, static_cast<off_t>(offset), whence) != 0)
        throw EStreamError("Stream seek error");
    return static_cast<int64_t>(ftello(m_file));
}

int FileStream::Descriptor() const { return ::fileno(m_file); }

int64_t FileStream::Size()
{
    if (m_readOnlySize >= 0)
        return m_readOnlySize;
    const int64_t here = static_cast<int64_t>(ftello(m_file));
    fseeko(m_file, 0, SEEK_END);
    const int64_t end = static_cast<int64_t>(ftello(m_file));
    fseeko(m_file, static_cast<off_t>(here), SEEK_SET);
    return end;
}

void FileStream::Flush()
{
    if (std::fflush(m_file) != 0) {
        const int error = errno;
        throw EWriteError("Cannot write \"" + m_path + "\": " + std::strerror(error), m_path, error);
    }
}

void FileStream::Sync()
{
    Flush();
    if (::fsync(::fileno(m_file)) != 0 && errno != EINVAL && errno != EROFS) {
        const int error = errno;
        throw EWriteError("Cannot write \"" + m_path + "\": " + std::string(std::strerror(error)), m_path, error);
    }
}

void RaiseNamingFile(const EReadError& error, const std::string& what, const std::string& path)
{
    throw EReadError(what + " cannot be read: " + error.what(), error.GetFile().empty() ? path : error.GetFile(),
                     error.GetSystemError());
}
