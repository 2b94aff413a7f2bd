// Finishing: the disc folder and its files, the presentation file page by page, the studio page's duration, the
// code of every step that can fail, and what a failed finish leaves of the one before.
#include "presentation/FinishTestAlbum.h"

#include "model/PageOrder.h"
#include "model/evProjectorPage.h"
#include "platform/Resources.h"
#include "presentation/DiscProducer.h"
#include "presentation/PresentationFile.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sys/stat.h>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

class DiscProducerTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_chosen = m_folder / "chosen";
        fs::create_directories(m_chosen);
        m_project = MakeAlbum();
    }

    std::string Disc() const { return DiscFolderFor(m_chosen.string()); }
    std::string DiscFile(const std::string& name) const { return Disc() + "/" + name; }

    std::unique_ptr<PresentationFile> ReadPresentation() const
    {
        return PresentationFile::ReadFromFile(DiscFile(DiscProducer::kPresentationFile));
    }

    // Runs finishing and returns the failed step's code, or "" on success.
    std::string Produce(const std::optional<std::string>& disc = std::nullopt)
    {
        DiscProducer producer(*m_project, disc.value_or(Disc()));
        try {
            producer.Produce();
        } catch (const EFinishError& error) {
            return error.GetCode();
        }
        return "";
    }

    static void Touch(const std::string& path) { std::ofstream(path) << "in the way"; }
    // Every name in a folder, hidden ones too: nothing of a failed or finished run may be left behind.
    static std::set<std::string> NamesIn(const std::string& folder)
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path m_chosen;
    std::unique_ptr<evProject> m_project;
};

std::vector<uint8_t> FileBytes(const std::string& path)
{
    MemoryStream stream;
    stream.LoadFromFile(path);
    return stream.Data();
}

std::vector<uint8_t> ResourceBytes(const char* name)
{
    QByteArray data;
    EXPECT_TRUE(ReadResource(name, data)) << name;
    return std::vector<uint8_t>(data.begin(), data.end());
}

} // namespace

TEST(DiscProducerRulesTest, DiscFolderAndDuration)
{
    const std::pair<const char*, const char*> folders[] = {
        {"/media/burn", "/media/burn/Vellora"}, {"/media/burn/", "/media/burn/Vellora"}, {"/", "/Vellora"}, {"", ""}};
    for (const auto& [chosen, disc] : folders)
        EXPECT_EQ(DiscFolderFor(chosen), disc) << chosen;

    const std::pair<const char*, int> durations[] = {
        {"5", 5}, {" 12 ", 12}, {"+7", 7}, {"-3", -3}, {"2147483647", 2147483647}};
    for (const auto& [text, seconds] : durations)
        EXPECT_EQ(ParseStudioDuration(text), seconds) << text;
    for (const char* bad : {"", " ", "abc", "5s", "1.5", "2147483648", "+", "-", "+-1", "0x10"})
        EXPECT_EQ(ParseStudioDuration(bad), std::nullopt) << bad;

    for (const char* code : {"FIN_DIR", "FIN_DIR_DATA", "FIN_PRJ", "FIN_PLY", "FIN_AUT", "FIN_ICO"}) {
        EXPECT_EQ(FinishErrorPopupText(code), std::string("Internal Error: ") + code + ". Please contact our support.");
        EXPECT_NE(FinishErrorExplanation(code), FinishErrorExplanation("SOMETHING_ELSE")) << code;
    }
}

TEST_F(DiscProducerTest, WritesTheDiscFolderPageByPage)
{
    std::vector<int> progress;
    DiscProducer producer(*m_project, Disc());
    producer.SetProgress([&progress](int percent) { progress.push_back(percent); });
    producer.Produce();
    EXPECT_EQ(progress, (std::vector<int>{0, 16, 33, 50, 66, 83, 100}));

    EXPECT_EQ(FileBytes(DiscFile("autorun.inf")), ResourceBytes("AUTORUN"));
    EXPECT_EQ(FileBytes(DiscFile("autorun.inf")).size(), 44u);
    EXPECT_EQ(FileBytes(DiscFile("evplay")), ResourceBytes("PROJECTOR"));
    struct stat status {};
    ASSERT_EQ(::stat(DiscFile("evplay").c_str(), &status), 0);
    EXPECT_NE(status.st_mode & S_IXUSR, 0u);
    EXPECT_EQ(FileBytes(DiscFile("evplay.exe")), ResourceBytes("WINSTARTER"));
    EXPECT_EQ(FileBytes(DiscFile("data/ev.ico")), ResourceBytes("AUTORUNICON"));
    EXPECT_EQ(FileBytes(DiscFile("index.html")), ResourceBytes("WEB_INDEX"));
    EXPECT_TRUE(fs::is_regular_file(DiscFile("web/album.js")));
    EXPECT_EQ(NamesIn(Disc()),
              (std::set<std::string>{"autorun.inf", "data", "evplay", "evplay.exe", "index.html", "web"}));
    EXPECT_EQ(NamesIn(DiscFile("data")), (std::set<std::string>{"data.evp", "ev.ico"}));

    // The pages in page order, as each category renders it; no music, no studio page.
    const auto file = ReadPresentation();
    EXPECT_EQ(file->background, kBackground);
    std::vector<evCategory*> pages;
    PageOrder::Flatten(m_project->GetFirstCategory(), pages, true);
    ASSERT_EQ(file->pages.size(), 6u);
    for (size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(file->pages[i]->ToString(), pages[i]->CreatePresentationPage()->ToString()) << i;
    EXPECT_EQ(file->music, nullptr);
    EXPECT_EQ(file->studio, nullptr);
    EXPECT_EQ(file->studioDuration, 0);

    // "NP", "NP" and 0 close the file.
    const std::vector<uint8_t> bytes = FileBytes(DiscFile(DiscProducer::kPresentationFile));
    const std::vector<uint8_t> tail{2, 0, 0, 0, 'N', 'P', 2, 0, 0, 0, 'N', 'P', 0, 0, 0, 0};
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<long>(tail.size())));
}

TEST_F(DiscProducerTest, EachFailingStepGivesItsCode)
{
    Touch(m_chosen.string() + "/blocker");
    EXPECT_EQ(Produce(DiscFolderFor(m_chosen.string() + "/blocker")), "FIN_DIR") << "a folder below a file";
    EXPECT_EQ(Produce(DiscFolderFor("")), "FIN_DIR") << "no folder";
    Touch(Disc());
    EXPECT_EQ(Produce(), "FIN_DIR");
    fs::remove(Disc());

    fs::create_directories(Disc());
    Touch(DiscFile("data"));
    EXPECT_EQ(Produce(), "FIN_DIR_DATA");
    fs::remove(DiscFile("data"));

    fs::create_directories(DiscFile("data/data.evp"));
    EXPECT_EQ(Produce(), "FIN_PRJ");
    EXPECT_EQ(NamesIn(DiscFile("data")), (std::set<std::string>{"data.evp"}));
    EXPECT_FALSE(fs::exists(DiscFile("web")));
    fs::remove(DiscFile("data/data.evp"));

    const std::pair<const char*, const char*> resources[] = {{"evplay", "FIN_PLY"},
                                                             {"evplay.exe", "FIN_PLY"},
                                                             {"index.html", "FIN_PRJ"},
                                                             {"autorun.inf", "FIN_AUT"},
                                                             {"data/ev.ico", "FIN_ICO"}};
    for (const auto& [name, code] : resources) {
        fs::remove(DiscFile(name));
        fs::create_directories(DiscFile(name));
        EXPECT_EQ(Produce(), code) << name;
        fs::remove(DiscFile(name));
    }
    EXPECT_EQ(Produce(), "");
}

// A page that cannot be drawn ends finishing: the presentation file, the browser album and its pictures (those of
// the changed page before it were written, then thrown away) stay as they were, and nothing is left beside them.
// A finish that succeeds replaces them whole.
TEST_F(DiscProducerTest, APageThatCannotBeDrawnEndsFinishingAndKeepsTheOldFiles)
{
    ASSERT_EQ(Produce(), "");
    const std::vector<uint8_t> good = FileBytes(DiscFile(DiscProducer::kPresentationFile));
    const std::vector<uint8_t> goodAlbum = FileBytes(DiscFile("web/album.js"));
    const std::set<std::string> discNames = NamesIn(Disc());
    const std::set<std::string> media = NamesIn(DiscFile("web/media"));
    m_project->GetFirstCategory()->SetPageLayoutID(14);
    evCategory* broken = m_project->GetFirstCategory()->GetSub();
    broken->SetPageLayoutID(999); // no such page layout in the design
    EXPECT_EQ(Produce(), "FIN_PRJ");
    EXPECT_EQ(FileBytes(DiscFile(DiscProducer::kPresentationFile)), good);
    EXPECT_EQ(FileBytes(DiscFile("web/album.js")), goodAlbum);
    EXPECT_EQ(NamesIn(DiscFile("web/media")), media);
    EXPECT_EQ(NamesIn(DiscFile("data")), (std::set<std::string>{"data.evp", "ev.ico"}));
    EXPECT_EQ(NamesIn(Disc()), discNames);

    broken->SetPageLayoutID(10);
    EXPECT_EQ(Produce(), "");
    EXPECT_NE(FileBytes(DiscFile("web/album.js")), goodAlbum);
    EXPECT_NE(NamesIn(DiscFile("web/media")), media);
    EXPECT_EQ(NamesIn(Disc()), discNames);
}
