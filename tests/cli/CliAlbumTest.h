#pragma once
// What the command-line tests share: a folder of the test's own (designs/, data/, out/, new/, tmp/) with the files
// written into it, the arguments of a finish run, the lines a run printed, and what a refusal looks like.
#include "CliRunner.h"
#include "ScratchFolder.h"
#include "model/ProjectFile.h"
#include "model/evLayout.h"
#include "model/evProject.h"
#include "platform/Stream.h"
#include "presentation/DiscProducer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A refusal: status 1, exactly one whole line on stderr that names the program, nothing on stdout.
inline ::testing::AssertionResult OneLineFailure(const CliResult& result)
{
    const bool oneLine = std::count(result.err.begin(), result.err.end(), '\n') == 1 && result.err.back() == '\n';
    if (result.status == 1 && oneLine && result.err.rfind("vellora-cli: ", 0) == 0 && result.out.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status " << result.status << ", stderr \"" << result.err << "\", stdout \""
                                         << result.out << "\"";
}

class CliAlbumTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        for (const char* folder : {"designs", "data", "out", "new", "tmp"})
            std::filesystem::create_directories(m_dir / folder);
    }

    // The project file (album.evp unless named) and its design in designs/.
    void WriteAlbumFiles(const evProject& project, const std::string& name = "album.evp") const
    {
        MemoryStream design;
        project.GetDesign()->SaveToStream(design);
        design.SaveToFile(Path("designs/" + project.GetDesignFileName()));
        WriteProjectFile(project, Path(name));
    }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    std::vector<std::string> FinishArgs(const std::string& project = "album.evp", const std::string& out = "out",
                                        const std::vector<std::string>& more = {}) const
    {
        std::vector<std::string> args{"finish",    Path(project),   "--out",  Path(out),
                                      "--designs", Path("designs"), "--data", Path("data")};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    std::string Disc(const std::string& out = "out") const { return DiscFolderFor(Path(out)); }
};
