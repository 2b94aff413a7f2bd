// The player program as it leaves the program's resources: written into a disc folder with its execute bit,
// started there without a display, it shows the presentation and ends when asked; a presentation file that cannot
// be read ends it with status 1 and a message.
#include "audio/AudioTestFiles.h"
#include "audio/evMusic.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Color.h"
#include "platform/Resources.h"
#include "platform/Stream.h"
#include "presentation/PresentationFile.h"

#include "TestPictures.h"
#include "ViewerPageParts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

// Every kind of page there is: a slide show with a film strip and a sound button, a plain page, a studio page.
std::unique_ptr<PresentationFile> SamplePresentation(const std::string& musicFile)
{
    auto file = std::make_unique<PresentationFile>();
    file->background = RGBColor(20, 40, 60);
    auto show = std::make_unique<evProjectorPage>();
    show->SetPageType(1);
    show->SetSlideInterval(200);
    show->AddElement(Picture(0, 0, 1024, 768, RGBColor(200, 200, 200), 0));
    show->AddElement(Picture(100, 100, 300, 200, RGBColor(255, 0, 0), 3));
    show->AddElement(Picture(100, 100, 300, 200, RGBColor(0, 0, 255), 3));
    show->AddElement(Picture(900, 700, 60, 30, RGBColor(0, 255, 0), 4));
    show->AddElement(Picture(900, 700, 60, 30, RGBColor(0, 0, 0), 5));
    auto items = std::make_unique<evObjectCollection>();
    items->Add(Picture(500, 100, 200, 150, RGBColor(255, 255, 0), 0));
    show->AddElement(std::make_unique<evProjectorSliderElement>(TRect{100, 600, 500, 680}, 2, 80, std::move(items), 1,
                                                                80, 100, Solid(800, 80, RGBColor(9, 9, 9))));
    AddMouse(*show, TRect{100, 600, 500, 680}, 2, 0);
    AddNavi(*show, TRect{900, 700, 960, 730}, -2);
    AddNavi(*show, TRect{0, 0, 50, 50}, 1);
    file->pages.push_back(std::move(show));
    auto plain = std::make_unique<evProjectorPage>();
    plain->AddElement(Picture(0, 0, 1024, 768, RGBColor(90, 90, 90), 0));
    AddNavi(*plain, TRect{0, 0, 50, 50}, -1);
    file->pages.push_back(std::move(plain));
    file->music = std::make_unique<evMusic>("Tune", 1, musicFile);
    file->studio = std::make_unique<evProjectorPage>();
    file->studio->AddElement(Picture(0, 0, 1024, 768, RGBColor(255, 255, 255), 0));
    file->studioDuration = 1;
    return file;
}

struct RunResult {
    int exitCode = -1; // also when the program did not start or end
    QString errors;
};

class EvplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        player = folder.filePath("evplay").toStdString();
        SaveExecutableResourceToFile("PROJECTOR", player);
        ASSERT_TRUE(QDir(folder.path()).mkdir("data"));
        dataFile = folder.filePath("data/data.evp").toStdString();
    }

    std::vector<uint8_t> SampleBytes()
    {
        const std::string wave = folder.filePath("tune.wav").toStdString();
        audiotest::WriteFile(wave, audiotest::MakeWave(300));
        MemoryStream bytes;
        SamplePresentation(wave)->Write(bytes);
        return bytes.Data();
    }

    void WriteData(const std::vector<uint8_t>& bytes) { MemoryStream(bytes).SaveToFile(dataFile); }

    RunResult Run(int quitAfterMs, const QString& snapshot = QString())
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("SDL_AUDIODRIVER", "dummy");
        process.setProcessEnvironment(environment);
        // Started from elsewhere: the program finds its data beside itself, not in the working folder.
        process.setWorkingDirectory(QDir::tempPath());
        QStringList arguments{"--quit-after", QString::number(quitAfterMs)};
        if (!snapshot.isEmpty())
            arguments << "--snapshot" << snapshot;
        process.start(QString::fromStdString(player), arguments);
        RunResult result;
        if (!process.waitForStarted(30000))
            return result;
        if (!process.waitForFinished(180000))
            process.kill();
        else if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.errors = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    QTemporaryDir folder;
    std::string player;
    std::string dataFile;
};

// The colour the window shows at a point of the page, which is centred and scaled down to a smaller screen.
TColor PageColourAt(const QImage& window, int x, int y)
{
    const double scale = std::min({1.0, window.width() / 1024.0, window.height() / 768.0});
    const int left = (window.width() - static_cast<int>(1024 * scale)) / 2;
    const int top = (window.height() - static_cast<int>(768 * scale)) / 2;
    const QColor colour = window.pixelColor(left + static_cast<int>(x * scale), top + static_cast<int>(y * scale));
    return RGBColor(colour.red(), colour.green(), colour.blue());
}
} // namespace

// Which page the player shows when (the studio page first, for its time) is PresentationPlayerTest's; the program
// finds its data beside itself, shows the player's page in its window, plays the music and ends when asked.
TEST_F(EvplayTest, ShowsThePresentationAndEndsWhenAsked)
{
    WriteData(SampleBytes());
    const QString late = folder.filePath("late.png");
    const RunResult result = Run(1800, late); // past the studio page's second
    EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
    const QImage page(late);
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(Near(PageColourAt(page, 20, 300), RGBColor(200, 200, 200), 12));
    EXPECT_TRUE(Near(PageColourAt(page, 930, 710), kGreen, 12)); // sound on: the music plays
}

// A file that cannot be read ends the program with status 1 and a message naming it; the ways a presentation file
// is damaged are PresentationFileTest's, and the program reports them all alike.
TEST_F(EvplayTest, AMissingPresentationEndsWithStatusOne)
{
    const RunResult result = Run(100);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains("data/data.evp\" cannot be read")) << result.errors.toStdString();
}
