#pragma once
// What the command-line tests of albums share: a folder of the test's own with a designs folder, the finish test
// album written into it with its design, and the lines a run printed.
#include "ScratchFolder.h"
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

class CliAlbumTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        std::filesystem::create_directories(m_dir / "designs");
    }

    // album.evp and its design in designs/.
    void WriteAlbumFiles(const evProject& project) const
    {
        MemoryStream design;
        project.GetDesign()->SaveToStream(design);
        design.SaveToFile(Path("designs/" + project.GetDesignFileName()));
        WriteProjectFile(project, Path("album.evp"));
    }
};
