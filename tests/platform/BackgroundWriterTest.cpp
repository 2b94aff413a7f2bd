#include "platform/BackgroundWriter.h"
#include "ScratchFolder.h"

#include "platform/SnapshotStream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

namespace {

std::shared_ptr<const SnapshotStream> Content(const std::string& text)
{
    auto snapshot = std::make_shared<SnapshotStream>();
    snapshot->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    return snapshot;
}

class BackgroundWriterTest : public ScratchFolderTest {
protected:
    std::vector<BackgroundWriter::Outcome> Outcomes()
    {
        std::lock_guard lock(m_mutex);
        return m_outcomes;
    }
    BackgroundWriter::Report Recorder()
    {
        return [this](const BackgroundWriter::Outcome& outcome) {
            std::lock_guard lock(m_mutex);
            m_outcomes.push_back(outcome);
        };
    }

    std::mutex m_mutex;
    std::vector<BackgroundWriter::Outcome> m_outcomes;
};

} // namespace

TEST_F(BackgroundWriterTest, JobsHappenInOrderAndTheLastWordCounts)
{
    const std::string copy = (m_dir / "a.evp.recovery").string();
    BackgroundWriter writer(Recorder());
    for (int round = 0; round < 20; ++round) {
        writer.Write(copy, Content("first " + std::to_string(round)));
        writer.Write(copy, Content("second " + std::to_string(round)));
        writer.Remove(copy);
        writer.Write(copy, Content("third " + std::to_string(round)));
        writer.Wait();
        EXPECT_EQ(Read(copy), "third " + std::to_string(round));
    }
    writer.Remove(copy);
    writer.Wait();
    EXPECT_FALSE(fs::exists(copy));
    for (const BackgroundWriter::Outcome& outcome : Outcomes())
        EXPECT_TRUE(outcome.succeeded) << outcome.message;
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 0);
}

TEST_F(BackgroundWriterTest, FailuresAreReportedWithFileAndReason)
{
    const std::string missing = (m_dir / "gone" / "a.evp.recovery").string();
    {
        BackgroundWriter writer(Recorder());
        writer.Write(missing, Content("x"));
        writer.Remove((m_dir / "never written").string()); // a file that is not there is no failure
    }                                                      // the destructor finishes what was asked
    const std::vector<BackgroundWriter::Outcome> outcomes = Outcomes();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_FALSE(outcomes[0].succeeded);
    EXPECT_FALSE(outcomes[0].removal);
    EXPECT_EQ(outcomes[0].path, missing);
    EXPECT_EQ(outcomes[0].file, missing);
    EXPECT_EQ(outcomes[0].systemError, ENOENT);
    EXPECT_TRUE(outcomes[1].succeeded);
    EXPECT_TRUE(outcomes[1].removal);
}
