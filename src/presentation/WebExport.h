#pragma once
// The album for web browsers, written into a disc folder beside the presentation file:
//
//   index.html        opens the album in any browser; the same file on every disc
//   web/player.js     the player (plain JavaScript), web/player.css its look
//   web/album.js      the album as data, one assignment to the global VELLORA_ALBUM (below)
//   web/media/*.jpg   every picture of every page: the same JPEG bytes as in data.evp, one file per distinct
//                     picture (a background used on every page is written once), named after its content
//   web/music.*       the music as it is, and an MP3 copy when it is in another format
//
// album.js holds only ASCII: every text is written as a JSON string with everything outside printable ASCII and
// the characters < > & ' escaped, so no name or title can end the script or the string it stands in.
//
//   { "format": 1, "title": "Anna & Ben", "date": "7 Dec 2026", "background": "#rrggbb",
//     "width": 1024, "height": 768,
//     "music": null | { "title": …, "loop": true, "files": [ { "src": "music.mp3", "type": "audio/mpeg" }, … ] },
//     "studio": null | page, "studioSeconds": n,
//     "pages": [ page, … ] }
//   page:    { "title": …, "type": 0 | 1, "interval": ms, "elements": [ element, … ],
//              "mouse": [ [left, top, right, bottom, type, first, second], … ],
//              "navi": [ [left, top, right, bottom, target], … ] }
//   element: { "x", "y", "w", "h", "kind", "src": "media/….jpg" (absent for an empty picture),
//              "strip": { "window": [l, t, r, b], "direction", "itemWidth", "itemHeight", "speed",
//                         "items": [ { "x", "y", "w", "h", "src" }, … ] } (film strips only) }
//
// Element indexes, rectangles, targets and timings are those of data.evp, so the browser reaches what the native
// player reaches. The files go into a folder of their own beside "web" while the disc is finished; only when all
// of them are written does it take the place of the previous "web" folder (and index.html is replaced), so a
// failed finish leaves the previous browser album whole.

#include "model/WebMusicAccess.h"
#include "platform/Color.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class evObject;
class evProjectorPage;
class evProjectorPageElement;

// A text as a JSON string literal that is pure printable ASCII (see above). Bytes that are not UTF-8 are read as
// Windows-1252, as everywhere in the program.
std::string WebJsonString(const std::string& raw);

class WebExport {
public:
    static constexpr const char* kIndexFile = "index.html";
    static constexpr const char* kWebFolder = "web";
    // The stage of the player, as the native player's.
    static constexpr int32_t kPageWidth = 1024;
    static constexpr int32_t kPageHeight = 768;

    explicit WebExport(std::string discFolder);
    // Removes what was written when Commit was not reached.
    ~WebExport();
    WebExport(const WebExport&) = delete;
    WebExport& operator=(const WebExport&) = delete;

    // Starts a new album: the folder beside "web" that the files go to. EFCreateError when it cannot be made.
    void Begin(const std::string& title, const std::string& date, TColor background, int32_t width, int32_t height);
    // Each page of the presentation file, in its order; its pictures are written at once.
    void AddPage(const evProjectorPage& page, const std::string& title);
    void SetStudio(const evProjectorPage* page, int32_t seconds);
    // The music and its MP3 copy. A track that cannot be converted leaves the album silent in browsers that
    // cannot play the original, with a warning; it never fails.
    void SetMusic(const evObject* music, const WebMusicAccess& access);
    // Writes album.js and the player, puts the folder in the place of "web" and writes index.html.
    void Commit();

    // What the viewer of the disc should know (music that browsers will not play).
    const std::vector<std::string>& GetWarnings() const { return m_warnings; }
    // Bytes of the pictures written (each distinct picture once).
    int64_t GetMediaBytes() const { return m_mediaBytes; }

private:
    std::string PageJson(const evProjectorPage& page, const std::string& title);
    std::string ElementJson(const evProjectorPageElement& element);
    std::string Media(const std::vector<uint8_t>& jpeg);
    void WriteInStaging(const std::string& name, const std::string& data) const;
    void CopyMusic(const WebMusicTrack& track, const WebMusicAccess& access);
    void SwapIntoPlace();
    void RemoveStaging();

    std::string m_discFolder;
    std::string m_staging;
    std::string m_header;
    std::string m_pages;
    int32_t m_pageCount = 0;
    std::string m_studio = "null";
    int32_t m_studioSeconds = 0;
    std::string m_music = "null";
    std::map<std::string, std::string> m_mediaNames; // content hash -> file name
    int64_t m_mediaBytes = 0;
    std::vector<std::string> m_warnings;
    bool m_committed = false;
};
