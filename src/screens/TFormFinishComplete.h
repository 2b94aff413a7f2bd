#pragma once
// The report after a disc folder was written: a card that tells what to do with it, OK, and "Save a disc image",
// which writes an ISO image of the disc folder to a file the user chooses (for a burning program, or to keep).

#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <string>

class TFormFinishComplete : public SkinnedScreen {
    Q_OBJECT

public:
    TFormFinishComplete();

    // The disc folder just written and the project's two names (raw bytes, as the project holds them), which
    // name the disc image's volume.
    void Run(const std::string& discFolder, const std::string& firstName, const std::string& secondName);
    void Prepare(const std::string& discFolder, const std::string& firstName, const std::string& secondName);

    void ImgApplyClick();
    // Asks for the image's file name, writes the image under the wait pop-up and reports the outcome.
    void imgBtnDiscImageClick();
    void ImgBGMouseMove(int x, int y);

    const std::string& GetDiscFolder() const { return m_discFolder; }
    // The volume name the disc image gets.
    const std::string& GetVolumeName() const { return m_volumeName; }
    // The last image written ("" for none) and the error of the last attempt that failed ("" for none).
    const std::string& GetImagePath() const { return m_imagePath; }
    const std::string& GetImageError() const { return m_imageError; }

    TImage* ImgBG;
    TImage* ImgHeader;
    TImage* ImgReport;
    TImage* ImgBtn;
    TImage* imgHelpBox;
    TLabel* labelHelp;
    TImage* ImgApply;
    TImage* imgBtnDiscImage;

private:
    std::string ChooseImagePath();
    void WriteImage(const std::string& path);

    std::string m_discFolder;
    std::string m_volumeName;
    std::string m_imagePath;
    std::string m_imageError;
    int32_t m_hint = -1;
};
