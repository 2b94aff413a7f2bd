#include "presentation/WebExport.h"

#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Resources.h"
#include "platform/Text.h"

#include <QCryptographicHash>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string Number(int64_t value) { return std::to_string(value); }

std::string RectJson(const TRect& rect)
{
    return Number(rect.Left) + "," + Number(rect.Top) + "," + Number(rect.Right) + "," + Number(rect.Bottom);
}

// "#rrggbb" of a colour stored as 0x00BBGGRR.
std::string CssColour(TColor colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

void AppendEscaped(std::string& out, char32_t code)
{
    char text[16];
    if (code >= 0x10000) {
        const char32_t value = code - 0x10000;
        std::snprintf(text, sizeof text, "\\u%04x\\u%04x", static_cast<unsigned>(0xD800 + (value >> 10)),
                      static_cast<unsigned>(0xDC00 + (value & 0x3FF)));
    } else {
        std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(code));
    }
    out += text;
}

std::string ErrorText(int error) { return std::strerror(error); }

// A new file in the staging folder; the folder is put on the disc as a whole before it takes its name.
void WriteWholeFile(const std::string& path, const void* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file) {
        const int error = errno;
        throw EFCreateError("Cannot create \"" + path + "\": " + ErrorText(error), path, error);
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeError;
        throw EWriteError("Cannot write \"" + path + "\": " + ErrorText(error), path, error);
    }
}

// A copy that everyone may read, as every file of a disc is: the program's own temporary copy of the music is
// private to the user.
bool CopyReadable(const std::string& source, const std::string& target, std::string& problem)
{
    std::error_code error;
    if (!fs::copy_file(source, target, error)) {
        problem = error.message();
        return false;
    }
    fs::permissions(
        target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read, error);
    return true;
}

std::string ResourceText(const char* name)
{
    QByteArray data;
    if (!ReadResource(name, data))
        throw EFOpenError(std::string("The program carries no resource \"") + name + "\"");
    return data.toStdString();
}

} // namespace

std::string WebJsonString(const std::string& raw)
{
    const QString text = ToDisplay(raw);
    std::string out = "\"";
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(code)) {
            code = 0xFFFD;
        }
        if (code == '"')
            out += "\\\"";
        else if (code == '\\')
            out += "\\\\";
        else if (code < 0x20 || code >= 0x7F || code == '<' || code == '>' || code == '&' || code == '\'')
            AppendEscaped(out, code);
        else
            out += static_cast<char>(code);
    }
    return out + "\"";
}

WebExport::WebExport(std::string discFolder) : m_discFolder(std::move(discFolder)) {}

WebExport::~WebExport()
{
    if (!m_committed)
        RemoveStaging();
}

void WebExport::Begin(const std::string& title, const std::string& date, TColor background, int32_t width,
                      int32_t height)
{
    RemoveStaging();
    for (int attempt = 0; m_staging.empty(); ++attempt) {
        const std::string candidate =
            m_discFolder + "/.web-new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_staging = candidate;
        } else if (error || attempt > 100) {
            throw EFCreateError("Cannot create the folder \"" + candidate +
                                "\": " + (error ? error.message() : std::string("too many folders of that name")));
        }
    }
    std::error_code error;
    if (!fs::create_directory(m_staging + "/media", error))
        throw EFCreateError("Cannot create the folder \"" + m_staging + "/media\": " + error.message());
    m_header = "\"format\":1,\"title\":" + WebJsonString(title) + ",\"date\":" + WebJsonString(date) +
               ",\"background\":\"" + CssColour(background) + "\",\"width\":" + Number(width) +
               ",\"height\":" + Number(height);
    m_pages.clear();
    m_pageCount = 0;
    m_studio = "null";
    m_studioSeconds = 0;
    m_music = "null";
    m_mediaNames.clear();
    m_mediaBytes = 0;
    m_warnings.clear();
    m_committed = false;
}

void WebExport::AddPage(const evProjectorPage& page, const std::string& title)
{
    if (m_pageCount++ > 0)
        m_pages += ",\n";
    m_pages += PageJson(page, title);
}

void WebExport::SetStudio(const evProjectorPage* page, int32_t seconds)
{
    m_studio = page ? PageJson(*page, "") : "null";
    m_studioSeconds = page ? seconds : 0;
}

std::string WebExport::PageJson(const evProjectorPage& page, const std::string& title)
{
    std::string json = "{\"title\":" + WebJsonString(title) + ",\"type\":" + Number(page.GetPageType()) +
                       ",\"interval\":" + Number(page.GetSlideInterval()) + ",\"elements\":[";
    const evObjectCollection& elements = page.GetElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const auto* element = elements.GetItemAs<evProjectorPageElement>(i);
        if (i > 0)
            json += ",";
        // An index must keep its place even when a damaged page holds something else there.
        json += element ? ElementJson(*element) : "{\"x\":0,\"y\":0,\"w\":0,\"h\":0,\"kind\":-1}";
    }
    json += "],\"mouse\":[";
    const evObjectCollection& mouse = page.GetMouseActions();
    for (int32_t i = 0, written = 0; i < mouse.Count(); ++i) {
        if (const auto* action = mouse.GetItemAs<evProjectorMouseAction>(i)) {
            json += (written++ ? ",[" : "[") + RectJson(action->GetRect()) + "," + Number(action->GetType()) + "," +
                    Number(action->GetFirstElement()) + "," + Number(action->GetSecondElement()) + "]";
        }
    }
    json += "],\"navi\":[";
    const evObjectCollection& navi = page.GetNaviActions();
    for (int32_t i = 0, written = 0; i < navi.Count(); ++i) {
        if (const auto* action = navi.GetItemAs<evProjectorNaviAction>(i))
            json += (written++ ? ",[" : "[") + RectJson(action->GetRect()) + "," + Number(action->GetTarget()) + "]";
    }
    return json + "]}";
}

std::string WebExport::ElementJson(const evProjectorPageElement& element)
{
    const JpegImage& picture = element.GetPicture();
    std::string json = "{\"x\":" + Number(element.GetX()) + ",\"y\":" + Number(element.GetY()) +
                       ",\"w\":" + Number(picture.Width()) + ",\"h\":" + Number(picture.Height()) +
                       ",\"kind\":" + Number(element.GetKind());
    if (!picture.IsEmpty())
        json += ",\"src\":\"" + Media(picture.Bytes()) + "\"";
    if (const auto* strip = dynamic_cast<const evProjectorSliderElement*>(&element)) {
        json += ",\"strip\":{\"window\":[" + RectJson(strip->GetWindow()) +
                "],\"direction\":" + Number(strip->GetDirection()) + ",\"itemWidth\":" + Number(strip->GetItemWidth()) +
                ",\"itemHeight\":" + Number(strip->GetItemHeight()) + ",\"speed\":" + Number(strip->GetSpeed()) +
                ",\"items\":[";
        const evObjectCollection& items = strip->GetItems();
        for (int32_t i = 0, written = 0; i < items.Count(); ++i) {
            if (const auto* item = items.GetItemAs<evProjectorPageElement>(i)) {
                std::string itemJson = ElementJson(*item);
                json += (written++ ? "," : "") + itemJson;
            }
        }
        json += "]}";
    }
    return json + "}";
}

// One file per distinct picture, named after its content.
std::string WebExport::Media(const std::vector<uint8_t>& jpeg)
{
    const QByteArray hash = QCryptographicHash::hash(QByteArrayView(jpeg.data(), static_cast<qsizetype>(jpeg.size())),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(32);
    const std::string key = hash.toStdString();
    const auto found = m_mediaNames.find(key);
    if (found != m_mediaNames.end())
        return found->second;
    const std::string name = "media/" + key + ".jpg";
    WriteWholeFile(m_staging + "/" + name, jpeg.data(), jpeg.size());
    m_mediaBytes += static_cast<int64_t>(jpeg.size());
    m_mediaNames.emplace(key, name);
    return name;
}

void WebExport::WriteInStaging(const std::string& name, const std::string& data) const
{
    WriteWholeFile(m_staging + "/" + name, data.data(), data.size());
}

void WebExport::SetMusic(const evObject* music, const WebMusicAccess& access)
{
    m_music = "null";
    if (!music)
        return;
    const std::optional<WebMusicTrack> track = access.describe ? access.describe(*music) : std::nullopt;
    if (!track || track->file.empty()) {
        m_warnings.push_back("The album's music could not be written for web browsers: it has no audio.");
        return;
    }
    CopyMusic(*track, access);
}

void WebExport::CopyMusic(const WebMusicTrack& track, const WebMusicAccess& access)
{
    std::vector<std::pair<std::string, std::string>> files; // name, MIME type
    std::string problem;
    if (track.extension == "mp3") {
        if (CopyReadable(track.file, m_staging + "/music.mp3", problem))
            files.emplace_back("music.mp3", "audio/mpeg");
    } else {
        try {
            if (!access.writeMp3)
                throw EVelloraError("this program cannot write MP3 files");
            access.writeMp3(track.file, m_staging + "/music.mp3");
            files.emplace_back("music.mp3", "audio/mpeg");
        } catch (const EVelloraError& e) {
            problem = e.what();
        }
        std::string ignored;
        if (!track.extension.empty() && CopyReadable(track.file, m_staging + "/music." + track.extension, ignored))
            files.emplace_back("music." + track.extension, track.mimeType);
    }
    if (!problem.empty()) {
        const std::string playable =
            files.empty() ? "plays without music in web browsers"
                          : "plays its music only in web browsers that play " + track.extension + " files";
        m_warnings.push_back("The music \"" + track.title + "\" could not be converted for web browsers (" + problem +
                             "); the album " + playable + ".");
    }
    if (files.empty())
        return;
    m_music =
        "{\"title\":" + WebJsonString(track.title) + ",\"loop\":" + (track.loop ? "true" : "false") + ",\"files\":[";
    for (size_t i = 0; i < files.size(); ++i) {
        m_music += (i ? "," : "") + std::string("{\"src\":") + WebJsonString(files[i].first) +
                   ",\"type\":" + WebJsonString(files[i].second) + "}";
    }
    m_music += "]}";
}

void WebExport::Commit()
{
    if (m_staging.empty())
        throw EVelloraError("The web album was not begun");
    const std::string album = "window.VELLORA_ALBUM = {" + m_header + ",\n\"music\":" + m_music +
                              ",\n\"studioSeconds\":" + Number(m_studioSeconds) + ",\n\"studio\":" + m_studio +
                              ",\n\"pages\":[\n" + m_pages + "\n]};\n";
    WriteInStaging("album.js", album);
    WriteInStaging("player.js", ResourceText("WEB_PLAYER_JS"));
    WriteInStaging("player.css", ResourceText("WEB_PLAYER_CSS"));
    const std::string index = ResourceText("WEB_INDEX");
    // The files reach the disc before the folder takes its name, and the new name before the index points to it.
    SyncFileSystemOf(m_staging);
    SwapIntoPlace();
    SyncFileSystemOf(m_discFolder);
    WriteFileAtomically(m_discFolder + "/" + kIndexFile, index);
}

// The previous folder steps aside, the new one takes its name, and only then is the previous one removed; a
// failure on the way puts the previous one back.
void WebExport::SwapIntoPlace()
{
    const std::string web = m_discFolder + "/" + kWebFolder;
    const std::string old = m_discFolder + "/.web-old-" + std::to_string(::getpid());
    std::error_code error;
    fs::remove_all(old, error);
    const bool hadOld = fs::exists(fs::symlink_status(web, error));
    if (hadOld) {
        fs::rename(web, old, error);
        if (error)
            throw EWriteError("Cannot replace the folder \"" + web + "\": " + error.message());
    }
    fs::rename(m_staging, web, error);
    if (error) {
        std::error_code ignored;
        if (hadOld)
            fs::rename(old, web, ignored);
        throw EWriteError("Cannot create the folder \"" + web + "\": " + error.message());
    }
    m_committed = true;
    m_staging.clear();
    if (hadOld)
        fs::remove_all(old, error);
}

void WebExport::RemoveStaging()
{
    if (m_staging.empty())
        return;
    std::error_code ignored;
    fs::remove_all(m_staging, ignored);
    m_staging.clear();
}
