// The autosave's pause on the user interface thread for the benchmark album (200 pages, 600 photographs of
// 2 megapixels): taking the snapshot that the recovery copy is written from, against serialising the whole
// project into memory, and the background write itself, which the user does not wait for. Then the large
// variant of the killed-writer test: a separate process saves the album and is killed with SIGKILL at 100 random
// moments (an album of 40 pages, so the hundred saves take minutes, not hours); every time the project file must
// hold the old project or the new one, whole.
#include "BenchAlbum.h"

#include "model/ProjectFile.h"
#include "model/RecoveryCopy.h"
#include "platform/AtomicFile.h"
#include "platform/SnapshotStream.h"
#include "presentation/ClassList.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace benchalbum;

namespace {

constexpr int kPages = 200;
constexpr int kKillPages = 40;
constexpr int kKills = 100;

std::unique_ptr<evProject> g_album;
std::unique_ptr<QTemporaryDir> g_folder;
double g_snapshotMs = 0;
double g_copyMs = 0;
double g_megabytes = 0;

std::string FolderPath(const std::string& name)
{
    return g_folder->filePath(QString::fromStdString(name)).toStdString();
}

void BM_SnapshotPause(benchmark::State& state)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::shared_ptr<SnapshotStream> snapshot = SnapshotProject(*g_album);
        g_snapshotMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        g_megabytes = static_cast<double>(snapshot->Size()) / 1e6;
        benchmark::DoNotOptimize(snapshot);
    }
    state.counters["MB"] = g_megabytes;
}
BENCHMARK(BM_SnapshotPause)->Unit(benchmark::kMillisecond)->Iterations(5);

// What the pause would be if the project were serialised into memory on the user interface thread.
void BM_InMemoryCopyPause(benchmark::State& state)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        MemoryStream copy;
        g_album->SaveToStream(copy);
        g_copyMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(copy.Data().data());
    }
}
BENCHMARK(BM_InMemoryCopyPause)->Unit(benchmark::kMillisecond)->Iterations(3);

// The writer thread's part: the snapshot written through the atomic writer, fsync included.
void BM_BackgroundWrite(benchmark::State& state)
{
    const std::shared_ptr<SnapshotStream> snapshot = SnapshotProject(*g_album);
    const std::string path = RecoveryPathFor(FolderPath("Anna & Ben.evp"));
    for (auto _ : state) {
        AtomicWriter writer(path);
        snapshot->WriteTo(writer.GetStream());
        writer.Commit();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * snapshot->Size());
}
BENCHMARK(BM_BackgroundWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

bool SameFiles(const std::string& a, const std::string& b)
{
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::vector<char> x(1 << 20);
    std::vector<char> y(1 << 20);
    for (;;) {
        first.read(x.data(), static_cast<std::streamsize>(x.size()));
        second.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (first.gcount() != second.gcount() || !std::equal(x.begin(), x.begin() + first.gcount(), y.begin()))
            return false;
        if (first.gcount() == 0)
            return true;
    }
}

// An album of kKillPages pages is saved by a child process that is killed at a random moment of its save; the
// old project is a small one, so what the file holds tells at once which one survived.
void BM_KilledSaves(benchmark::State& state)
{
    const std::unique_ptr<evProject> album = BuildAlbum(kKillPages, [](int page) { return page % 5 == 4; });
    const std::string path = FolderPath("Killed.evp");
    const std::string reference = FolderPath("Reference.evp");
    WriteProjectFile(*album, reference);
    const std::string oldPath = FolderPath("Old.evp");
    WriteProjectFile(evProject("Anna", "Ben", 38000.0, "Bench.evl", std::make_unique<evCategory>("Old", "", false, 3)),
                     oldPath);
    const auto save = [&] {
        const pid_t child = ::fork();
        if (child == 0) {
            WriteProjectFile(*album, path);
            ::_exit(0);
        }
        return child;
    };
    const auto start = std::chrono::steady_clock::now();
    ::waitpid(save(), nullptr, 0);
    const long whole =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    std::mt19937 random(7);
    std::uniform_int_distribution<long> moment(0, whole * 5 / 4);
    int oldSeen = 0;
    int newSeen = 0;
    for (auto _ : state) {
        for (int round = 0; round < kKills; ++round) {
            std::filesystem::copy_file(oldPath, path, std::filesystem::copy_options::overwrite_existing);
            const pid_t child = save();
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const bool old = SameFiles(path, oldPath);
            if (!old && !SameFiles(path, reference)) {
                state.SkipWithError("a killed save left a project that is neither the old nor the new one");
                return;
            }
            ++(old ? oldSeen : newSeen);
            RemoveStaleTemporariesIn(g_folder->path().toStdString());
        }
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(reference)) / 1e6;
    state.counters["old"] = oldSeen;
    state.counters["new"] = newSeen;
    state.counters["save_ms"] = static_cast<double>(whole) / 1000.0;
}
BENCHMARK(BM_KilledSaves)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    g_folder = std::make_unique<QTemporaryDir>();
    std::vector<JpegImage> photos = SyntheticPhotos(kDistinctPhotos, kPhotoWidth, kPhotoHeight, 1000u);
    JpegImage background = JpegImage::FromBitmap(SyntheticPhoto(1024, 768, 3));
    g_photos = &photos;
    g_background = &background;
    g_album = BuildAlbum(kPages, [](int page) { return page % 5 == 4; });

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("autosave of %d pages (%.0f MB): the user interface waits %.2f ms for the snapshot "
                "(a copy in memory would take %.1f ms)\n",
                kPages, g_megabytes, g_snapshotMs, g_copyMs);
    g_album.reset();
    return 0;
}
