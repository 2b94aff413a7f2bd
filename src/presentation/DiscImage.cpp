#include "presentation/DiscImage.h"

#include "platform/AtomicFile.h"
#include "platform/Stream.h"

#include <QChar>
#include <QList>
#include <QString>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Our own reader of the image stream stands in for the burning library, so its interface comes from libisofs.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs.h>

namespace {

constexpr size_t kVolumeNameLength = 32;
constexpr size_t kBlockSize = 2048;
constexpr size_t kBlocksPerWrite = 32;

std::string Fail(const std::string& path, const std::string& cause) { return path + ": " + cause; }
std::string SystemCause(int error) { return std::strerror(error); }

// libisofs keeps its set-up (character set, message queue) for the whole process. File names on this system are
// UTF-8 whatever the locale says, and the messages are queued, not printed, so that they become our errors.
// A problem that would leave holes in a file (a file that shrank or cannot be read) stops the writing.
void InitLibisofs()
{
    static std::once_flag once;
    static int result = 0;
    std::call_once(once, [] {
        result = iso_init_with_flag(1);
        if (result < 0)
            return;
        char utf8[] = "UTF-8";
        iso_set_local_charset(utf8, 0);
        char queue[] = "SORRY";
        char print[] = "NEVER";
        char prefix[] = "libisofs";
        iso_set_msgs_severities(queue, print, prefix);
        char abort[] = "MISHAP";
        iso_set_abort_severity(abort);
    });
    if (result < 0)
        throw EDiscImageError(std::string("The disc image library cannot start: ") + iso_error_to_msg(result));
}

// The oldest queued message at or above the severity; "" when there is none. Older, milder ones are dropped.
std::string TakeMessage(const char* minimumSeverity)
{
    char severity[80] = {};
    std::vector<char> text(ISO_MSGS_MESSAGE_LEN + 1, '\0');
    int code = 0;
    int imageId = 0;
    std::string minimum = minimumSeverity;
    if (iso_obtain_msgs(minimum.data(), &code, &imageId, text.data(), severity) != 1)
        return {};
    std::string message = text.data();
    for (char& c : message) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return message;
}

void DiscardMessages()
{
    while (!TakeMessage("ALL").empty()) {}
}

// What libisofs says about a failure: its queued message when there is one, otherwise the error code's text.
std::string LibisofsCause(int result)
{
    const std::string message = TakeMessage("SORRY");
    return message.empty() ? iso_error_to_msg(result) : message;
}

struct ImageRelease {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
};
struct OptionsRelease {
    void operator()(IsoWriteOpts* options) const { iso_write_opts_free(options); }
};

using ImagePtr = std::unique_ptr<IsoImage, ImageRelease>;
using OptionsPtr = std::unique_ptr<IsoWriteOpts, OptionsRelease>;

// The image as a stream of bytes, produced by a thread of libisofs. Releasing it stops that thread and waits
// for it; a stream not read to its end is cancelled first, so the thread does not wait for a reader that is gone.
class ImageStream {
public:
    ImageStream(IsoImage* image, IsoWriteOpts* options, const std::string& target)
    {
        const int started = iso_image_create_burn_source(image, options, &m_source);
        if (started < 0)
            throw EDiscImageError(Fail(target, LibisofsCause(started)));
    }
    ~ImageStream()
    {
        if (!m_ended && m_source->cancel)
            m_source->cancel(m_source);
        m_source->free_data(m_source);
        std::free(m_source);
    }
    ImageStream(const ImageStream&) = delete;
    ImageStream& operator=(const ImageStream&) = delete;

    off_t Size() const { return m_source->get_size(m_source); }
    // Like read(2): the bytes delivered, 0 at the end, below 0 when the image could not be made.
    int Read(unsigned char* buffer, int size)
    {
        const int got =
            m_source->read ? m_source->read(m_source, buffer, size) : m_source->read_xt(m_source, buffer, size);
        m_ended = got == 0;
        return got;
    }

private:
    burn_source* m_source = nullptr;
    bool m_ended = false;
};

// An image inside the disc folder would end up on the next disc made from that folder.
void RefuseTargetInside(const std::string& discFolder, const std::string& isoPath)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::absolute(discFolder, error), error);
    const fs::path target = fs::weakly_canonical(fs::absolute(isoPath, error), error);
    if (error || folder.empty())
        return;
    const auto [inFolder, inTarget] = std::mismatch(folder.begin(), folder.end(), target.begin(), target.end());
    if (inFolder == folder.end() || (std::next(inFolder) == folder.end() && inFolder->empty()))
        throw EDiscImageError(Fail(isoPath, "a disc image cannot be saved inside the disc folder"));
}

ImagePtr BuildTree(const std::string& discFolder, const std::string& volumeName)
{
    struct stat info {};
    if (::stat(discFolder.c_str(), &info) != 0)
        throw EDiscImageError(Fail(discFolder, SystemCause(errno)));
    if (!S_ISDIR(info.st_mode))
        throw EDiscImageError(Fail(discFolder, SystemCause(ENOTDIR)));
    IsoImage* raw = nullptr;
    const int created = iso_image_new(volumeName.c_str(), &raw);
    if (created < 0)
        throw EDiscImageError(Fail(discFolder, LibisofsCause(created)));
    ImagePtr image(raw);
    iso_image_set_application_id(image.get(), "VELLORA");
    iso_tree_set_follow_symlinks(image.get(), 0);
    iso_tree_set_ignore_hidden(image.get(), 0);
    const int added = iso_tree_add_dir_rec(image.get(), iso_image_get_root(image.get()), discFolder.c_str());
    if (added < 0)
        throw EDiscImageError(Fail(discFolder, LibisofsCause(added)));
    return image;
}

// ISO level 3 with Rock Ridge (long names, the files' own permissions, so the player stays executable) and
// Joliet (long Unicode names). Owners become root: the disc is read on other computers.
OptionsPtr WriteOptions()
{
    IsoWriteOpts* raw = nullptr;
    const int created = iso_write_opts_new(&raw, 1);
    if (created < 0)
        throw EDiscImageError(std::string("The disc image options: ") + iso_error_to_msg(created));
    OptionsPtr options(raw);
    iso_write_opts_set_iso_level(options.get(), 3);
    iso_write_opts_set_rockridge(options.get(), 1);
    iso_write_opts_set_joliet(options.get(), 1);
    iso_write_opts_set_joliet_longer_paths(options.get(), 1);
    iso_write_opts_set_joliet_long_names(options.get(), 1);
    iso_write_opts_set_replace_mode(options.get(), 0, 0, 2, 2);
    iso_write_opts_set_default_uid(options.get(), 0);
    iso_write_opts_set_default_gid(options.get(), 0);
    return options;
}

// The image file, written through the atomic writer; its errors become disc image errors.
class TemporaryImage {
public:
    explicit TemporaryImage(const std::string& target) : m_target(target)
    {
        Translate([&] { m_writer = std::make_unique<AtomicWriter>(target); });
    }

    const std::string& Target() const { return m_target; }

    void Write(const unsigned char* data, size_t size)
    {
        Translate([&] { m_writer->GetStream().Write(data, static_cast<int64_t>(size)); });
    }

    // The bytes reach the disc before the name changes, so a crash leaves the old image or the whole new one.
    void Commit()
    {
        Translate([&] { m_writer->Commit(); });
    }

private:
    template <typename Step>
    static void Translate(Step step)
    {
        try {
            step();
        } catch (const EDiscImageError&) {
            throw;
        } catch (const EVelloraError& error) {
            throw EDiscImageError(error.what());
        }
    }

    std::string m_target;
    std::unique_ptr<AtomicWriter> m_writer;
};

// Copies the image stream into the file, reporting the share written (at most 99 until the file is in place).
// The stream hands out whole blocks only (a short last piece would be lost), so it is read block by block and
// written in larger pieces.
void CopyStream(ImageStream& stream, TemporaryImage& file, const std::function<void(int)>& progress)
{
    const off_t total = stream.Size();
    std::vector<unsigned char> buffer(kBlocksPerWrite * kBlockSize);
    size_t filled = 0;
    off_t done = 0;
    int shown = -1;
    for (;;) {
        const int got = stream.Read(buffer.data() + filled, static_cast<int>(kBlockSize));
        if (got < 0)
            throw EDiscImageError(Fail(file.Target(), LibisofsCause(ISO_WRITE_ERROR)));
        filled += static_cast<size_t>(got);
        if (got == 0 || filled == buffer.size()) {
            file.Write(buffer.data(), filled);
            done += static_cast<off_t>(filled);
            filled = 0;
            const int percent = total > 0 ? static_cast<int>(std::min<off_t>(99, done * 100 / total)) : 0;
            if (progress && percent != shown)
                progress(shown = percent);
        }
        if (got == 0)
            break;
    }
    if (total > 0 && done != total)
        throw EDiscImageError(Fail(file.Target(), "the image ended early (" + std::to_string(done) + " of " +
                                                      std::to_string(total) + " bytes)"));
}

} // namespace

void WriteDiscImage(const std::string& discFolder, const std::string& isoPath, const std::string& volumeName,
                    std::function<void(int percent)> progress)
{
    InitLibisofs();
    DiscardMessages();
    RefuseTargetInside(discFolder, isoPath);
    const ImagePtr image = BuildTree(discFolder, volumeName);
    const OptionsPtr options = WriteOptions();
    TemporaryImage file(isoPath);
    {
        ImageStream stream(image.get(), options.get(), isoPath);
        CopyStream(stream, file, progress);
    }
    // A file that could not be read whole is reported once the writing thread has ended.
    const std::string problem = TakeMessage("MISHAP");
    if (!problem.empty())
        throw EDiscImageError(Fail(isoPath, problem));
    file.Commit();
    if (progress)
        progress(100);
}

namespace {

// Letters that carry no decomposition to a base letter, written out the way they are commonly spelt.
const char* SpelledLetter(char32_t c)
{
    switch (c) {
    case U'ß':
    case U'ẞ': return "SS";
    case U'æ':
    case U'Æ': return "AE";
    case U'œ':
    case U'Œ': return "OE";
    case U'ø':
    case U'Ø': return "O";
    case U'ł':
    case U'Ł': return "L";
    case U'đ':
    case U'Đ':
    case U'ð':
    case U'Ð': return "D";
    case U'þ':
    case U'Þ': return "TH";
    case U'ı': return "I";
    default: return nullptr;
    }
}

// A character as d-characters: A-Z, 0-9, or "_" for anything that has no such spelling.
std::string VolumeCharacters(char32_t c)
{
    if (c < 0x80) {
        const char ascii = static_cast<char>(c);
        if (ascii >= 'a' && ascii <= 'z')
            return std::string(1, static_cast<char>(ascii - 'a' + 'A'));
        if ((ascii >= 'A' && ascii <= 'Z') || (ascii >= '0' && ascii <= '9'))
            return std::string(1, ascii);
        return "_";
    }
    if (const char* spelled = SpelledLetter(c))
        return spelled;
    // A letter with marks decomposes into a base letter followed by combining marks only.
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    if (decomposed.size() < 2 || decomposed[0].unicode() >= 0x80)
        return "_";
    for (qsizetype i = 1; i < decomposed.size(); ++i) {
        if (!decomposed[i].isMark())
            return "_";
    }
    return VolumeCharacters(decomposed[0].unicode());
}

void TrimUnderscores(std::string& name)
{
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    const size_t start = name.find_first_not_of('_');
    name.erase(0, start == std::string::npos ? name.size() : start);
}

} // namespace

std::string DiscVolumeName(const std::string& first, const std::string& second)
{
    const QList<uint> codePoints = QString::fromUtf8(first + " " + second).toUcs4();
    std::string name;
    for (const uint c : codePoints) {
        const std::string part = VolumeCharacters(static_cast<char32_t>(c));
        if (part == "_" && !name.empty() && name.back() == '_')
            continue;
        name += part;
    }
    TrimUnderscores(name);
    if (name.size() > kVolumeNameLength) {
        name.resize(kVolumeNameLength);
        TrimUnderscores(name);
    }
    return name.empty() ? "VELLORA" : name;
}
