#pragma once
// Finishing a project: the disc folder that is burnt to a disc unchanged.
//
//   evplay          the native player program (resource "PROJECTOR"), with its execute bit
//   evplay.exe      the Windows starter (resource "WINSTARTER"), which opens index.html in the default browser;
//                   autorun.inf starts it on Windows
//   index.html, web/  the album for web browsers (presentation/WebExport.h), made from the same pages
//   autorun.inf     resource "AUTORUN"
//   data/ev.ico     resource "AUTORUNICON"
//   data/data.evp   the presentation file:
//     int32      background colour      the design's, 0x00BBGGRR
//     int32      N                      pages, in page order (included pages with a page layout)
//     N bodies   evProjectorPage        each from its evObject header on, without a class name
//     reference  music                  "P" "evMusic" body, or "NP"
//     reference  studio page            "P" "evProjectorPage" body, or "NP"
//     int32      studio page duration   0 without a studio page
//
// The pages are rendered and written one at a time, so only one rendered page is ever in memory; the browser
// album takes each page's pictures as it is written. Each step that fails raises EFinishError with the step's
// code. Every file is written beside its name and takes its place only when it is complete, so a failed finish
// leaves, file by file, the previous disc folder's file or the new one, never a cut one; the web folder changes
// as a whole. The folder does not switch as a whole: after a failure the player may be new and the album old,
// which plays, since each file is whole. Temporaries and staging folders that a killed finish left behind are
// removed by the next one.

#include "platform/Errors.h"
#include "presentation/WebExport.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Stream;
class evCategory;
class evPhotograph;
class evProject;

// A step of finishing failed. The code names the step: "FIN_DIR" (the disc folder), "FIN_DIR_DATA" (its data
// folder), "FIN_PRJ" (the presentation file), "FIN_PLY" (the player), "FIN_AUT" (autorun.inf), "FIN_ICO" (the
// icon). The message adds what went wrong; when the system refused a file (a full disc, a read-only folder), the
// error also names that file and the system's error number.
class EFinishError : public EVelloraError {
public:
    EFinishError(std::string code, const std::string& detail, std::string file = {}, int systemError = 0);
    const std::string& GetCode() const { return m_code; }
    const std::string& GetFile() const { return m_file; }
    int GetSystemError() const { return m_systemError; }

private:
    std::string m_code;
    std::string m_file;
    int m_systemError = 0;
};

// The studio page's duration as typed is no whole number. Raised before anything is written.
class EStudioDurationError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// The pop-up's text for a failed step: "Internal Error: " + code + ". Please contact our support."
std::string FinishErrorPopupText(const std::string& code);
// What the error screen says: which step failed and what the user can do about it.
std::string FinishErrorExplanation(const std::string& code);

// The disc folder inside the chosen folder: chosen + "/" + "Vellora", without a second separator; "" when no
// folder was chosen.
std::string DiscFolderFor(const std::string& chosenFolder);
// Whether the disc folder already holds a disc of ours (its presentation file), which finishing would replace.
bool HoldsDisc(const std::string& discFolder);
// The duration as typed: an optional sign and decimal digits (blanks around them are allowed) that fit 32 bits.
std::optional<int32_t> ParseStudioDuration(const std::string& text);

class DiscProducer {
public:
    static constexpr const char* kPlayerFile = "evplay";
    static constexpr const char* kStarterFile = "evplay.exe";
    static constexpr const char* kAutorunFile = "autorun.inf";
    static constexpr const char* kIconFile = "data/ev.ico";
    static constexpr const char* kPresentationFile = "data/data.evp";

    using ProgressCallback = std::function<void(int percent)>;

    // The project with its design attached; discFolder as DiscFolderFor makes it.
    DiscProducer(evProject& project, std::string discFolder);

    // The studio record (bound to its page layout) whose page closes the disc, and its duration as typed. Without
    // a record there is no studio page and the duration is 0.
    void SetStudio(evPhotograph* record, std::string durationText);
    // Told i / N x 100 before page i is rendered, and 100 when the last page is written.
    void SetProgress(ProgressCallback progress) { m_progress = std::move(progress); }
    // Told the name of each step as it completes: "page 1" ... "page N" once each page is in the presentation
    // file's temporary, then each file once it has its name ("data/data.evp", "evplay", "evplay.exe",
    // "autorun.inf", "data/ev.ico"). A test stops the program at each of these boundaries.
    void SetStepObserver(std::function<void(const std::string& step)> observer)
    {
        m_stepObserver = std::move(observer);
    }
    // How the browser album gets at the music; without it the browser album has no music.
    void SetWebMusic(WebMusicAccess access) { m_webMusic = std::move(access); }

    // Writes the disc folder. EStudioDurationError before anything is written, EFinishError for a failed step.
    void Produce();

    const std::string& GetDiscFolder() const { return m_discFolder; }
    // What the last Produce has to tell the user although it succeeded (music that browsers will not play).
    const std::vector<std::string>& GetWarnings() const { return m_warnings; }

private:
    int32_t StudioDuration() const;
    void WritePresentation(int32_t duration, WebExport& web) const;
    void WritePresentationTo(Stream& stream, int32_t duration, WebExport& web) const;
    void WritePages(Stream& stream, const std::vector<evCategory*>& pages, WebExport& web) const;
    void Report(int percent) const;
    void Passed(const std::string& step) const;

    evProject& m_project;
    std::string m_discFolder;
    evPhotograph* m_studio = nullptr;
    std::string m_durationText;
    ProgressCallback m_progress;
    std::function<void(const std::string& step)> m_stepObserver;
    WebMusicAccess m_webMusic;
    std::vector<std::string> m_warnings;
};
