#include "presentation/DiscProducer.h"

#include "model/ObjectStream.h"
#include "model/PageOrder.h"
#include "model/PreparedPictures.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPhotograph.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "platform/AtomicFile.h"
#include "platform/Dates.h"
#include "platform/Resources.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <map>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Runs one step of finishing; any failure becomes the step's code.
template <class Step>
void RunStep(const char* code, Step step)
{
    try {
        step();
    } catch (const EFinishError&) {
        throw;
    } catch (const EStreamError& error) {
        throw EFinishError(code, error.what(), error.GetFile(), error.GetSystemError());
    } catch (const std::exception& error) {
        throw EFinishError(code, error.what());
    }
}

// An existing folder is used as it is; a file in its place is a failure.
void CreateFolder(const std::string& path)
{
    if (path.empty())
        throw EFCreateError("No folder was chosen");
    std::error_code error;
    if (fs::is_directory(path, error))
        return;
    if (fs::exists(path, error))
        throw EFCreateError("\"" + path + "\" is a file, not a folder");
    if (!fs::create_directory(path, error) && !fs::is_directory(path))
        throw EFCreateError("Cannot create the folder \"" + path + "\": " + error.message());
}

// The browser album's staging folders (".web-new-<pid>-<n>", ".web-old-<pid>") of a finish that was killed part
// way; the folders of a finish still running elsewhere stay.
void RemoveStaleWebFolders(const std::string& folder)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        std::string rest;
        for (const char* prefix : {".web-new-", ".web-old-"}) {
            if (name.rfind(prefix, 0) == 0)
                rest = name.substr(std::string(prefix).size());
        }
        const std::string digits = rest.substr(0, rest.find('-'));
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t owner = static_cast<pid_t>(std::stol(digits));
        std::error_code ignored;
        if (owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH && !entry.is_symlink(ignored))
            fs::remove_all(entry.path(), ignored);
    }
}

} // namespace

EFinishError::EFinishError(std::string code, const std::string& detail, std::string file, int systemError)
    : EVelloraError(code + ": " + detail), m_code(std::move(code)), m_file(std::move(file)), m_systemError(systemError)
{}

std::string FinishErrorPopupText(const std::string& code)
{
    return "Internal Error: " + code + ". Please contact our support.";
}

std::string FinishErrorExplanation(const std::string& code)
{
    static const std::map<std::string, std::string> explanations = {
        {"FIN_DIR", "The disc folder could not be created. Choose a folder on a drive that you may write to "
                    "and that has free space, for example one in your home folder, and finish again."},
        {"FIN_DIR_DATA", "The folder \"data\" inside the disc folder could not be created. A file of that name may "
                         "stand in its way, or the drive is write-protected. Remove the file or choose another "
                         "folder, and finish again."},
        {"FIN_PRJ", "The presentation could not be written. The drive may be full, or a page could not be drawn "
                    "(a damaged photograph, for instance). Free some space or check the pages of your album, "
                    "and finish again."},
        {"FIN_PLY", "The player program could not be copied into the disc folder. Make sure the drive has free "
                    "space and is not write-protected, and finish again."},
        {"FIN_AUT", "The autorun file could not be written into the disc folder. Make sure the drive has free "
                    "space and is not write-protected, and finish again."},
        {"FIN_ICO", "The disc icon could not be written into the disc folder. Make sure the drive has free space "
                    "and is not write-protected, and finish again."},
    };
    const auto found = explanations.find(code);
    if (found != explanations.end())
        return found->second;
    return "Finishing did not complete. Choose another folder and finish again.";
}

// Without a chosen folder there is no disc folder (finishing then fails at its first step), never one in
// whatever the current folder happens to be.
std::string DiscFolderFor(const std::string& chosenFolder)
{
    if (chosenFolder.empty())
        return {};
    if (chosenFolder.back() == '/')
        return chosenFolder + "Vellora";
    return chosenFolder + "/Vellora";
}

bool HoldsDisc(const std::string& discFolder)
{
    std::error_code error;
    return !discFolder.empty() && fs::exists(fs::path(discFolder) / DiscProducer::kPresentationFile, error);
}

std::optional<int32_t> ParseStudioDuration(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    // A leading "+" may only stand before digits; from_chars takes a "-" itself.
    if (*begin == '+' && ++begin != end && (*begin < '0' || *begin > '9'))
        return std::nullopt;
    int32_t value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

DiscProducer::DiscProducer(evProject& project, std::string discFolder)
    : m_project(project), m_discFolder(std::move(discFolder))
{}

void DiscProducer::SetStudio(evPhotograph* record, std::string durationText)
{
    m_studio = record;
    m_durationText = std::move(durationText);
}

int32_t DiscProducer::StudioDuration() const
{
    if (!m_studio)
        return 0;
    const std::optional<int32_t> duration = ParseStudioDuration(m_durationText);
    if (!duration)
        throw EStudioDurationError("The studio page's duration \"" + ToDisplayUtf8(m_durationText) +
                                   "\" is not a whole number of seconds");
    return *duration;
}

void DiscProducer::Produce()
{
    m_warnings.clear();
    const int32_t duration = StudioDuration();
    const std::string folder = m_discFolder;
    RunStep("FIN_DIR", [&] { CreateFolder(folder); });
    RunStep("FIN_DIR_DATA", [&] { CreateFolder(folder + "/data"); });
    // A finish that was killed part way may have left its temporaries; they must not reach the disc.
    RemoveStaleTemporariesIn(folder);
    RemoveStaleTemporariesIn(folder + "/data");
    RemoveStaleWebFolders(folder);
    WebExport web(folder);
    RunStep("FIN_PRJ", [&] { WritePresentation(duration, web); });
    Passed(kPresentationFile);
    RunStep("FIN_PLY", [&] {
        SaveExecutableResourceToFile("PROJECTOR", folder + "/" + kPlayerFile);
        Passed(kPlayerFile);
        SaveResourceToFile("WINSTARTER", folder + "/" + kStarterFile);
        Passed(kStarterFile);
    });
    RunStep("FIN_AUT", [&] { SaveResourceToFile("AUTORUN", folder + "/" + kAutorunFile); });
    Passed(kAutorunFile);
    RunStep("FIN_ICO", [&] { SaveResourceToFile("AUTORUNICON", folder + "/" + kIconFile); });
    Passed(kIconFile);
    m_warnings = web.GetWarnings();
}

// A presentation file that stops half-way is of no use to the player, and a good one from an earlier run is
// worth keeping until the new one is complete. The browser album is made from the same pages and replaces the
// previous one once the presentation file is in place.
void DiscProducer::WritePresentation(int32_t duration, WebExport& web) const
{
    AtomicWriter writer(m_discFolder + "/" + kPresentationFile);
    WritePresentationTo(writer.GetStream(), duration, web);
    writer.Commit();
    web.Commit();
}

void DiscProducer::WritePresentationTo(Stream& stream, int32_t duration, WebExport& web) const
{
    const evLayout* design = m_project.GetDesign();
    if (!design)
        throw EVelloraError("The project has no design");
    std::vector<evCategory*> pages;
    PageOrder::Flatten(m_project.GetFirstCategory(), pages, true);
    web.Begin(ToDisplayUtf8(m_project.GetTitle()), ToDisplayUtf8(ShortDateText(m_project.GetDate())),
              design->GetBackgroundColour(), WebExport::kPageWidth, WebExport::kPageHeight);
    stream.WriteInt32(design->GetBackgroundColour());
    stream.WriteInt32(static_cast<int32_t>(pages.size()));
    WritePages(stream, pages, web);
    WriteObject(stream, m_project.GetMusic());
    web.SetMusic(m_project.GetMusic(), m_webMusic);
    if (m_studio) {
        const std::unique_ptr<evProjectorPage> studioPage = m_studio->CreatePresentationPage();
        WriteObject(stream, studioPage.get());
        web.SetStudio(studioPage.get(), duration);
    } else {
        WriteObject(stream, nullptr);
    }
    stream.WriteInt32(m_studio ? duration : 0);
}

// A page whose rendering failed would reach the disc half drawn, so it ends finishing instead.
// Pages are rendered and written one at a time, in order, on this thread; worker threads scale and encode the
// pictures of the next few pages meanwhile (see PreparedPictures), so memory stays flat in the page count.
void DiscProducer::WritePages(Stream& stream, const std::vector<evCategory*>& pages, WebExport& web) const
{
    const size_t count = pages.size();
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const size_t lookAhead = static_cast<size_t>(workers) + 1;
    PreparedPictures prepared(workers);
    size_t queued = 0;
    for (size_t i = 0; i < count; ++i) {
        Report(static_cast<int>(i * 100 / count));
        for (; queued < count && queued <= i + lookAhead; ++queued)
            prepared.Prepare(static_cast<int32_t>(queued), *pages[queued]);
        std::unique_ptr<evProjectorPage> page;
        {
            const PreparedPictures::Scope scope(prepared, static_cast<int32_t>(i));
            page = pages[i]->CreatePresentationPage();
        }
        prepared.Discard(static_cast<int32_t>(i));
        if (pages[i]->RenderFailed())
            throw EVelloraError("Page " + std::to_string(i + 1) + " (\"" + ToDisplayUtf8(pages[i]->GetTitle()) +
                                "\") could not be drawn");
        page->SaveToStream(stream);
        web.AddPage(*page, pages[i]->GetTitle());
        Passed("page " + std::to_string(i + 1));
    }
    Report(100);
}

void DiscProducer::Report(int percent) const
{
    if (m_progress)
        m_progress(percent);
}

void DiscProducer::Passed(const std::string& step) const
{
    if (m_stepObserver)
        m_stepObserver(step);
}
