// Reading and writing music tracks: the audio is copied between the object stream and the track's temporary file
// in pieces, so a long track costs time in proportion to its size but no memory in proportion to it.
#include "audio/evMusic.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace {

constexpr int32_t kAudioBytes = 64 * 1024 * 1024;

std::string TrackFile(const QTemporaryDir& dir)
{
    const std::string path = dir.path().toStdString() + "/track.evm";
    FileStream file(path, FileStream::Mode::Create);
    file.WriteInt32(1);
    file.WriteInt32(0);
    file.WriteString("Long track");
    file.WriteInt32(0);
    file.WriteInt32(kAudioBytes);
    std::vector<uint8_t> chunk(1024 * 1024, 0x55);
    for (int i = 0; i < kAudioBytes / static_cast<int>(chunk.size()); ++i)
        file.WriteBytes(chunk);
    file.Flush();
    return path;
}

double PeakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadAndWriteLongTrack(benchmark::State& state)
{
    QTemporaryDir dir;
    SetTempFolder(dir.path().toStdString());
    const std::string source = TrackFile(dir);
    const std::string target = dir.path().toStdString() + "/copy.evm";
    for (auto _ : state) {
        FileStream in(source, FileStream::Mode::OpenRead);
        evMusic track(in, nullptr);
        FileStream out(target, FileStream::Mode::Create);
        track.SaveToStream(out);
        out.Flush();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kAudioBytes) * 2);
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_ReadAndWriteLongTrack)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
