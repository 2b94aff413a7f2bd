#pragma once
// Finishing a project: the disc folder that is burnt to a disc unchanged.
//
//   evplay.exe      the player program (resource "PROJECTOR"), with its execute bit
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
// The pages are rendered and written one at a time, so only one rendered page is ever in memory. Each step
// that fails raises EFinishError with the step's code; files already written stay, except the presentation
// file, which is written beside its name and takes its place only when it is complete.

#include "platform/Errors.h"

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
// icon). The message adds what went wrong.
class EFinishError : public EVelloraError {
public:
    EFinishError(std::string code, const std::string& detail);
    const std::string& GetCode() const { return m_code; }

private:
    std::string m_code;
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
// The duration as typed: an optional sign and decimal digits (blanks around them are allowed) that fit 32 bits.
std::optional<int32_t> ParseStudioDuration(const std::string& text);

class DiscProducer {
public:
    static constexpr const char* kPlayerFile = "evplay.exe";
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

    // Writes the disc folder. EStudioDurationError before anything is written, EFinishError for a failed step.
    void Produce();

    const std::string& GetDiscFolder() const { return m_discFolder; }

private:
    int32_t StudioDuration() const;
    void WritePresentation(int32_t duration) const;
    void WritePresentationTo(Stream& stream, int32_t duration) const;
    void WritePages(Stream& stream, const std::vector<evCategory*>& pages) const;
    void Report(int percent) const;

    evProject& m_project;
    std::string m_discFolder;
    evPhotograph* m_studio = nullptr;
    std::string m_durationText;
    ProgressCallback m_progress;
};
