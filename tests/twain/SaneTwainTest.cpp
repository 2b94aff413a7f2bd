// The scanner component with our manager (libtwain_32.so beside the test) over SANE's test backend, answered as a
// person would: choosing the source, scanning in colour and grey, cancelling, and devices that fail.
#include "imaging/TTwainAcquire.h"

#include "SaneTestBackend.h"
#include "platform/Bitmap.h"
#include "platform/ProfileSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace sanetest;

namespace {

class SaneTwainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_dir = fs::temp_directory_path() /
                ("vellora-sane-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(m_dir);
        m_backend = std::make_unique<SaneTestBackend>(m_dir);
        m_previousDisplay =
            SetApplicationExceptionDisplay([this](const std::exception& error) { m_shown.push_back(error.what()); });
    }
    void TearDown() override
    {
        m_twain.reset();
        SetApplicationExceptionDisplay(m_previousDisplay);
        m_backend.reset();
        fs::remove_all(m_dir);
    }

    TTwainAcquire& Twain()
    {
        if (!m_twain) {
            m_twain = std::make_unique<TTwainAcquire>();
            m_twain->SetOnScanReady([this](TTwainAcquire&) { ++m_scanReady; });
            m_twain->Initialize();
        }
        return *m_twain;
    }
    void Select(const std::string& device)
    {
        SelectionAnswerer answerer(device);
        Twain().SelectSource();
        EXPECT_EQ(answerer.Answered(), 1);
    }
    // Chooses test:0, starts an acquisition and scans in the mode; true once OnScanReady came.
    bool ScanWith(const QString& mode)
    {
        Select("test:0");
        Twain().Acquire(&m_bitmap);
        return PressScan(mode) && WaitFor([this] { return m_scanReady > 0; });
    }

    fs::path m_dir;
    std::unique_ptr<SaneTestBackend> m_backend;
    std::unique_ptr<TTwainAcquire> m_twain;
    ExceptionDisplay m_previousDisplay;
    std::vector<std::string> m_shown;
    Bitmap m_bitmap;
    int m_scanReady = 0;
};

} // namespace

// A driver is a SANE backend named in dll.conf or in a file of dll.d of the configuration folders; comments,
// hidden files and editor backups name none.
TEST_F(SaneTwainTest, ADriverIsAConfiguredBackend)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
        bool found;
    };
    const std::vector<Case> cases = {
        {"dll.conf naming a backend", {{"dll.conf", "# scanners\n  test  # the test one\n"}}, true},
        {"dll.conf with comments only", {{"dll.conf", "# net\n\n   \n#test\n"}}, false},
        {"a file in dll.d", {{"dll.conf", "#\n"}, {"dll.d/extra", "test\n"}}, true},
        {"hidden and backup files in dll.d", {{"dll.d/.hidden", "test\n"}, {"dll.d/extra~", "test\n"}}, false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = m_dir / "case";
        fs::remove_all(folder);
        fs::create_directories(folder / "dll.d");
        for (const auto& [file, text] : c.files)
            std::ofstream(folder / file) << text;
        EXPECT_EQ(TTwainAcquire::SaneBackendConfigured(folder.string()), c.found);
        EXPECT_EQ(TTwainAcquire::SaneBackendConfigured((m_dir / "missing").string() + ":" + folder.string()), c.found);
    }
    EXPECT_TRUE(TTwainAcquire().TwainDriverFound()); // SANE_CONFIG_DIR names the test backend's folder
}

// The choice becomes the source and the manager's default; the component writes the user's own default back.
TEST_F(SaneTwainTest, TheChosenDeviceIsTheSourceAndTheUsersDefaultComesBack)
{
    ProfileSettings settings;
    settings.WriteString("TWAIN", "DEFAULT SOURCE", "test:0");
    Select("test:1");
    EXPECT_STREQ(Twain().GetSourceIdentity().ProductName, "test:1");
    EXPECT_STREQ(Twain().GetSourceIdentity().Manufacturer, "Noname");
    EXPECT_EQ(settings.ReadString("TWAIN", "DEFAULT SOURCE", ""), "test:1");
    Select(""); // cancelled
    EXPECT_STREQ(Twain().GetSourceIdentity().ProductName, "test:1");
    m_twain.reset();
    EXPECT_EQ(settings.ReadString("TWAIN", "DEFAULT SOURCE", ""), "test:0");
    EXPECT_TRUE(m_shown.empty());
}

// The test backend's colour pattern (39 x 29 at 25 dpi): grey surround, black and red boxes on the left, the
// brightest blue box in the bottom right corner; in grey the red row is white.
TEST_F(SaneTwainTest, ScansInColourAndGreyArriveAsBitmaps)
{
    struct Case {
        QString mode;
        PixelFormat format;
        std::vector<std::tuple<int, int, int32_t>> pixels;
    };
    const std::vector<Case> cases = {
        {"Colour", PixelFormat::pf24bit, {{0, 0, 0x555555}, {2, 2, 0x000000}, {2, 6, 0x0000FF}, {38, 28, 0xF80000}}},
        {"Grey", PixelFormat::pf8bit, {{0, 0, 0x555555}, {2, 2, 0x000000}, {2, 6, 0xFFFFFF}, {38, 6, 0xF8F8F8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.toStdString());
        m_twain.reset();
        m_bitmap = Bitmap();
        m_scanReady = 0;
        ASSERT_TRUE(ScanWith(c.mode));
        EXPECT_EQ(m_scanReady, 1);
        ASSERT_EQ(m_bitmap.Width(), 39);
        ASSERT_EQ(m_bitmap.Height(), 29);
        EXPECT_EQ(m_bitmap.Format(), c.format);
        for (const auto& [x, y, colour] : c.pixels)
            EXPECT_EQ(m_bitmap.Pixel(x, y), colour) << x << "," << y;
        EXPECT_FALSE(Twain().IsSourceOpen());
        EXPECT_EQ(SourceDialog(), nullptr);
        EXPECT_TRUE(m_shown.empty());
    }
}

// A three-pass scanner sends red, green and blue one after the other; a source without its dialog scans at once.
TEST_F(SaneTwainTest, ThreeFramesMakeTheSamePictureAndNoDialogScansAtOnce)
{
    m_backend->SetOptions("three-pass true\n");
    Twain().SetShowUI(false);
    Select("test:0");
    Twain().Acquire(&m_bitmap);
    ASSERT_TRUE(WaitFor([this] { return m_scanReady > 0; }));
    EXPECT_EQ(SourceDialog(), nullptr);
    ASSERT_EQ(m_bitmap.Width(), 39);
    EXPECT_EQ(m_bitmap.Pixel(2, 6), 0x0000FF);
    EXPECT_EQ(m_bitmap.Pixel(38, 28), 0xF80000);
}

TEST_F(SaneTwainTest, CancellingTheDialogEndsWithoutAPicture)
{
    Select("test:0");
    Twain().Acquire(&m_bitmap);
    ASSERT_TRUE(PressCancel());
    ASSERT_TRUE(WaitFor([this] { return m_scanReady > 0; }));
    EXPECT_TRUE(m_bitmap.IsEmpty());
    EXPECT_FALSE(Twain().IsSourceOpen());
    EXPECT_TRUE(m_shown.empty());
    // The next acquisition works as the first.
    m_scanReady = 0;
    Twain().Acquire(&m_bitmap);
    ASSERT_TRUE(PressScan() && WaitFor([this] { return m_scanReady > 0; }));
    EXPECT_EQ(m_bitmap.Width(), 39);
}

// A device that reports an error or ends before its last line: the error is shown with what the scanner said,
// the acquisition ends without a picture and the source is closed.
TEST_F(SaneTwainTest, AFailingDeviceIsReportedAndLeavesNoPicture)
{
    struct Case {
        const char* status;
        std::string condition;
        std::string detail;
    };
    const std::vector<Case> cases = {
        {"SANE_STATUS_IO_ERROR", "General failure. Unload Source immediately.",
         "The scanner test:0 stopped: Error during device I/O"},
        {"SANE_STATUS_EOF", "General failure. Unload Source immediately.",
         "The scanner test:0 delivered 0 of 29 lines; the picture is incomplete"},
        {"SANE_STATUS_JAMMED", "Transfer failed because of a feeder error",
         "The scanner test:0 reports a paper jam: Document feeder jammed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        m_twain.reset();
        m_shown.clear();
        m_scanReady = 0;
        m_backend->SetOptions(std::string("read-status-code ") + c.status + "\n");
        ASSERT_TRUE(ScanWith("Colour"));
        EXPECT_TRUE(m_bitmap.IsEmpty());
        EXPECT_EQ(m_shown, std::vector<std::string>{"Data Source Manager error in module Native Transfer:\r\n" +
                                                    c.condition + "\r\n" + c.detail});
        EXPECT_FALSE(Twain().IsSourceOpen());
    }
}

TEST_F(SaneTwainTest, AMissingDeviceCannotBeOpened)
{
    ProfileSettings().WriteString("TWAIN", "DEFAULT SOURCE", "test:9");
    std::string error;
    try {
        Twain().Acquire(&m_bitmap);
    } catch (const ETwainError& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "Data Source Manager error in module OpenDataSource:\r\nData Source Manager was unable to find "
                     "the specified Data Source.\r\nThe scanner test:9 could not be opened: Invalid argument");
    EXPECT_FALSE(Twain().IsSourceOpen());
}

// The manager refuses to close under an open source; destruction then closes both in order.
TEST_F(SaneTwainTest, TheManagerStaysOpenWhileASourceIs)
{
    Select("test:0");
    Twain().Acquire(&m_bitmap);
    ASSERT_NE(SourceDialog(), nullptr);
    EXPECT_THROW(Twain().CloseDataSourceManager(), ETwainError);
    EXPECT_TRUE(Twain().IsManagerOpen());
    m_twain.reset();
    EXPECT_EQ(SourceDialog(), nullptr);
}
