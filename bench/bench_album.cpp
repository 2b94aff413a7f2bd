// An album of real-sized photographs: 60 pages of 5 photographs each (300 photographs), two thirds of them
// 2560 x 1600 and one third 4000 x 3000, in a 1024 x 768 design with two large and three small slots per page.
// The 2560 x 1600 photographs are the JPEG wallpapers of Debian's plasma-workspace-wallpapers (installed by
// scripts/install-deps.sh); the 4000 x 3000 ones are made from its 5120 x 2880 wallpapers at quality 90. Where
// the package is missing, or VELLORA_BENCH_PHOTO names a JPEG file, that photograph (or a synthetic one) is used.
//
// Reported in one run, each beside the same floor: decoding every photograph of the album once with djpeg
// (libjpeg-turbo's command-line decoder, one process per photograph, output discarded).
//   open    reading the saved project file (what opening an album in the program does)
//   finish  writing the disc folder of the album (data.evp, the browser album, the players)
//   peak    the resident memory that finishing needs above what the loaded album holds, at 30 and 60 pages
// And the picture: each page's photographs as finishing now draws them (decoded at a reduced DCT scale, then
// resampled) against the full-size decoding stretched into the same slot that finishing used before; the share of
// a page's pixels that differ by more than 8 levels in a channel, the largest over the album.
// Times are wall-clock; the machine may be shared, so the run prints processor time as well.
// VELLORA_BENCH_ALBUM_PAGES=n runs one album of n pages instead (for a run under a sanitizer).
#include "model/ProjectFile.h"
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"
#include "presentation/DiscProducer.h"

#include "BenchSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kPhotosPerPage = 5;
constexpr int32_t kBackgroundId = 1;
constexpr int32_t kPageLayoutId = 10;
// Two large slots above, three small ones below.
const TRect kSlots[kPhotosPerPage] = {
    {40, 120, 500, 420}, {524, 120, 984, 420}, {40, 450, 340, 650}, {362, 450, 662, 650}, {684, 450, 984, 650}};

struct Photo {
    std::string path; // the file djpeg decodes
    JpegImage jpeg;
};

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double ProcessorSeconds()
{
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) + seconds(children.ru_stime);
}

int64_t StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0)
            return std::stoll(line.substr(prefix.size()));
    return 0;
}

bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Wallpapers(const char* name)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/usr/share/wallpapers", error)) {
        const fs::path file = entry.path() / "contents/images" / name;
        if (fs::is_regular_file(file))
            found.push_back(file.string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The distinct photographs of the album, written as files into the folder for djpeg.
std::vector<Photo> LoadPhotos(const std::string& folder)
{
    std::vector<Photo> photos;
    auto add = [&](std::vector<uint8_t> bytes) {
        Photo photo;
        photo.path = folder + "/photo" + std::to_string(photos.size()) + ".jpg";
        WriteBytes(photo.path, bytes);
        photo.jpeg = JpegImage::FromBytes(std::move(bytes));
        photos.push_back(std::move(photo));
    };
    if (const char* given = std::getenv("VELLORA_BENCH_PHOTO"); given && fs::is_regular_file(given)) {
        add(FileBytes(given));
        return photos;
    }
    for (const std::string& path : Wallpapers("2560x1600.jpg"))
        add(FileBytes(path));
    const size_t small = photos.size();
    for (const std::string& path : Wallpapers("5120x2880.jpg")) {
        const QImage large = DecodeJpeg(FileBytes(path)).ToQImage();
        add(EncodeJpeg(Bitmap(large.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
    }
    if (photos.empty() || photos.size() == small) {
        std::printf("no JPEG wallpapers found: synthetic 4000 x 3000 photographs instead\n");
        for (uint32_t seed = 1; seed <= 3; ++seed)
            add(EncodeJpeg(SyntheticPhoto(4000, 3000, seed)));
    }
    return photos;
}

// The photograph at a place in the album: two of three from the 2560 x 1600 ones, one from the larger ones.
const Photo& PhotoAt(const std::vector<Photo>& photos, size_t small, int index)
{
    const size_t large = photos.size() - small;
    if (small == 0 || large == 0)
        return photos[static_cast<size_t>(index) % photos.size()];
    if (index % 3 == 2)
        return photos[small + static_cast<size_t>(index / 3) % large];
    return photos[static_cast<size_t>(index - index / 3) % small];
}

std::unique_ptr<evLayout> BuildDesign(const JpegImage& background)
{
    auto design = std::make_unique<evLayout>("Bench", "", 1024, 768);
    design->GetElementsA().Add(WithID(std::make_unique<evPicture>("background", background), kBackgroundId));
    auto layout = WithID(std::make_unique<evPageLayout>(nullptr, "page", "Page", "", 1), kPageLayoutId);
    layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(0, 0, 0, kBackgroundId));
    for (int slot = 0; slot < kPhotosPerPage; ++slot) {
        const int32_t id = 100 + slot;
        const TRect& rect = kSlots[slot];
        layout->AddOwnElement(WithID(std::make_unique<evUserPicture>("slot", rect.Width(), rect.Height()), id));
        layout->GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(rect.Left, rect.Top, 0, id), id + 10));
    }
    const int32_t title = 200;
    auto field = WithID(
        std::make_unique<evUserTextfield>("title", "", "DejaVu Sans", 0, 24, true, false, false, 1, 800, 60), title);
    field->SetFixed(1);
    layout->AddOwnElement(std::move(field));
    layout->GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(112, 30, 0, title), title + 1));
    auto action = std::make_unique<evActionElement>("title", atPageTitle, 112, 30, 800, 60);
    action->SetLabel(title + 1);
    layout->AddActionElement(WithID(std::move(action), title + 2));
    layout->AddActionElement(WithID(std::make_unique<evActionElement>("next", atNextSibling, 754, 700, 150, 40), 300));
    design->AddPageLayout(std::move(layout));
    return design;
}

std::unique_ptr<evProject> BuildAlbum(const std::vector<Photo>& photos, size_t small, int pages)
{
    std::unique_ptr<evCategory> first;
    int photo = 0;
    for (int page = 0; page < pages; ++page) {
        auto category = std::make_unique<evCategory>("Page " + std::to_string(page + 1), "", false, 3);
        category->SetPageLayoutID(kPageLayoutId);
        for (int slot = 0; slot < kPhotosPerPage; ++slot)
            category->AddUserElement(100 + slot,
                                     std::make_unique<evPicture>("photo", PhotoAt(photos, small, photo++).jpeg));
        if (!first)
            first = std::move(category);
        else
            first->AppendSibling(std::move(category));
    }
    return std::make_unique<evProject>("Anna", "Ben", 38000.0, "Bench.evl", std::move(first));
}

// Decodes every photograph of the album once with djpeg.
void DjpegFloor(const std::vector<Photo>& photos, size_t small, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string& path = PhotoAt(photos, small, i).path;
        const char* args[] = {"djpeg", "-outfile", "/dev/null", path.c_str(), nullptr};
        pid_t child = 0;
        if (posix_spawnp(&child, "djpeg", nullptr, nullptr, const_cast<char* const*>(args), environ) != 0) {
            std::printf("djpeg cannot be run: install libjpeg-turbo-progs\n");
            std::exit(1);
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
}

// Pixels of two equal-sized bitmaps that differ by more than the given levels in a channel.
int64_t CountDiffering(const Bitmap& a, const Bitmap& b, int levels)
{
    int64_t count = 0;
    for (int y = 0; y < a.Height(); ++y) {
        const uint8_t* p = a.ScanLine(y);
        const uint8_t* q = b.ScanLine(y);
        for (int x = 0; x < a.Width() * 3; x += 3)
            if (std::abs(p[x] - q[x]) > levels || std::abs(p[x + 1] - q[x + 1]) > levels ||
                std::abs(p[x + 2] - q[x + 2]) > levels)
                ++count;
    }
    return count;
}

// The largest share of a page's pixels that the scaled decoding changes against full-size decoding.
double LargestPageDifference(const std::vector<Photo>& photos, size_t small, int pages)
{
    double largest = 0;
    int photo = 0;
    for (int page = 0; page < pages; ++page) {
        int64_t differing = 0;
        for (const TRect& slot : kSlots) {
            const Photo& used = PhotoAt(photos, small, photo++);
            MemoryStream bytes(used.jpeg.Bytes());
            const evPicture picture("photo", bytes, 0, used.jpeg.Width(), used.jpeg.Height());
            Bitmap before(slot.Width(), slot.Height());
            before.GetCanvas().StretchDraw(TRect{0, 0, slot.Width(), slot.Height()}, used.jpeg.Decode());
            differing += CountDiffering(picture.ScaledTo(slot.Width(), slot.Height()), before, 8);
        }
        largest = std::max(largest, static_cast<double>(differing) / (1024.0 * 768.0));
    }
    return largest;
}

struct Run {
    double wall = 0;
    double processor = 0;
};

template <class Work>
Run Measure(Work work)
{
    const double processor = ProcessorSeconds();
    const double start = Now();
    work();
    return Run{Now() - start, ProcessorSeconds() - processor};
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    QTemporaryDir temp;
    SetTempFolder(temp.path().toStdString());
    const std::string folder = temp.path().toStdString();
    const std::vector<Photo> photos = LoadPhotos(folder);
    size_t small = 0;
    while (small < photos.size() && photos[small].jpeg.Width() * photos[small].jpeg.Height() < 5'000'000)
        ++small;
    const JpegImage background = JpegImage::FromBitmap(SyntheticPhoto(1024, 768, 3));
    std::printf("photographs: %zu distinct (%zu smaller than 5 MP), 2560 x 1600 and 4000 x 3000\n", photos.size(),
                small);

    std::vector<int> pageCounts = {30, 60};
    if (const char* given = std::getenv("VELLORA_BENCH_ALBUM_PAGES"); given && std::atoi(given) > 0)
        pageCounts = {std::atoi(given)};
    for (const int pages : pageCounts) {
        const int count = pages * kPhotosPerPage;
        const std::string file = folder + "/album" + std::to_string(pages) + ".evp";
        WriteProjectFile(*BuildAlbum(photos, small, pages), file);
        const double fileMB = static_cast<double>(fs::file_size(file)) / 1e6;
        const Run djpeg = Measure([&] { DjpegFloor(photos, small, count); });
        const double floor = djpeg.wall;

        std::unique_ptr<evProject> project;
        const Run open = Measure([&] { project = ReadProjectFile(file); });
        project->SetDesign(BuildDesign(background));

        QTemporaryDir out;
        DiscProducer producer(*project, DiscFolderFor(out.path().toStdString()));
        const int64_t before = StatusKilobytes("VmRSS");
        const bool reset = ResetPeakMemory();
        const Run finish = Measure([&] { producer.Produce(); });
        const double peakMB = reset ? static_cast<double>(StatusKilobytes("VmHWM") - before) / 1024.0 : -1;

        std::printf("%d pages, %d photographs, album file %.0f MB: djpeg floor %.2f s wall / %.2f s processor\n", pages,
                    count, fileMB, floor, djpeg.processor);
        std::printf("  open   %.3f s wall / %.3f s processor  = %.3f x floor\n", open.wall, open.processor,
                    open.wall / floor);
        std::printf("  finish %.2f s wall / %.2f s processor  = %.2f x floor; peak %.0f MB above the loaded album\n",
                    finish.wall, finish.processor, finish.wall / floor, peakMB);
        std::fflush(stdout);
    }
    // Pages repeat their photographs after the distinct ones are used up: one pass over them is enough.
    const int comparedPages = std::min(pageCounts.back(), static_cast<int>(photos.size()));
    std::printf("picture: at most %.3f %% of a page's pixels differ by more than 8 levels from full-size decoding "
                "(%d pages compared)\n",
                100.0 * LargestPageDifference(photos, small, comparedPages), comparedPages);
    return 0;
}
