#pragma once
// The synthetic album of the finishing and video benchmarks (a 1024 x 768 design with a background, three photograph
// slots, a title, Exit, Back, Sound and Next buttons, and a slide-show page layout), and the measuring helpers they
// share: wall and processor time of a run, and the resident memory's high-water mark.

#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Jpeg.h"

#include "BenchSupport.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace benchalbum {

constexpr int kPhotoWidth = 1732;
constexpr int kPhotoHeight = 1155;
constexpr int kDistinctPhotos = 24;
constexpr int kSlotsPerPage = 3;
constexpr int kSlidesPerShow = 3;
constexpr int kSlotWidth = 320;
constexpr int kSlotHeight = 240;
constexpr int32_t kBackgroundId = 1;
constexpr int32_t kPageLayoutId = 10;
constexpr int32_t kSlideLayoutId = 11;

// The photographs and the page background, set up by the benchmark's main.
inline std::vector<JpegImage>* g_photos = nullptr;
inline JpegImage* g_background = nullptr;

struct Seconds {
    double wall = 0;
    double processor = 0;
};

inline double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Measures one run of the work into the totals.
template <class Work>
void Measure(Seconds& total, Work work)
{
    const double processor = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    total.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    total.processor += ProcessorSeconds() - processor;
}

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
inline int64_t StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(prefix, 0) == 0)
            return std::stoll(line.substr(prefix.size()));
    }
    return 0;
}

// Resets the high-water mark of the resident memory to the current value; false where the kernel refuses.
inline bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// A fixed label field placed by an entry, and the action element that draws it.
inline void AddButton(evPageLayout& layout, int32_t id, int32_t type, const TRect& rect)
{
    auto field = WithID(std::make_unique<evUserTextfield>("label", "", "DejaVu Sans", 0, 14, true, false, false, 1,
                                                          rect.Width(), rect.Height()),
                        id);
    field->SetFixed(1);
    layout.AddOwnElement(std::move(field));
    layout.GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(rect.Left, rect.Top, 0, id), id + 1));
    auto action = std::make_unique<evActionElement>("button", type, rect.Left, rect.Top, rect.Width(), rect.Height());
    action->SetLabel(id + 1);
    layout.AddActionElement(WithID(std::move(action), id + 2));
}

inline std::unique_ptr<evPageLayout> BuildPageLayout(int32_t id, bool slideShow)
{
    auto layout = WithID(std::make_unique<evPageLayout>(nullptr, "page", "Page", "", slideShow ? 4 : 1), id);
    layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(0, 0, 0, kBackgroundId));
    const int slotCount = slideShow ? 1 : kSlotsPerPage;
    for (int slot = 0; slot < slotCount; ++slot) {
        const int32_t slotId = id * 100 + slot;
        auto picture = WithID(std::make_unique<evUserPicture>("slot", kSlotWidth, kSlotHeight), slotId);
        picture->SetFixed(slideShow ? 1 : 0);
        layout->AddOwnElement(std::move(picture));
        layout->GetEntries().Add(
            WithID(std::make_unique<evPageLayoutEntry>(20 + slot * 332, 220, 0, slotId), slotId + 10));
    }
    AddButton(*layout, id * 100 + 20, atPageTitle, Rect(112, 40, 912, 100));
    AddButton(*layout, id * 100 + 30, atExit, Rect(120, 700, 270, 740));
    AddButton(*layout, id * 100 + 40, atBack, Rect(320, 700, 470, 740));
    AddButton(*layout, id * 100 + 50, atSound, Rect(520, 700, 670, 740));
    layout->AddActionElement(
        WithID(std::make_unique<evActionElement>("next", atNextSibling, 754, 700, 150, 40), id * 100 + 60));
    if (slideShow) {
        auto show = std::make_unique<evActionElement>("show", atSlideShow, 20, 220, kSlotWidth, kSlotHeight);
        show->SetFirstSlot(id * 100 + 10);
        show->SetValueA(3000);
        layout->AddActionElement(WithID(std::move(show), id * 100 + 70));
    }
    return layout;
}

inline std::unique_ptr<evLayout> BuildDesign()
{
    auto design = std::make_unique<evLayout>("Bench", "", 1024, 768);
    design->SetBackgroundColour(0x00102030);
    design->GetElementsA().Add(WithID(std::make_unique<evPicture>("background", *g_background), kBackgroundId));
    design->AddPageLayout(BuildPageLayout(kPageLayoutId, false));
    design->AddPageLayout(BuildPageLayout(kSlideLayoutId, true));
    return design;
}

// Chapters of ten pages: a top-level page and nine pages below it; isSlideShow(page) says which pages are slide
// shows of kSlidesPerShow photographs.
template <class IsSlideShow>
std::unique_ptr<evProject> BuildAlbum(int pages, IsSlideShow isSlideShow)
{
    std::unique_ptr<evCategory> first;
    evCategory* chapter = nullptr;
    int photo = 0;
    for (int page = 0; page < pages; ++page) {
        const bool slideShow = isSlideShow(page);
        auto category = std::make_unique<evCategory>("Page " + std::to_string(page + 1), "", false, 3);
        category->SetPageLayoutID(slideShow ? kSlideLayoutId : kPageLayoutId);
        const int photos = slideShow ? kSlidesPerShow : kSlotsPerPage;
        for (int i = 0; i < photos; ++i) {
            const int32_t slot = slideShow ? kSlideLayoutId * 100 + 70 : kPageLayoutId * 100 + i;
            const JpegImage& jpeg = (*g_photos)[static_cast<size_t>(photo++ % kDistinctPhotos)];
            category->AddUserElement(slot, std::make_unique<evPicture>("photo", jpeg));
        }
        evCategory* raw = category.get();
        if (!first)
            first = std::move(category);
        else if (page % 10 == 0)
            first->AppendSibling(std::move(category));
        else
            chapter->AddChild(std::move(category));
        if (page % 10 == 0)
            chapter = raw;
    }
    auto project = std::make_unique<evProject>("Anna", "Ben", 38000.0, "Bench.evl", std::move(first));
    project->SetDesign(BuildDesign());
    return project;
}

} // namespace benchalbum
