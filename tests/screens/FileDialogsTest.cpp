// The folders the dialogs open in: each kind of choice remembers its own last folder between runs.
#include "screens/ScreenTestSupport.h"

#include "platform/UserSettings.h"
#include "screens/FileDialogs.h"
#include "screens/TformProjectEditPicture.h"

#include <filesystem>
#include <fstream>

using namespace screentest;

namespace {

class FileDialogsTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        SetUserSettingsFile(PathOf("settings.txt"));
    }
    void TearDown() override
    {
        SetUserSettingsFile(PathOf("unused.txt"));
        SkinTest::TearDown();
    }
    std::string FileIn(const std::string& folder)
    {
        std::filesystem::create_directories(PathOf(folder));
        const std::string file = PathOf(folder) + "/picture.jpg";
        std::ofstream(file) << "x";
        return file;
    }

    AnsweringDialogs m_dialogs;
};

TEST_F(FileDialogsTest, ThePictureDialogOpensWhereThePicturesWereChosenLastAndTheMusicApart)
{
    m_dialogs.openAnswers = {FileIn("photos"), std::nullopt, FileIn("more photos")};
    EXPECT_EQ(TformProjectEditPicture::ChoosePictureFiles(false).size(), 1u);
    EXPECT_EQ(TformProjectEditPicture::ChoosePictureFiles(false).size(), 0u); // cancelled: still "photos"
    EXPECT_EQ(TformProjectEditPicture::ChoosePictureFiles(false).size(), 1u);
    RememberFolderOf(DialogPurpose::Music, FileIn("songs"));
    const std::vector<std::string> folders = {"", PathOf("photos"), PathOf("photos")};
    ASSERT_EQ(m_dialogs.openRequests.size(), folders.size());
    for (size_t i = 0; i < m_dialogs.openRequests.size(); ++i)
        EXPECT_EQ(m_dialogs.openRequests[i].initialFolder, folders[i]) << i;
    // Kept for the next run; a folder that has gone since is forgotten.
    SetUserSettingsFile(PathOf("settings.txt"));
    EXPECT_EQ(RememberedFolder(DialogPurpose::Pictures), PathOf("more photos"));
    EXPECT_EQ(RememberedFolder(DialogPurpose::Music), PathOf("songs"));
    EXPECT_EQ(RememberedFolder(DialogPurpose::DiscFolder), "");
    std::filesystem::remove_all(PathOf("songs"));
    EXPECT_EQ(RememberedFolder(DialogPurpose::Music), "");
}

} // namespace
