#pragma once
// The check before a disc is made: what the finished disc would hide or show unfinished, page by page.
//
// It lives here rather than in the model because the one finding that matters most, a page the player cannot
// reach, is decided on the presentation pages that finishing writes: every page is rendered as finishing renders
// it, and the navigation actions are followed with the player's own rules (the first action whose rectangle
// holds the pointer takes the click; targets 0 .. N-1 are pages, every other target leads to no page). The
// rest looks at the album without rendering and is cheap enough for the project menu and the timeline.
//
// Findings carry the page's title path ("Ceremony / The bride"), a kind and a detail. Their severity is
// "cannot be seen" (the page or picture does not reach the disc or the viewer) or "looks unfinished".

#include "model/WebMusicAccess.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class evCategory;
class evProject;
class evProjectorPage;

enum class PreflightSeverity { CannotBeSeen, LooksUnfinished };

enum class PreflightKind {
    Unreachable,     // no chain of clicks leads from the first page to it
    NoLayout,        // included but without a page layout: it and its sub-pages drop out of the disc
    NotDrawable,     // its page layout is missing or the page cannot be rendered, so finishing would stop
    DamagedPicture,  // a photograph whose data cannot be decoded
    EmptyPicture,    // a picture slot without a photograph (a dark red box on the disc)
    EmptyCollection, // a slide show or film strip without photographs
    TemplateText,    // a text field that still shows the design's sample text
    EmptyText,       // a text field the user emptied (a dark red box on the disc)
    LowResolution,   // a photograph with fewer pixels than its place on the page: it will look soft
    UnplayableMusic, // the project's music is in no format the players know
};

// "unreachable", "no-layout", "not-drawable", "damaged-picture", "empty-picture", "empty-slide-show",
// "template-text", "empty-text", "low-resolution", "music": the kind column of vellora-cli check.
const char* PreflightKindName(PreflightKind kind);
PreflightSeverity SeverityOf(PreflightKind kind);

struct PreflightFinding {
    std::string pagePath; // UTF-8, titles joined by " / "; "Music" for the project's music
    PreflightKind kind;
    std::string detail; // UTF-8

    PreflightSeverity GetSeverity() const { return SeverityOf(kind); }
    // page-path TAB kind TAB detail, without tabs or line ends inside the fields.
    std::string ToLine() const;
};

struct PreflightCounts {
    int cannotBeSeen = 0;
    int looksUnfinished = 0;
};
PreflightCounts CountFindings(const std::vector<PreflightFinding>& findings);
// "2 cannot be seen, 5 look unfinished" or "Nothing to finish: every page can be reached and is complete".
std::string PreflightSummary(const std::vector<PreflightFinding>& findings);

// What a page's own content still lacks, without rendering: empty slots, empty slide shows and film strips,
// sample and emptied texts, photographs with too few pixels. The page needs its project (for the design).
std::vector<PreflightFinding> CheckPageContent(const evCategory& page, const std::string& pagePath);

// The navigation targets a viewer of width x height can click on the page, in the order of the actions, each
// once. An action hidden under earlier ones, or lying outside the viewer, leads nowhere.
std::vector<int32_t> ClickableTargets(const evProjectorPage& page, int32_t width, int32_t height);

class PreflightCheck {
public:
    static constexpr int32_t kViewerWidth = 1024;
    static constexpr int32_t kViewerHeight = 768;

    using ProgressCallback = std::function<void(int percent)>;

    // The project with its design attached.
    explicit PreflightCheck(evProject& project);

    // With the walk (the default) every page is rendered as finishing renders it and every photograph is
    // decoded; without it the check needs no rendering (the project menu's status line).
    void SetWalkPages(bool walk) { m_walkPages = walk; }
    // Told i / N x 100 before page i is rendered, and 100 at the end of the walk.
    void SetProgress(ProgressCallback progress) { m_progress = std::move(progress); }
    // How the project's music is recognised; without it the music is not looked at.
    void SetMusicAccess(WebMusicAccess access) { m_music = std::move(access); }

    // The findings in page order, the music last. Never raises for a damaged project: what cannot be looked
    // at becomes a finding.
    std::vector<PreflightFinding> Run();

private:
    struct Page {
        evCategory* category;
        std::string path;
    };

    void CollectPages(std::vector<Page>& listed, std::vector<PreflightFinding>& findings) const;
    void WalkPages(const std::vector<Page>& pages, std::vector<PreflightFinding>& findings) const;
    void CheckPictures(const Page& page, std::vector<PreflightFinding>& findings) const;
    void CheckMusic(std::vector<PreflightFinding>& findings) const;
    void Report(int percent) const;

    evProject& m_project;
    bool m_walkPages = true;
    ProgressCallback m_progress;
    WebMusicAccess m_music;
};
