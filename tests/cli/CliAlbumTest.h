#pragma once
// What the command-line tests of albums share: a folder of the test's own with a designs folder, the finish test
// album written into it with its design, and the lines a run printed.
#include "model/ProjectFile.h"
#include "model/evLayout.h"
#include "model/evProject.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CliAlbumTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        m_dir = std::filesystem::temp_directory_path() / ("vellora-" + suite + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir / "designs");
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    // album.evp and its design in designs/.
    void WriteAlbumFiles(const evProject& project) const
    {
        MemoryStream design;
        project.GetDesign()->SaveToStream(design);
        design.SaveToFile(Path("designs/" + project.GetDesignFileName()));
        WriteProjectFile(project, Path("album.evp"));
    }

    std::filesystem::path m_dir;
};
