#include "presentation/Preflight.h"

#include "model/PageOrder.h"
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Errors.h"
#include "platform/Text.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace {

constexpr const char* kPathSeparator = " / ";
// A path longer than this keeps its end: the page's own title and the chapters just above it say the most.
constexpr size_t kMaxPathBytes = 240;
// Beyond this many pieces the free part of a click area is not worked out further; such a page (only a damaged
// design makes one) counts the area as clickable rather than spending unbounded time on it.
constexpr size_t kMaxRectPieces = 4096;
constexpr size_t kMaxQuotedText = 40;

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c <= ' '; });
}

std::string Trimmed(const std::string& text)
{
    const auto isSpace = [](unsigned char c) { return c <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

// Tabs and line ends would break the one-finding-a-line output.
std::string OneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string Title(const evCategory& category)
{
    const std::string title = OneLine(ToDisplayUtf8(category.GetTitle()));
    return IsBlank(title) ? std::string("(untitled page)") : title;
}

std::string JoinPath(const std::string& prefix, const std::string& title)
{
    std::string path = prefix.empty() ? title : prefix + kPathSeparator + title;
    if (path.size() <= kMaxPathBytes)
        return path;
    size_t cut = path.size() - kMaxPathBytes;
    while (cut < path.size() && (static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80)
        ++cut; // never inside a UTF-8 sequence
    return "..." + path.substr(cut);
}

std::string Quoted(const std::string& raw)
{
    std::string text = OneLine(ToDisplayUtf8(Trimmed(raw)));
    if (text.size() > kMaxQuotedText) {
        size_t cut = kMaxQuotedText;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text = text.substr(0, cut) + "...";
    }
    return "\"" + text + "\"";
}

std::string SlotName(const evDrawableElement& slot)
{
    const std::string name = OneLine(ToDisplayUtf8(slot.GetName()));
    return name.empty() ? "the picture slot" : "the picture slot " + Quoted(slot.GetName());
}

template <class T>
struct PlacedSlot {
    T* element = nullptr;
    TRect rect;
    explicit operator bool() const { return element != nullptr; }
};

// A page layout entry and the element it places, as the page layout draws it.
template <class T>
PlacedSlot<T> ResolveSlot(evPageLayout& layout, const evPageLayoutEntry& entry)
{
    auto* element = dynamic_cast<T*>(layout.FindByID(entry.GetElementID()));
    if (!element)
        element = dynamic_cast<T*>(layout.ResolveEntryElement(entry.GetElementID()));
    if (!element)
        return {};
    return {element, Rect(entry.GetLeft(), entry.GetTop(), entry.GetLeft() + element->GetWidth(),
                          entry.GetTop() + element->GetHeight())};
}

template <class T>
PlacedSlot<T> ResolveSlotById(evPageLayout& layout, int32_t entryId)
{
    const auto* entry = entryId != 0 ? dynamic_cast<const evPageLayoutEntry*>(layout.FindByID(entryId)) : nullptr;
    return entry ? ResolveSlot<T>(layout, *entry) : PlacedSlot<T>{};
}

const evPicture* PhotographOf(const evObject* element)
{
    const auto* picture = dynamic_cast<const evPicture*>(element);
    return picture && !picture->GetImageStream().empty() ? picture : nullptr;
}

std::vector<const evPicture*> PhotographsFiledUnder(const evCategory& page, int32_t slotId)
{
    std::vector<const evPicture*> photographs;
    const evObjectCollection& elements = page.GetUserElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const auto* entry = elements.GetItemAs<evCategoryEntry>(i);
        if (!entry || entry->GetSlotID() != slotId)
            continue;
        if (const evPicture* photograph = PhotographOf(entry->GetElement()))
            photographs.push_back(photograph);
    }
    return photographs;
}

class PageContentCheck {
public:
    PageContentCheck(const evCategory& page, evPageLayout& layout, const std::string& path)
        : m_page(page), m_layout(layout), m_path(path)
    {}

    std::vector<PreflightFinding> Run()
    {
        const evObjectCollection& entries = m_layout.GetEntries();
        for (int32_t i = 0; i < entries.Count(); ++i) {
            if (const auto* entry = entries.GetItemAs<evPageLayoutEntry>(i)) {
                CheckPictureSlot(ResolveSlot<evUserPicture>(m_layout, *entry));
                CheckTextSlot(ResolveSlot<evUserTextfield>(m_layout, *entry));
            }
        }
        const evObjectCollection& actions = m_layout.GetActionElements();
        for (int32_t i = 0; i < actions.Count(); ++i) {
            if (const auto* action = actions.GetItemAs<evActionElement>(i))
                CheckAction(*action);
        }
        return std::move(m_findings);
    }

private:
    void Add(PreflightKind kind, std::string detail) { m_findings.push_back({m_path, kind, std::move(detail)}); }

    void CheckPictureSlot(const PlacedSlot<evUserPicture>& slot)
    {
        if (!slot || slot.element->GetFixed() != 0)
            return;
        const evPicture* photograph = PhotographOf(m_page.FindUserElement(slot.element->GetID()));
        if (!photograph)
            Add(PreflightKind::EmptyPicture, SlotName(*slot.element) + " has no photograph");
        else
            CheckResolution(*photograph, *slot.element, slot.rect);
    }

    void CheckTextSlot(const PlacedSlot<evUserTextfield>& slot)
    {
        if (!slot || slot.element->GetFixed() != 0)
            return;
        const std::string& sample = slot.element->GetText();
        const auto* own = dynamic_cast<const evUserTextfield*>(m_page.FindUserElement(slot.element->GetID()));
        if (own && IsBlank(own->GetText()))
            Add(PreflightKind::EmptyText, "a text field was emptied and shows as a dark red box");
        else if (!IsBlank(sample) && (!own || Trimmed(own->GetText()) == Trimmed(sample)))
            Add(PreflightKind::TemplateText, "the text " + Quoted(sample) + " is the design's sample text");
    }

    void CheckAction(const evActionElement& action)
    {
        switch (action.GetActionType()) {
        case atSlideShow:
        case atFilmStrip: CheckCollection(action); break;
        case atEnlargeOnHover: CheckEnlarged(action); break;
        default: break;
        }
    }

    void CheckCollection(const evActionElement& action)
    {
        const bool slideShow = action.GetActionType() == atSlideShow;
        const std::vector<const evPicture*> photographs = PhotographsFiledUnder(m_page, action.GetID());
        if (photographs.empty()) {
            Add(PreflightKind::EmptyCollection,
                slideShow ? "the slide show has no photographs" : "the film strip has no photographs");
            return;
        }
        const PlacedSlot<evUserPicture> slot = ResolveSlotById<evUserPicture>(m_layout, action.GetFirstSlot());
        if (!slideShow || !slot)
            return; // film-strip thumbnails are small by design
        for (const evPicture* photograph : photographs)
            CheckResolution(*photograph, *slot.element, slot.rect);
    }

    // The small photograph is the user's; the same photograph appears large in the second slot.
    void CheckEnlarged(const evActionElement& action)
    {
        const PlacedSlot<evUserPicture> first = ResolveSlotById<evUserPicture>(m_layout, action.GetFirstSlot());
        if (!first)
            return;
        const evPicture* photograph = PhotographOf(m_page.FindUserElement(first.element->GetID()));
        if (!photograph) {
            if (first.element->GetFixed() != 0) // a free slot was reported with the entries
                Add(PreflightKind::EmptyPicture, SlotName(*first.element) + " has no photograph");
            return;
        }
        if (const PlacedSlot<evUserPicture> second = ResolveSlotById<evUserPicture>(m_layout, action.GetSecondSlot()))
            CheckResolution(*photograph, *second.element, second.rect);
    }

    // The place is where the slot draws the photograph (fitted into the slot, or into the slot turned, which
    // follows the photograph's own orientation); one pixel less on a side is rounding, not softness.
    void CheckResolution(const evPicture& photograph, const evUserPicture& slot, const TRect& slotRect)
    {
        const TRect place = slot.GetPictureRect(&photograph, slotRect);
        const int64_t width = photograph.GetWidth();
        const int64_t height = photograph.GetHeight();
        const int64_t shownWidth = place.Width();
        const int64_t shownHeight = place.Height();
        if ((width + 1) * (height + 1) >= shownWidth * shownHeight)
            return;
        Add(PreflightKind::LowResolution, "a photograph of " + std::to_string(width) + " x " + std::to_string(height) +
                                              " pixels is shown at " + std::to_string(shownWidth) + " x " +
                                              std::to_string(shownHeight) + " and will look soft");
    }

    const evCategory& m_page;
    evPageLayout& m_layout;
    const std::string& m_path;
    std::vector<PreflightFinding> m_findings;
};

// Closed integer rectangles: a pointer at (x, y) is inside when left <= x <= right and top <= y <= bottom.
struct Area {
    int64_t left, top, right, bottom;
    bool IsEmpty() const { return left > right || top > bottom; }
};

Area Intersect(const Area& a, const Area& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// The parts of each piece that the cover leaves free.
void Subtract(std::vector<Area>& pieces, const Area& cover)
{
    std::vector<Area> rest;
    for (const Area& piece : pieces) {
        const Area common = Intersect(piece, cover);
        if (common.IsEmpty()) {
            rest.push_back(piece);
            continue;
        }
        const Area parts[] = {{piece.left, piece.top, piece.right, common.top - 1},
                              {piece.left, common.bottom + 1, piece.right, piece.bottom},
                              {piece.left, common.top, common.left - 1, common.bottom},
                              {common.right + 1, common.top, piece.right, common.bottom}};
        for (const Area& part : parts) {
            if (!part.IsEmpty())
                rest.push_back(part);
        }
    }
    pieces = std::move(rest);
}

} // namespace

const char* PreflightKindName(PreflightKind kind)
{
    switch (kind) {
    case PreflightKind::Unreachable: return "unreachable";
    case PreflightKind::NoLayout: return "no-layout";
    case PreflightKind::NotDrawable: return "not-drawable";
    case PreflightKind::DamagedPicture: return "damaged-picture";
    case PreflightKind::EmptyPicture: return "empty-picture";
    case PreflightKind::EmptyCollection: return "empty-slide-show";
    case PreflightKind::TemplateText: return "template-text";
    case PreflightKind::EmptyText: return "empty-text";
    case PreflightKind::LowResolution: return "low-resolution";
    case PreflightKind::UnplayableMusic: return "music";
    }
    return "unknown";
}

// A damaged photograph stops its page from being drawn, and with it finishing: it cannot be seen either.
PreflightSeverity SeverityOf(PreflightKind kind)
{
    switch (kind) {
    case PreflightKind::Unreachable:
    case PreflightKind::NoLayout:
    case PreflightKind::NotDrawable:
    case PreflightKind::DamagedPicture: return PreflightSeverity::CannotBeSeen;
    default: return PreflightSeverity::LooksUnfinished;
    }
}

std::string PreflightFinding::ToLine() const
{
    return OneLine(pagePath) + "\t" + PreflightKindName(kind) + "\t" + OneLine(detail);
}

PreflightCounts CountFindings(const std::vector<PreflightFinding>& findings)
{
    PreflightCounts counts;
    for (const PreflightFinding& finding : findings) {
        if (finding.GetSeverity() == PreflightSeverity::CannotBeSeen)
            ++counts.cannotBeSeen;
        else
            ++counts.looksUnfinished;
    }
    return counts;
}

std::string PreflightSummary(const std::vector<PreflightFinding>& findings)
{
    const PreflightCounts counts = CountFindings(findings);
    if (counts.cannotBeSeen == 0 && counts.looksUnfinished == 0)
        return "Nothing to finish: every page can be reached and is complete";
    return std::to_string(counts.cannotBeSeen) + " cannot be seen, " + std::to_string(counts.looksUnfinished) +
           (counts.looksUnfinished == 1 ? " looks unfinished" : " look unfinished");
}

std::vector<PreflightFinding> CheckPageContent(const evCategory& page, const std::string& pagePath)
{
    evPageLayout* layout = page.GetPageLayout();
    if (!layout)
        return {};
    return PageContentCheck(page, *layout, pagePath).Run();
}

std::vector<int32_t> ClickableTargets(const evProjectorPage& page, int32_t width, int32_t height)
{
    const Area viewer{0, 0, int64_t{width} - 1, int64_t{height} - 1};
    const evObjectCollection& actions = page.GetNaviActions();
    std::vector<Area> earlier;
    std::vector<int32_t> targets;
    for (int32_t i = 0; i < actions.Count(); ++i) {
        const auto* action = actions.GetItemAs<evProjectorNaviAction>(i);
        if (!action)
            continue;
        const TRect& rect = action->GetRect();
        const Area own = Intersect({rect.Left, rect.Top, rect.Right, rect.Bottom}, viewer);
        earlier.push_back(own);
        if (own.IsEmpty())
            continue;
        std::vector<Area> free{own};
        for (size_t k = 0; k + 1 < earlier.size() && !free.empty() && free.size() <= kMaxRectPieces; ++k)
            Subtract(free, earlier[k]);
        const int32_t target = action->GetTarget();
        if (!free.empty() && std::find(targets.begin(), targets.end(), target) == targets.end())
            targets.push_back(target);
    }
    return targets;
}

PreflightCheck::PreflightCheck(evProject& project) : m_project(project) {}

// The pages in the order finishing writes them (PageOrder::Flatten, only included), with their title paths.
// An included page without a page layout is not written, and neither is anything below it.
void PreflightCheck::CollectPages(std::vector<Page>& listed, std::vector<PreflightFinding>& findings) const
{
    struct Pending {
        evCategory* category;
        std::string prefix;
    };
    std::vector<Pending> stack{{m_project.GetFirstCategory(), std::string()}};
    while (!stack.empty()) {
        Pending current = std::move(stack.back());
        stack.pop_back();
        evCategory* category = current.category;
        if (!category)
            continue;
        std::string path = JoinPath(current.prefix, Title(*category));
        if (category->GetNext())
            stack.push_back({category->GetNext(), current.prefix});
        if (!category->IsIncluded())
            continue;
        if (category->GetPageLayoutID() == 0) {
            const int32_t below = PageOrder::CountIncluded(category, true);
            findings.push_back({path, PreflightKind::NoLayout,
                                below == 0
                                    ? "no page layout is chosen, so the page is left off the disc"
                                    : "no page layout is chosen, so the page and the " + std::to_string(below) +
                                          (below == 1 ? " page" : " pages") + " below it are left off the disc"});
            continue;
        }
        if (category->GetSub())
            stack.push_back({category->GetSub(), path});
        listed.push_back({category, std::move(path)});
    }
}

void PreflightCheck::WalkPages(const std::vector<Page>& pages, std::vector<PreflightFinding>& findings) const
{
    const size_t count = pages.size();
    std::vector<std::vector<int32_t>> links(count);
    for (size_t i = 0; i < count; ++i) {
        Report(static_cast<int>(i * 100 / count));
        evCategory& category = *pages[i].category;
        const std::unique_ptr<evProjectorPage> page = category.CreatePresentationPage();
        if (category.RenderFailed()) {
            findings.push_back({pages[i].path, PreflightKind::NotDrawable,
                                category.GetPageLayout() ? "the page cannot be drawn, so finishing would stop"
                                                         : "its page layout is not in the design, so finishing "
                                                           "would stop"});
            continue;
        }
        for (const int32_t target : ClickableTargets(*page, kViewerWidth, kViewerHeight)) {
            if (target >= 0 && static_cast<size_t>(target) < count)
                links[i].push_back(target);
        }
    }
    Report(100);
    // Every page is visited once, so cycles and dangling targets end the walk like any other link.
    std::vector<bool> reached(count, false);
    std::deque<size_t> queue;
    if (count > 0) {
        reached[0] = true;
        queue.push_back(0);
    }
    while (!queue.empty()) {
        const size_t index = queue.front();
        queue.pop_front();
        for (const int32_t target : links[index]) {
            if (!reached[static_cast<size_t>(target)]) {
                reached[static_cast<size_t>(target)] = true;
                queue.push_back(static_cast<size_t>(target));
            }
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (reached[i])
            continue;
        const evCategory* parent = pages[i].category->GetEffectiveParent();
        std::string detail = "no click on the disc leads to this page";
        if (parent)
            detail += "; the page above it, " + Quoted(parent->GetTitle()) + ", has no menu entry for it";
        findings.push_back({pages[i].path, PreflightKind::Unreachable, std::move(detail)});
    }
}

// A photograph that cannot be decoded stops its page from being drawn.
void PreflightCheck::CheckPictures(const Page& page, std::vector<PreflightFinding>& findings) const
{
    const evObjectCollection& elements = page.category->GetUserElements();
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const auto* entry = elements.GetItemAs<evCategoryEntry>(i);
        const evPicture* photograph = entry ? PhotographOf(entry->GetElement()) : nullptr;
        if (!photograph)
            continue;
        try {
            photograph->Decode();
        } catch (const EVelloraError&) {
            findings.push_back({page.path, PreflightKind::DamagedPicture,
                                "a photograph" +
                                    (photograph->GetName().empty() ? "" : " in " + Quoted(photograph->GetName())) +
                                    " is damaged and cannot be shown"});
        }
    }
}

void PreflightCheck::CheckMusic(std::vector<PreflightFinding>& findings) const
{
    const evObject* music = m_project.GetMusic();
    if (!music || !m_music.describe)
        return;
    const std::optional<WebMusicTrack> track = m_music.describe(*music);
    if (!track)
        findings.push_back({"Music", PreflightKind::UnplayableMusic, "the music has no sound to play"});
    else if (track->extension.empty())
        findings.push_back({"Music", PreflightKind::UnplayableMusic,
                            "\"" + OneLine(track->title) + "\" is in no sound format the players can play"});
}

// What cannot be seen comes first, each group in page order, the music last of its group.
std::vector<PreflightFinding> PreflightCheck::Run()
{
    std::vector<Page> pages;
    std::vector<PreflightFinding> findings;
    CollectPages(pages, findings);
    if (m_walkPages)
        WalkPages(pages, findings);
    for (const Page& page : pages) {
        if (m_walkPages)
            CheckPictures(page, findings);
        for (PreflightFinding& finding : CheckPageContent(*page.category, page.path))
            findings.push_back(std::move(finding));
    }
    CheckMusic(findings);
    std::stable_partition(findings.begin(), findings.end(), [](const PreflightFinding& finding) {
        return finding.GetSeverity() == PreflightSeverity::CannotBeSeen;
    });
    return findings;
}

void PreflightCheck::Report(int percent) const
{
    if (m_progress)
        m_progress(percent);
}
