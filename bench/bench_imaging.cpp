// The image edit screen's work on a 24-megapixel photograph (6000 x 4000), side by side with libvips's `vips`
// command doing the closest operations on the same pixels, in one run:
//   tonal correction  OptimizeBitmap          vips hist_find + vips linear (same scale and offset, uchar out)
//   greyscale         GrayBitmap, strength 0  vips colourspace b-w
//   resampling        ResampleBilinear to half size   vips resize 0.5 --kernel linear
//   opening           PrepareFile of the screen (decode, upright, fit, first frame)   vips resize of the JPEG
//                     to the shown size with the linear kernel
// vips runs as a child process with one worker thread, on files in /dev/shm in its own uncompressed format, so
// its times include the process start, mapping the input and writing the output; "vips copy" measures that
// overhead alone, and the ratios are printed with and without it. Times are processor time (user + system: of
// this process, toolkit threads included, or of the vips child), because wall-clock time on a shared machine
// says more about the neighbours than about the code. The photograph is VELLORA_BENCH_PHOTO when that names a
// picture file, else a synthetic one.
#include "BenchSupport.h"
#include "imaging/GrayBitmap.h"
#include "imaging/OptimizeBitmap.h"
#include "imaging/PhotographFile.h"
#include "imaging/ResampleBilinear.h"
#include "platform/Jpeg.h"
#include "screens/TFormImageEdit.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Inputs {
    std::string description;
    Bitmap photo;
    std::string jpegPath; // the photograph as a JPEG file (quality 90)
    std::string vipsPath; // the same pixels in vips's own format
    std::string outPath;  // where vips writes
    double scale = 1;     // the tonal correction's stretch, for vips linear
    double offset = 0;
};

Inputs* g_in = nullptr;

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

// The child's processor seconds, or a negative value when it failed.
double RunTool(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <class Work>
void Measure(benchmark::State& state, Work work)
{
    for (auto _ : state) {
        const double start = ProcessSeconds();
        work();
        state.SetIterationTime(ProcessSeconds() - start);
    }
}

std::vector<std::string> Vips(std::vector<std::string> operation)
{
    operation.insert(operation.begin(), {"vips", "--vips-concurrency=1"});
    return operation;
}

void RunVips(benchmark::State& state, const std::vector<std::vector<std::string>>& commands)
{
    for (auto _ : state) {
        double seconds = 0;
        for (const auto& command : commands) {
            const double used = RunTool(Vips(command));
            if (used < 0) {
                state.SkipWithError("vips failed (is libvips-tools installed?)");
                return;
            }
            seconds += used;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_Optimize_Vellora(benchmark::State& state)
{
    Bitmap photo = g_in->photo;
    photo.ScanLine(0); // the copy gets its own pixels before the clock runs
    Measure(state, [&] { OptimizeBitmap(photo); });
}

void BM_Optimize_vips(benchmark::State& state)
{
    std::string offset = " "; // the blank keeps a "-" from reading as an option
    offset += std::to_string(g_in->offset);
    RunVips(state, {{"hist_find", g_in->vipsPath, g_in->outPath},
                    {"linear", g_in->vipsPath, g_in->outPath, std::to_string(g_in->scale), offset, "--uchar"}});
}

void BM_Gray_Vellora(benchmark::State& state)
{
    Bitmap photo = g_in->photo;
    photo.ScanLine(0);
    Measure(state, [&] { GrayBitmap(photo, gsFull); });
}

void BM_Gray_vips(benchmark::State& state) { RunVips(state, {{"colourspace", g_in->vipsPath, g_in->outPath, "b-w"}}); }

void BM_Resample_Vellora(benchmark::State& state)
{
    Bitmap half(g_in->photo.Width() / 2, g_in->photo.Height() / 2);
    Measure(state, [&] { ResampleBilinear(g_in->photo, half); });
}

void BM_Resample_vips(benchmark::State& state)
{
    RunVips(state, {{"resize", g_in->vipsPath, g_in->outPath, "0.5", "--kernel", "linear"}});
}

void BM_Copy_vips(benchmark::State& state) { RunVips(state, {{"copy", g_in->vipsPath, g_in->outPath}}); }

void BM_Decode_Vellora(benchmark::State& state)
{
    Measure(state, [] { benchmark::DoNotOptimize(ReadPhotographFile(g_in->jpegPath)); });
}

void BM_Open_Vellora(benchmark::State& state)
{
    TFormImageEdit screen;
    Bitmap result;
    Measure(state, [&] {
        screen.PrepareFile(g_in->jpegPath, 300, 200, false, result);
        screen.EndRun();
    });
}

// Fitting the photograph into the image area again and drawing the frame: what "Original" does.
void BM_Fit_Vellora(benchmark::State& state)
{
    TFormImageEdit screen;
    Bitmap result;
    screen.PrepareFile(g_in->jpegPath, 300, 200, false, result);
    Measure(state, [&] { screen.ImageOriginalClick(); });
    screen.EndRun();
}

// A photograph of about 14 megapixels chosen for a slot of 420 x 315 until the crop screen is ready (wall-clock):
// the reduced read, the fit and the first frame. Beside it the whole photograph read as before, for comparison.
std::string g_fourteen; // path of the 14 MP JPEG

void BM_ChosenToCropScreen_14MP(benchmark::State& state)
{
    TFormImageEdit screen;
    Bitmap result;
    for (auto _ : state) {
        if (!screen.PrepareFile(g_fourteen, 420, 315, false, result))
            state.SkipWithError("the photograph could not be read");
        QApplication::processEvents();
        screen.EndRun();
    }
}

void BM_ReducedRead_14MP(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPhotographReduced(g_fourteen, 609, 457));
}

void BM_WholeRead_14MP(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPhotographFile(g_fourteen));
}

void BM_Open_vips(benchmark::State& state)
{
    const double scale = 609.0 / g_in->photo.Width();
    RunVips(state, {{"resize", g_in->jpegPath, g_in->outPath, std::to_string(scale), "--kernel", "linear"}});
}

void BM_DecodeDirect_libjpeg(benchmark::State& state)
{
    std::ifstream in(g_in->jpegPath, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Measure(state, [&] { benchmark::DoNotOptimize(DecodeJpeg(bytes)); });
}

#define VELLORA_BENCH(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0)
VELLORA_BENCH(BM_Optimize_Vellora);
VELLORA_BENCH(BM_Optimize_vips);
VELLORA_BENCH(BM_Gray_Vellora);
VELLORA_BENCH(BM_Gray_vips);
VELLORA_BENCH(BM_Resample_Vellora);
VELLORA_BENCH(BM_Resample_vips);
VELLORA_BENCH(BM_Copy_vips);
VELLORA_BENCH(BM_Decode_Vellora);
VELLORA_BENCH(BM_DecodeDirect_libjpeg);
VELLORA_BENCH(BM_Open_Vellora);
VELLORA_BENCH(BM_Fit_Vellora);
VELLORA_BENCH(BM_Open_vips);
BENCHMARK(BM_ChosenToCropScreen_14MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ReducedRead_14MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_WholeRead_14MP)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                m_ms[run.benchmark_name()] = run.GetAdjustedRealTime(); // the manual (processor) time, in ms
        ConsoleReporter::ReportRuns(runs);
    }

    // How many times faster ours is; net of the process and file overhead of one vips call where asked.
    void PrintRatio(const char* what, const std::string& ours, const std::string& theirs, int vipsCalls) const
    {
        const double a = Ms(ours);
        const double b = Ms(theirs);
        if (a <= 0 || b <= 0)
            return;
        const double overhead = vipsCalls * Ms("BM_Copy_vips");
        std::printf("%-18s Vellora %7.1f ms   vips %7.1f ms   vips/Vellora %.2f", what, a, b, b / a);
        if (vipsCalls > 0 && overhead > 0)
            std::printf("   net of %d x vips copy (%.1f ms): %.2f", vipsCalls, overhead / vipsCalls,
                        (b - overhead) / a);
        std::printf("\n");
    }

    double Ms(const std::string& prefix) const
    {
        for (const auto& [name, ms] : m_ms)
            if (name.rfind(prefix, 0) == 0)
                return ms;
        return 0;
    }

private:
    std::map<std::string, double> m_ms;
};

// The stretch OptimizeBitmap will apply, found the way it finds it.
void FindStretch(Inputs& in)
{
    THistogram h[3];
    for (int c = 0; c < 3; ++c)
        GetHistogram(c, in.photo, h[c]);
    const int low = std::min({h[0].Percentile(1), h[1].Percentile(1), h[2].Percentile(1)});
    const int high = std::max({h[0].Percentile(99), h[1].Percentile(99), h[2].Percentile(99)});
    in.scale = high > low ? 255.0 / (high - low) : 1.0;
    in.offset = -low * in.scale;
}

Inputs MakeInputs(const QString& folder)
{
    Inputs in;
    in.jpegPath = QDir(folder).filePath("photo.jpg").toStdString();
    in.vipsPath = QDir(folder).filePath("photo.v").toStdString();
    in.outPath = QDir(folder).filePath("out.v").toStdString();
    const char* given = std::getenv("VELLORA_BENCH_PHOTO");
    if (given && *given) {
        in.photo = ReadPhotographFile(given);
        in.description = std::string("photograph ") + given;
    } else {
        in.photo = SyntheticPhoto(6000, 4000, 0x2545F491u);
        in.description = "synthetic photograph";
    }
    const std::vector<uint8_t> jpeg = EncodeJpeg(in.photo, kDefaultJpegQuality);
    WriteBytes(in.jpegPath, jpeg);
    const std::string ppm = QDir(folder).filePath("photo.ppm").toStdString();
    WritePpm(ppm, in.photo);
    if (RunTool({"vips", "copy", ppm, in.vipsPath}) < 0)
        std::printf("vips is not installed (scripts/install-deps.sh installs libvips-tools)\n");
    FindStretch(in);
    return in;
}

// A real photograph of 5120 x 2880 from Debian's wallpapers where one is installed (saved again as cameras save,
// baseline at quality 90: the wallpapers are progressive JPEGs, which no decoder can read reduced for much less
// than whole), else a synthetic one of 4592 x 3056.
std::string FourteenMegapixels(const QString& folder)
{
    Bitmap photo;
    const QDir wallpapers(QStringLiteral("/usr/share/wallpapers"));
    for (const QString& name : wallpapers.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = wallpapers.filePath(name + "/contents/images/5120x2880.jpg");
        if (photo.IsEmpty() && QFile::exists(path))
            photo = ReadPhotographFile(path.toStdString());
    }
    if (photo.IsEmpty())
        photo = SyntheticPhoto(4592, 3056, 14);
    const std::string path = QDir(folder).filePath("fourteen.jpg").toStdString();
    const std::vector<uint8_t> jpeg = EncodeJpeg(photo, kDefaultJpegQuality);
    WriteBytes(path, jpeg);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QApplication app(argc, argv); // the screen benchmark needs widgets
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/vellora-bench-XXXXXX") : QString());
    Inputs inputs = MakeInputs(dir.path());
    g_in = &inputs;
    g_fourteen = FourteenMegapixels(dir.path());
    std::printf("14-megapixel photograph for the crop screen: %s\n", g_fourteen.c_str());
    std::printf("Image edit benchmark on a %s: %d x %d (%.1f MP)\n", inputs.description.c_str(), inputs.photo.Width(),
                inputs.photo.Height(), inputs.photo.Width() * static_cast<double>(inputs.photo.Height()) / 1e6);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("tonal correction", "BM_Optimize_Vellora", "BM_Optimize_vips", 2);
    reporter.PrintRatio("greyscale", "BM_Gray_Vellora", "BM_Gray_vips", 1);
    reporter.PrintRatio("resample to half", "BM_Resample_Vellora", "BM_Resample_vips", 1);
    reporter.PrintRatio("open (decode+fit)", "BM_Open_Vellora", "BM_Open_vips", 0);
    std::printf(
        "opening: reading the file %.1f ms (libjpeg-turbo decoding alone %.1f ms), fitting and drawing %.1f ms\n",
        reporter.Ms("BM_Decode_Vellora"), reporter.Ms("BM_DecodeDirect_libjpeg"), reporter.Ms("BM_Fit_Vellora"));
    benchmark::Shutdown();
    return 0;
}
