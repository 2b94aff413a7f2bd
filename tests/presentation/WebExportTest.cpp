// The album for web browsers: texts that can never leave their string, album.js against data.evp, music that
// cannot be converted, and the disc that the browser test plays (written when VELLORA_WEB_DISC_OUT is set).
#include "presentation/FinishTestAlbum.h"

#include "FakeViewerControl.h"
#include "audio/AudioFormat.h"
#include "audio/AudioTestFiles.h"
#include "audio/WebMusic.h"
#include "audio/evMusic.h"
#include "model/PageOrder.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Dates.h"
#include "presentation/DiscProducer.h"
#include "presentation/PresentationFile.h"
#include "presentation/PresentationPlayer.h"
#include "presentation/WebExport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <set>

using namespace finishtest;
using namespace audiotest;
namespace fs = std::filesystem;

namespace {

// MakeAlbum with a slide show, a film strip and a picture that grows under the pointer below "Chapter three",
// reached through its chapter menu.
std::unique_ptr<evProject> MakeWebAlbum(const std::string& first = "Anna", const std::string& second = "Ben")
{
    std::unique_ptr<evProject> project = MakeAlbum();
    evCategory* three = project->GetFirstCategory()->GetSub();
    while (three->GetNext())
        three = three->GetNext();
    auto slides = Page("Slides", 12);
    for (TColor colour : {0x000000FF, 0x0000FF00, 0x00FF0000})
        slides->AddUserElement(ActionId(12, 1), SolidPicture(80, 60, colour));
    auto film = Page("Film", 13);
    for (TColor colour : {0x0000FFFF, 0x00FF00FF, 0x00FFFF00})
        film->AddUserElement(ActionId(13, 1), SolidPicture(90, 60, colour));
    auto hover = Page("Hover", 14);
    hover->AddUserElement(FieldId(14, 1), SolidPicture(120, 90, 0x00A0C0E0));
    slides->AppendSibling(std::move(film));
    slides->AppendSibling(std::move(hover));
    three->AddChild(std::move(slides));
    project->GiveTreeProject();
    project->SetFirstName(first);
    project->SetSecondName(second);
    return project;
}

QJsonObject ReadAlbumJs(const std::string& disc)
{
    QFile file(QString::fromStdString(disc + "/web/album.js"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    for (char c : text)
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "album.js holds more than printable ASCII";
    const QByteArray prefix = "window.VELLORA_ALBUM = ";
    EXPECT_TRUE(text.startsWith(prefix));
    EXPECT_TRUE(text.endsWith(";\n"));
    text = text.mid(prefix.size(), text.size() - prefix.size() - 2);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

std::vector<uint8_t> Bytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return std::vector<uint8_t>(data.begin(), data.end());
}

// The element as album.js should describe it. Its picture file, named as album.js names it, must hold the
// element's bytes.
QJsonObject ElementJson(const std::string& disc, const evProjectorPageElement& element, const QJsonObject& written)
{
    QJsonObject json{{"x", element.GetX()},
                     {"y", element.GetY()},
                     {"kind", element.GetKind()},
                     {"w", element.GetPicture().Width()},
                     {"h", element.GetPicture().Height()}};
    if (!element.GetPicture().IsEmpty()) {
        json["src"] = written["src"];
        EXPECT_EQ(Bytes(disc + "/web/" + written["src"].toString().toStdString()), element.GetPicture().Bytes());
    }
    if (const auto* strip = dynamic_cast<const evProjectorSliderElement*>(&element)) {
        const TRect& window = strip->GetWindow();
        QJsonArray items;
        for (int32_t k = 0; k < strip->GetItems().Count(); ++k)
            items.append(ElementJson(disc, *strip->GetItems().GetItemAs<evProjectorPageElement>(k),
                                     written["strip"]["items"][k].toObject()));
        json["strip"] = QJsonObject{{"window", QJsonArray{window.Left, window.Top, window.Right, window.Bottom}},
                                    {"direction", strip->GetDirection()},
                                    {"itemWidth", strip->GetItemWidth()},
                                    {"itemHeight", strip->GetItemHeight()},
                                    {"speed", strip->GetSpeed()},
                                    {"items", items}};
    }
    return json;
}

// The page as album.js should describe it, and as it does (without its title), in the same text form.
std::pair<std::string, std::string> PageJson(const std::string& disc, const evProjectorPage& page, QJsonObject written)
{
    written.remove("title");
    QJsonArray elements, mouse, navi;
    for (int32_t i = 0; i < page.GetElements().Count(); ++i)
        elements.append(ElementJson(disc, *page.GetElements().GetItemAs<evProjectorPageElement>(i),
                                    written["elements"][i].toObject()));
    for (int32_t i = 0; i < page.GetMouseActions().Count(); ++i) {
        const auto* action = page.GetMouseActions().GetItemAs<evProjectorMouseAction>(i);
        const TRect& r = action->GetRect();
        mouse.append(QJsonArray{r.Left, r.Top, r.Right, r.Bottom, action->GetType(), action->GetFirstElement(),
                                action->GetSecondElement()});
    }
    for (int32_t i = 0; i < page.GetNaviActions().Count(); ++i) {
        const auto* action = page.GetNaviActions().GetItemAs<evProjectorNaviAction>(i);
        const TRect& r = action->GetRect();
        navi.append(QJsonArray{r.Left, r.Top, r.Right, r.Bottom, action->GetTarget()});
    }
    const QJsonObject expected{{"type", page.GetPageType()},
                               {"interval", page.GetSlideInterval()},
                               {"elements", elements},
                               {"mouse", mouse},
                               {"navi", navi}};
    return {QJsonDocument(expected).toJson().toStdString(), QJsonDocument(written).toJson().toStdString()};
}

int64_t FolderBytes(const std::string& folder)
{
    int64_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            total += static_cast<int64_t>(entry.file_size());
    return total;
}

class WebExportTest : public TempFolderTest {
protected:
    std::string Disc() const { return DiscFolderFor((m_folder / "chosen").string()); }

    std::vector<std::string> Finish(evProject& project, evPhotograph* studio = nullptr,
                                    WebMusicAccess music = MakeWebMusicAccess())
    {
        fs::create_directories(m_folder / "chosen");
        DiscProducer producer(project, Disc());
        producer.SetStudio(studio, "4");
        producer.SetWebMusic(std::move(music));
        producer.Produce();
        return producer.GetWarnings();
    }

    void AddMusic(evProject& project)
    {
        const std::string wave = (m_folder / "tune.wav").string();
        WriteFile(wave, MakeWave(1500));
        project.SetMusic(std::make_unique<evMusic>("Our tune", 1, wave));
    }
};

} // namespace

TEST(WebJsonString, EveryTextStaysInsideItsString)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Anna & Ben", "\"Anna \\u0026 Ben\""},
        {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
        {"</script><script>alert(1)</script>", "\"\\u003c/script\\u003e\\u003cscript\\u003ealert(1)\\u003c/script"
                                               "\\u003e\""},
        {"Наташа", "\"\\u041d\\u0430\\u0442\\u0430\\u0448\\u0430\""},
        {"\xF0\x9F\x92\x8D", "\"\\ud83d\\udc8d\""}, // a ring: a pair of surrogates
        {"line\r\nbreak\ttab", "\"line\\u000d\\u000abreak\\u0009tab\""},
        {"it's", "\"it\\u0027s\""},
        {"caf\xE9", "\"caf\\u00e9\""},   // not UTF-8: read as Windows-1252
        {"\xE2\x80\xA8", "\"\\u2028\""}, // a line separator ends a line in older scripts
    };
    for (const auto& [raw, expected] : cases)
        EXPECT_EQ(WebJsonString(raw), expected) << raw;
}

TEST_F(WebExportTest, AlbumJsHoldsWhatThePresentationFileHolds)
{
    const std::unique_ptr<evProject> project = MakeWebAlbum("Zoë </script>", "Jürgen \"J\"");
    WriteStudioFiles(m_folder.string());
    const std::unique_ptr<StudioBranding> studio = StudioBranding::Load(m_folder.string());
    ASSERT_NE(studio, nullptr);
    Finish(*project, &studio->GetRecord());

    const auto presentation = PresentationFile::ReadFromFile(Disc() + "/data/data.evp");
    const QJsonObject album = ReadAlbumJs(Disc());
    EXPECT_EQ(album["title"].toString(), QStringLiteral("Zoë </script> & Jürgen \"J\""));
    EXPECT_EQ(album["date"].toString().toStdString(), ShortDateText(project->GetDate()));
    EXPECT_EQ(album["background"].toString(), QStringLiteral("#604020"));
    EXPECT_EQ(album["width"].toInt(), 1024);
    EXPECT_EQ(album["height"].toInt(), 768);
    EXPECT_TRUE(album["music"].isNull());

    const QJsonArray pages = album["pages"].toArray();
    ASSERT_EQ(pages.size(), static_cast<qsizetype>(presentation->pages.size()));
    std::vector<evCategory*> categories;
    PageOrder::Flatten(project->GetFirstCategory(), categories, true);
    bool slideShow = false, filmStrip = false, hover = false;
    for (size_t i = 0; i < presentation->pages.size(); ++i) {
        const QJsonObject page = pages[static_cast<qsizetype>(i)].toObject();
        EXPECT_EQ(page["title"].toString().toStdString(), categories[i]->GetTitle());
        const auto [expected, written] = PageJson(Disc(), *presentation->pages[i], page);
        EXPECT_EQ(written, expected) << "page " << i;
        slideShow |= page["type"].toInt() == 1;
        for (const QJsonValue& element : page["elements"].toArray()) {
            filmStrip |= element.toObject().contains("strip");
            hover |= element.toObject()["kind"].toInt() == 1;
        }
    }
    EXPECT_TRUE(slideShow && filmStrip && hover) << "the album must show every kind of page";
    ASSERT_NE(presentation->studio, nullptr);
    const auto [expected, written] = PageJson(Disc(), *presentation->studio, album["studio"].toObject());
    EXPECT_EQ(written, expected) << "studio page";
    EXPECT_EQ(album["studioSeconds"].toInt(), 4);

    // Pictures shared between pages are written once, so the browser album is no larger than data.evp.
    EXPECT_LT(FolderBytes(Disc() + "/web/media"), static_cast<int64_t>(fs::file_size(Disc() + "/data/data.evp")));
    EXPECT_EQ(Bytes(Disc() + "/web/player.js").size(), Bytes(":/resources/WEB_PLAYER_JS").size());

    // Music that browsers play as it is goes along as it is, with an MP3 copy for those that play only MP3.
    AddMusic(*project);
    EXPECT_EQ(Finish(*project), std::vector<std::string>{});
    const QJsonObject music = ReadAlbumJs(Disc())["music"].toObject();
    EXPECT_EQ(music["title"].toString(), QStringLiteral("Our tune"));
    EXPECT_TRUE(music["loop"].toBool());
    const QJsonArray files = music["files"].toArray();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].toObject()["src"].toString(), QStringLiteral("music.mp3"));
    EXPECT_EQ(files[0].toObject()["type"].toString(), QStringLiteral("audio/mpeg"));
    EXPECT_EQ(files[1].toObject()["src"].toString(), QStringLiteral("music.wav"));
    EXPECT_EQ(DetectAudioFormat(Disc() + "/web/music.mp3"), AudioFormat::Mp3);
    EXPECT_EQ(Bytes(Disc() + "/web/music.wav"), MakeWave(1500));
    // The program's own copy of the music is private; the disc's is for everyone.
    EXPECT_NE(fs::status(Disc() + "/web/music.wav").permissions() & fs::perms::others_read, fs::perms::none);
}

TEST_F(WebExportTest, MusicThatCannotBeConvertedLeavesTheBrowserSilentWithAWarning)
{
    const std::unique_ptr<evProject> project = MakeWebAlbum();
    AddMusic(*project);
    WebMusicAccess access = MakeWebMusicAccess();
    access.writeMp3 = [](const std::string&, const std::string&) { throw EVelloraError("no encoder"); };
    const std::vector<std::string> warnings = Finish(*project, nullptr, access);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "The music \"Our tune\" could not be converted for web browsers (no encoder); the "
                           "album plays its music only in web browsers that play wav files.");
    const QJsonArray files = ReadAlbumJs(Disc())["music"].toObject()["files"].toArray();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].toObject()["src"].toString(), QStringLiteral("music.wav"));
    EXPECT_FALSE(fs::exists(Disc() + "/web/music.mp3"));

    // A track of no known format and no MP3 copy: the browser album has no music at all, and says so.
    access.describe = [](const evObject&) { return WebMusicTrack{"Odd", "/nonexistent", true, "", ""}; };
    EXPECT_EQ(Finish(*project, nullptr, access).size(), 1u);
    EXPECT_TRUE(ReadAlbumJs(Disc())["music"].isNull());
}

// The disc that the browser test plays, with what the native player makes of it: the pages it reaches from the
// first page, and three pages as it draws them. Runs only as the browser test's set-up.
TEST_F(WebExportTest, WritesTheDiscForTheBrowserTest)
{
    const char* out = std::getenv("VELLORA_WEB_DISC_OUT");
    if (!out)
        GTEST_SKIP() << "only as the set-up of the browser test";
    fs::remove_all(out);
    fs::create_directories(out);
    const std::unique_ptr<evProject> project = MakeWebAlbum("Zoë", "Jürgen");
    AddMusic(*project);
    DiscProducer producer(*project, DiscFolderFor(out));
    producer.SetWebMusic(MakeWebMusicAccess());
    producer.Produce();
    const auto presentation = PresentationFile::ReadFromFile(DiscFolderFor(out) + "/data/data.evp");

    // Breadth first from page 0 over the navigation targets, as the native player follows them.
    std::set<int32_t> reached{0};
    std::deque<int32_t> queue{0};
    while (!queue.empty()) {
        const evProjectorPage& page = *presentation->pages[static_cast<size_t>(queue.front())];
        queue.pop_front();
        for (int32_t i = 0; i < page.GetNaviActions().Count(); ++i) {
            const int32_t target = page.GetNaviActions().GetItemAs<evProjectorNaviAction>(i)->GetTarget();
            if (target >= 0 && target < static_cast<int32_t>(presentation->pages.size()) &&
                reached.insert(target).second)
                queue.push_back(target);
        }
    }
    QJsonArray reachedJson;
    for (int32_t index : reached)
        reachedJson.append(index);

    // The native player's picture of three pages, right after they were shown.
    QJsonArray rendered;
    FakeViewerControl control(1024, 768);
    PresentationPlayer player(*presentation, control, {}, presentation->music != nullptr);
    player.Begin();
    for (int32_t index : {0, 3, 6}) {
        player.GoTo(index);
        const std::string png = std::string(out) + "/native-" + std::to_string(index) + ".png";
        ASSERT_TRUE(control.picture.Image().save(QString::fromStdString(png)));
        rendered.append(QJsonObject{{"page", index}, {"png", QString::fromStdString(png)}});
    }
    QJsonObject expected{{"reached", reachedJson},
                         {"pages", static_cast<int>(presentation->pages.size())},
                         {"rendered", rendered},
                         {"disc", QString::fromStdString(DiscFolderFor(out))}};
    QFile file(QString::fromStdString(std::string(out) + "/expected.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(expected).toJson());
}
