#include "screens/ScreenTestSupport.h"

#include "ExifJpeg.h"
#include "TestPictures.h"
#include "imaging/PhotographFile.h"
#include "platform/Jpeg.h"
#include "screens/TFormImageEdit.h"

#include <QDateTime>
#include <QLocale>

using namespace screentest;

namespace {

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class TFormImageEditTest : public ContextTest {
protected:
    // Photograph 1200 x 800, shown as 609 x 406.
    void PrepareLandscape(bool fixedOrientation)
    {
        ASSERT_TRUE(
            m_screen.PrepareBitmap(Solid(1200, 800, RGBColor(150, 120, 90)), 300, 200, fixedOrientation, m_result));
    }

    void Drag(TPoint from, TPoint to)
    {
        m_screen.ImageMouseDown(from.X, from.Y);
        m_screen.ImageMouseMove(to.X, to.Y);
        m_screen.ImageMouseUp(to.X, to.Y);
    }

    TFormImageEdit m_screen;
    Bitmap m_result;
};

} // namespace

TEST_F(TFormImageEditTest, TheFirstFrameIsTheLargestOfTheTargetProportionsAtTheTopLeft)
{
    struct Case {
        const char* what;
        int photoWidth, photoHeight, slotWidth, slotHeight;
        bool fixed;
        TPoint shown, base, target;
        TRect frame;
    };
    const Case cases[] = {
        {"landscape, free", 1200, 800, 300, 200, false, {609, 406}, {300, 200}, {300, 200}, {0, 0, 609, 406}},
        // 300 x 600 is shown 228.5 -> 228 wide (halves to even).
        {"portrait, free", 300, 600, 300, 200, false, {228, 457}, {300, 200}, {200, 300}, {0, 0, 228, 342}},
        {"portrait, fixed", 300, 600, 300, 200, true, {228, 457}, {300, 200}, {300, 200}, {0, 0, 228, 152}},
        {"portrait slot, fixed", 1200, 800, 200, 300, true, {609, 406}, {200, 300}, {200, 300}, {0, 0, 270, 406}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_screen.PrepareBitmap(Solid(c.photoWidth, c.photoHeight, RGBColor(150, 120, 90)), c.slotWidth,
                                           c.slotHeight, c.fixed, m_result));
        EXPECT_EQ(m_screen.GetShownSize(), c.shown) << c.what;
        EXPECT_EQ(m_screen.GetBaseSize(), c.base) << c.what;
        EXPECT_EQ(m_screen.GetTarget(), c.target) << c.what;
        EXPECT_EQ(m_screen.GetCropFrame(), c.frame) << c.what;
    }
    // The image shows the photograph, the frame line over it and, beside it, the colour of the skin left of the
    // image area (the test bundle's picture 14 is grey).
    const Bitmap& canvas = m_screen.GetImageCanvas();
    EXPECT_TRUE(Near(canvas.Pixel(100, 200), RGBColor(150, 120, 90), 2));
    const int32_t line = canvas.Pixel(100, 0);
    EXPECT_TRUE(line == kColorBlack || line == kColorWhite);
    EXPECT_TRUE(Near(canvas.Pixel(400, 430), RGBColor(128, 128, 128), 2));
}

TEST_F(TFormImageEditTest, CornerDragsKeepTheProportionsAndAnUprightFrameTurnsTheTarget)
{
    struct Case {
        const char* what;
        bool fixed;
        TPoint press, to;
        TRect frame;
        TPoint target;
    };
    const Case cases[] = {
        {"bottom-right, free, upright", false, {606, 403}, {100, 300}, {0, 0, 199, 300}, {200, 300}},
        {"bottom-right, fixed", true, {606, 403}, {100, 300}, {0, 0, 448, 300}, {300, 200}},
        {"top-left", false, {1, 1}, {100, 50}, {77, 50, 609, 406}, {300, 200}},
        {"top-right, upright", false, {606, 1}, {300, 100}, {0, 100, 203, 406}, {200, 300}},
        {"bottom-left", false, {1, 403}, {50, 350}, {85, 0, 609, 350}, {300, 200}},
    };
    for (const Case& c : cases) {
        PrepareLandscape(c.fixed);
        Drag(c.press, c.to);
        EXPECT_EQ(m_screen.GetCropFrame(), c.frame) << c.what;
        EXPECT_EQ(m_screen.GetTarget(), c.target) << c.what;
        m_screen.ImgApplyClick();
        EXPECT_TRUE(m_screen.IsApplied()) << c.what;
        EXPECT_EQ(m_result.Width(), c.target.X) << c.what;
        EXPECT_EQ(m_result.Height(), c.target.Y) << c.what;
        EXPECT_EQ(m_result.Format(), PixelFormat::pf24bit) << c.what;
        m_screen.EndRun();
    }
    // The last frame (85, 0, 609, 350) of 609 x 406 shown pixels, in pixels of the 1200 x 800 photograph; the
    // frame line is left out on the left and top.
    EXPECT_EQ(m_screen.PhotographCrop(), Rect(168, 1, 1200, 689));
    EXPECT_EQ(m_result.Pixel(10, 10), RGBColor(150, 120, 90));
    m_screen.ImgCancelClick();
    EXPECT_FALSE(m_screen.IsApplied());
}

TEST_F(TFormImageEditTest, MovesNewFramesAndRefusedFrames)
{
    PrepareLandscape(false);
    Drag({606, 403}, {100, 300}); // (0, 0, 199, 300)
    struct Step {
        const char* what;
        bool press;
        TPoint at;
        TRect frame;
    };
    const Step steps[] = {
        {"inside", true, {100, 100}, {0, 0, 199, 300}},
        {"moved", false, {150, 120}, {50, 20, 249, 320}},
        {"to the top edge", false, {150, 100}, {50, 0, 249, 300}},
        {"beyond the top: refused", false, {150, 90}, {50, 0, 249, 300}},
        {"back down without a jump", false, {150, 95}, {50, 5, 249, 305}},
        {"bottom-right handle", true, {246, 302}, {50, 5, 249, 305}},
        {"below the shown photograph: refused", false, {300, 420}, {50, 5, 249, 305}},
        {"smaller than 10: refused", false, {55, 13}, {50, 5, 249, 305}},
        {"outside the frame", true, {400, 350}, {50, 5, 249, 305}},
        {"new 15 x 15 frame at the mouse", false, {410, 360}, {410, 360, 425, 375}},
        {"its bottom-right corner follows", false, {450, 390}, {410, 360, 454, 390}},
        {"left of the image: refused", true, {-20, 10}, {410, 360, 454, 390}},
    };
    for (const Step& s : steps) {
        if (s.press)
            m_screen.ImageMouseDown(s.at.X, s.at.Y);
        else
            m_screen.ImageMouseMove(s.at.X, s.at.Y);
        EXPECT_EQ(m_screen.GetCropFrame(), s.frame) << s.what;
    }
    EXPECT_FALSE(m_screen.IsDragging()); // the press outside the image grabbed nothing
}

// A 609 x 457 photograph is shown pixel for pixel; the bottom-right corner dragged to height y - 1 gives a frame
// 1.5 (y - 1) wide, rounded halves to even.
TEST_F(TFormImageEditTest, TheIndicatorComparesTheFramesPhotographPixelsWithTheTargetWidth)
{
    ASSERT_TRUE(m_screen.PrepareBitmap(Solid(609, 457, RGBColor(3, 2, 1)), 300, 200, false, m_result));
    EXPECT_TRUE(m_screen.ImgPositiv->isVisibleTo(m_screen.Panel()));
    struct Case {
        int y, width;
        TImage* visible;
        int help;
    };
    const Case cases[] = {
        {150, 224, m_screen.ImgNegativ, 47},
        {151, 225, m_screen.ImgNeutral, 46},
        {200, 298, m_screen.ImgNeutral, 46},
        {201, 300, m_screen.ImgPositiv, 45},
    };
    m_screen.ImageMouseDown(606, 403);
    for (const Case& c : cases) {
        m_screen.ImageMouseMove(600, c.y);
        EXPECT_EQ(m_screen.GetCropFrame(), Rect(0, 0, c.width, c.y)) << c.width;
        for (TImage* light : {m_screen.ImgNegativ, m_screen.ImgNeutral, m_screen.ImgPositiv})
            EXPECT_EQ(light->isVisibleTo(m_screen.Panel()), light == c.visible) << c.width;
        EXPECT_EQ(m_screen.labelHelp->Caption(), QString::fromStdString(HelpString(c.help))) << c.width;
    }
}

TEST_F(TFormImageEditTest, CorrectionsWorkOnTheWorkingPhotographUntilTheOriginalReturns)
{
    ASSERT_TRUE(m_screen.PrepareBitmap(Solid(8, 6, RGBColor(110, 105, 100)), 300, 200, false, m_result));
    const TRect frame = m_screen.GetCropFrame();
    m_screen.ImageOptimizeClick(); // levels 100..110 stretched over 0..255
    EXPECT_EQ(m_screen.GetWorking().Pixel(3, 3), RGBColor(255, 128, 0));
    m_screen.ImageGrayClick();
    EXPECT_EQ(m_screen.GetWorking().Pixel(3, 3), RGBColor(110, 110, 110));
    const int32_t shown = m_screen.GetDisplay().Pixel(100, 100);
    EXPECT_TRUE((shown & 0xFF) == ((shown >> 8) & 0xFF) && (shown & 0xFF) == ((shown >> 16) & 0xFF));
    m_screen.ImageOriginalClick();
    EXPECT_EQ(m_screen.GetWorking().Pixel(3, 3), RGBColor(110, 105, 100));
    EXPECT_EQ(m_screen.GetCropFrame(), frame);
    EXPECT_EQ(m_screen.GetLoaded().Pixel(3, 3), RGBColor(110, 105, 100));
}

// Computed as written, the cut-out of a one-pixel photograph would run from 1 to 0.
TEST_F(TFormImageEditTest, APhotographOfOnePixelStillGivesACutOut)
{
    ASSERT_TRUE(m_screen.PrepareBitmap(Solid(1, 1, RGBColor(30, 20, 10)), 300, 200, false, m_result));
    EXPECT_EQ(m_screen.PhotographCrop(), Rect(0, 0, 1, 1));
    m_screen.ImgApplyClick();
    EXPECT_EQ(m_result.Width(), 300);
    EXPECT_EQ(m_result.Pixel(299, 199), RGBColor(30, 20, 10));
}

// Stored 64 x 32 with red, green, blue and white quarters (top-left, top-right, bottom-left, bottom-right); the
// orientation says where the stored first row and column belong.
TEST_F(TFormImageEditTest, PhotographsStandUprightWhateverOrientationTheyRecord)
{
    constexpr TColor red = RGBColor(255, 0, 0), green = RGBColor(0, 255, 0), blue = RGBColor(0, 0, 255);
    Bitmap stored(64, 32);
    Canvas& canvas = stored.GetCanvas();
    const TColor colours[] = {red, green, blue, kColorWhite};
    for (int i = 0; i < 4; ++i) {
        canvas.SetBrushColor(colours[i]);
        canvas.FillRect(Rect(i % 2 * 32, i / 2 * 16, i % 2 * 32 + 32, i / 2 * 16 + 16));
    }
    const std::vector<uint8_t> jpeg = EncodeJpeg(stored, 95);
    struct Case {
        uint16_t orientation;
        TColor quarters[4]; // top-left, top-right, bottom-left, bottom-right
    };
    const Case cases[] = {
        {1, {red, green, blue, kColorWhite}}, {2, {green, red, kColorWhite, blue}},
        {3, {kColorWhite, blue, green, red}}, {4, {blue, kColorWhite, red, green}},
        {5, {red, blue, green, kColorWhite}}, {6, {blue, red, kColorWhite, green}},
        {7, {kColorWhite, green, blue, red}}, {8, {green, kColorWhite, red, blue}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const std::string path = PathOf("photo" + std::to_string(c.orientation) + ".jpg");
        WriteFile(path, WithExifOrientation(jpeg, c.orientation));
        ASSERT_TRUE(m_screen.PrepareFile(path, 300, 200, false, m_result));
        const Bitmap& photo = m_screen.GetLoaded();
        EXPECT_EQ(photo.Width(), c.orientation >= 5 ? 32 : 64); // turned
        EXPECT_EQ(photo.Format(), PixelFormat::pf24bit);
        for (int q = 0; q < 4; ++q)
            EXPECT_TRUE(Near(photo.Pixel((1 + q % 2 * 2) * photo.Width() / 4, (1 + q / 2 * 2) * photo.Height() / 4),
                             c.quarters[q]))
                << q;
        m_screen.EndRun();
    }
}

// Which files are refused, and with which words, is PhotographFileTest's; the screen shows the words and keeps
// what it had.
TEST_F(TFormImageEditTest, AFileThatIsNoPictureShowsTheMessageAndChangesNothing)
{
    PrepareLandscape(false);
    m_screen.EndRun();
    m_result = Solid(3, 3, RGBColor(1, 1, 1));
    const std::string text = PathOf("notes.jpg");
    WriteFile(text, {'h', 'e', 'l', 'l', 'o'});
    for (const std::string& path : {text, PathOf("missing.png")}) {
        bool prepared = true;
        EXPECT_EQ(OkMessage([&] { prepared = m_screen.PrepareFile(path, 300, 200, false, m_result); }),
                  "This file cannot be read as a picture.");
        EXPECT_FALSE(prepared);
        EXPECT_EQ(m_screen.GetLoaded().Width(), 1200);
        EXPECT_EQ(m_screen.GetCropFrame(), Rect(0, 0, 609, 406));
        EXPECT_EQ(m_result.Width(), 3);
        EXPECT_FALSE(m_screen.ImgBG1->HasPicture());
    }
}

double MeanDifference(const Bitmap& a, const Bitmap& b)
{
    int64_t sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>((a.Pixel(x, y) >> shift) & 0xFF) -
                                static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF));
    return static_cast<double>(sum) / (a.Width() * a.Height() * 3.0);
}

// A large photograph file is read reduced, so the screen comes up at once; the cut-out still counts in pixels of
// the whole photograph, and a frame too small for the reduced pixels makes Apply read the file again at full
// resolution, with the greyscale and tonal correction repeated: the result is then the one from the whole picture.
TEST_F(TFormImageEditTest, ALargePhotographIsReadReducedAndCutAtTheResolutionTheSlotNeeds)
{
    Bitmap gradient(2400, 1800);
    for (int y = 0; y < gradient.Height(); ++y)
        for (int x = 0; x < gradient.Width(); ++x)
            gradient.SetPixel(x, y, RGBColor(x * 255 / 2400, y * 255 / 1800, 40 + (x + y) % 7));
    const std::string path = PathOf("large.jpg");
    WriteFile(path, EncodeJpeg(gradient, 95));
    const Bitmap whole = ReadPhotographFile(path);

    const struct {
        const char* what;
        bool smallFrame, edits;
        double tolerance;
    } cases[] = {
        {"whole frame, reduced pixels", false, false, 2.0},
        {"small frame with edits, read again", true, true, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Bitmap> results;
        std::vector<TRect> crops;
        for (bool fromFile : {true, false}) {
            ASSERT_TRUE(fromFile ? m_screen.PrepareFile(path, 300, 200, false, m_result)
                                 : m_screen.PrepareBitmap(whole, 300, 200, false, m_result));
            if (fromFile) {
                EXPECT_EQ(m_screen.GetReduction(), 2);
                EXPECT_EQ(m_screen.GetLoaded().Width(), 1200);
                EXPECT_EQ(m_screen.GetPhotographSize(), (TPoint{2400, 1800}));
            }
            if (c.smallFrame)
                Drag({1, 1}, {480, 330});
            if (c.edits) {
                m_screen.ImageGrayClick();
                m_screen.ImageOptimizeClick();
            }
            crops.push_back(m_screen.PhotographCrop());
            m_screen.ImgApplyClick();
            ASSERT_TRUE(m_screen.IsApplied());
            results.push_back(m_result);
            m_screen.EndRun();
        }
        EXPECT_EQ(crops[0], crops[1]);
        EXPECT_EQ(crops[0].Right, 2400);
        if (c.smallFrame) {
            EXPECT_LT(crops[0].Width() / 2, 300) << "too few reduced pixels for the slot";
        }
        ASSERT_EQ(results[0].Width(), 300);
        EXPECT_LE(MeanDifference(results[0], results[1]), c.tolerance);
    }
}

TEST_F(TFormImageEditTest, TheTitleLineTellsWhenThePhotographWasTaken)
{
    const std::vector<uint8_t> jpeg = EncodeJpeg(Solid(40, 30, RGBColor(150, 120, 90)), 90);
    const std::string dated = PathOf("dated.jpg");
    WriteFile(dated, WithExifDate(jpeg, "2024:06:15 14:03:59"));
    const std::string undated = PathOf("undated.jpg");
    WriteFile(undated, jpeg);
    const QString taken = QLocale().toString(QDateTime(QDate(2024, 6, 15), QTime(14, 3, 59)), QLocale::ShortFormat);

    ASSERT_TRUE(m_screen.PrepareFile(undated, 300, 200, false, m_result));
    EXPECT_EQ(m_screen.labelTitle->Caption(), "");
    m_screen.EndRun();
    ASSERT_TRUE(m_screen.PrepareFile(dated, 300, 200, false, m_result));
    EXPECT_EQ(m_screen.labelTitle->Caption().toStdString(), HelpString(280) + " " + taken.toStdString());
    m_screen.EndRun();
    PrepareLandscape(false); // a picture from the album, not from a file
    EXPECT_EQ(m_screen.labelTitle->Caption(), "");
}
