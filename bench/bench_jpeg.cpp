// JPEG speed of the platform layer against libjpeg-turbo's own command-line tools on the same photograph, in
// megapixels per second, in one run. The photograph is VELLORA_BENCH_PHOTO when that names a JPEG file, else a
// synthetic 4000 x 3000 picture made to compress like a photograph: smooth gradients, texture at several scales
// and sensor-like noise, encoded at quality 90.
//
// djpeg and cjpeg run as child processes, so their times include starting the process, reading the input file
// and writing their output to /dev/null; all four measurements use wall-clock time.
#include "BenchSupport.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Photo {
    std::string description;
    Bitmap pixels;
    std::vector<uint8_t> jpeg;
    std::string jpegPath;
    std::string ppmPath;
};

Photo* g_photo = nullptr;

uint32_t NextRandom(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Random values on a coarse grid, smoothly interpolated: one octave of texture.
class ValueNoise {
public:
    ValueNoise(int cell, uint32_t seed, int width, int height) : m_cell(cell), m_columns(width / cell + 2)
    {
        const int rows = height / cell + 2;
        m_values.resize(static_cast<size_t>(m_columns) * rows);
        for (float& v : m_values)
            v = static_cast<float>(NextRandom(seed) % 1024) / 1023.0f - 0.5f;
    }

    float At(int x, int y) const
    {
        const int cx = x / m_cell;
        const int cy = y / m_cell;
        const float fx = Smooth(static_cast<float>(x % m_cell) / static_cast<float>(m_cell));
        const float fy = Smooth(static_cast<float>(y % m_cell) / static_cast<float>(m_cell));
        const float top = Mix(Value(cx, cy), Value(cx + 1, cy), fx);
        const float bottom = Mix(Value(cx, cy + 1), Value(cx + 1, cy + 1), fx);
        return Mix(top, bottom, fy);
    }

private:
    static float Smooth(float t) { return t * t * (3 - 2 * t); }
    static float Mix(float a, float b, float t) { return a + (b - a) * t; }
    float Value(int cx, int cy) const { return m_values[static_cast<size_t>(cy) * m_columns + cx]; }

    int m_cell;
    int m_columns;
    std::vector<float> m_values;
};

uint8_t Clamp(float v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : std::lround(v)); }

Bitmap SyntheticPhoto(int width, int height)
{
    Bitmap bitmap(width, height, PixelFormat::pf24bit);
    const ValueNoise shapes(400, 11, width, height);
    const ValueNoise detail(40, 23, width, height);
    const ValueNoise grain(6, 37, width, height);
    uint32_t noise = 0x9E3779B9u;
    for (int y = 0; y < height; ++y) {
        uint8_t* line = bitmap.ScanLine(y);
        const float sky = static_cast<float>(y) / static_cast<float>(height);
        for (int x = 0; x < width; ++x) {
            const float light = 150.0f * shapes.At(x, y) + 45.0f * detail.At(x, y) + 25.0f * grain.At(x, y);
            const float n = static_cast<float>(NextRandom(noise) % 17) - 8.0f;
            line[3 * x + 0] = Clamp(200.0f - 120.0f * sky + light + n);
            line[3 * x + 1] = Clamp(150.0f - 40.0f * sky + light * 0.9f + n);
            line[3 * x + 2] = Clamp(90.0f + 90.0f * sky + light * 0.8f + n);
        }
    }
    return bitmap;
}

bool RunTool(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Megapixels() { return static_cast<double>(g_photo->pixels.Width()) * g_photo->pixels.Height() / 1e6; }

void SetRate(benchmark::State& state)
{
    state.counters["MP/s"] = benchmark::Counter(Megapixels(), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Decode_Vellora(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeJpeg(g_photo->jpeg, PixelFormat::pf24bit));
    SetRate(state);
}

void BM_Decode_djpeg(benchmark::State& state)
{
    const std::vector<std::string> command = {"djpeg", "-dct", "int", "-outfile", "/dev/null", g_photo->jpegPath};
    for (auto _ : state)
        if (!RunTool(command))
            state.SkipWithError("djpeg failed (is libjpeg-turbo-progs installed?)");
    SetRate(state);
}

void BM_Encode_Vellora(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeJpeg(g_photo->pixels, kDefaultJpegQuality));
    SetRate(state);
}

void BM_Encode_cjpeg(benchmark::State& state)
{
    const std::vector<std::string> command = {"cjpeg",    "-quality",  std::to_string(kDefaultJpegQuality),
                                              "-dct",     "int",       "-baseline",
                                              "-outfile", "/dev/null", g_photo->ppmPath};
    for (auto _ : state)
        if (!RunTool(command))
            state.SkipWithError("cjpeg failed (is libjpeg-turbo-progs installed?)");
    SetRate(state);
}

BENCHMARK(BM_Decode_Vellora)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Decode_djpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Encode_Vellora)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Encode_cjpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Keeps each benchmark's mean wall-clock time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                m_seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }

    // Ratio of speeds, ours to the tool's, for the benchmarks whose names begin as given.
    void PrintRatio(const char* what, const std::string& ours, const std::string& theirs) const
    {
        const double a = SecondsOf(ours);
        const double b = SecondsOf(theirs);
        if (a <= 0 || b <= 0)
            return;
        std::printf("%s: Vellora %.1f MP/s, %s %.1f MP/s, speed ratio Vellora/%s = %.2f\n", what, Megapixels() / a,
                    theirs.substr(theirs.rfind('_') + 1).c_str(), Megapixels() / b,
                    theirs.substr(theirs.rfind('_') + 1).c_str(), b / a);
    }

private:
    double SecondsOf(const std::string& prefix) const
    {
        for (const auto& [name, seconds] : m_seconds)
            if (name.rfind(prefix, 0) == 0)
                return seconds;
        return 0;
    }

    std::map<std::string, double> m_seconds;
};

Photo MakePhoto(const QTemporaryDir& dir)
{
    Photo photo;
    photo.jpegPath = dir.filePath("photo.jpg").toStdString();
    photo.ppmPath = dir.filePath("photo.ppm").toStdString();
    const char* given = std::getenv("VELLORA_BENCH_PHOTO");
    if (given && *given) {
        std::ifstream in(given, std::ios::binary);
        photo.jpeg.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        photo.pixels = DecodeJpeg(photo.jpeg);
        photo.description = std::string("photograph ") + given;
    } else {
        photo.pixels = SyntheticPhoto(4000, 3000);
        photo.jpeg = EncodeJpeg(photo.pixels, kDefaultJpegQuality);
        photo.description = "synthetic photo-like picture (gradients, texture, noise), quality 90";
    }
    WriteBytes(photo.jpegPath, photo.jpeg);
    WritePpm(photo.ppmPath, photo.pixels);
    return photo;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    Photo photo = MakePhoto(dir);
    g_photo = &photo;
    std::printf("JPEG benchmark on a %s: %d x %d (%.1f MP), %zu bytes\n", photo.description.c_str(),
                photo.pixels.Width(), photo.pixels.Height(), Megapixels(), photo.jpeg.size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("decode", "BM_Decode_Vellora", "BM_Decode_djpeg");
    reporter.PrintRatio("encode", "BM_Encode_Vellora", "BM_Encode_cjpeg");
    benchmark::Shutdown();
    return 0;
}
