#pragma once
// A program folder for start-up tests: the main data file, designs and sound lists written by the test, and an
// environment whose sound system and screen the test chooses.

#include "screens/ScreenTestSupport.h"

#include "app/ScreenCreation.h"
#include "app/StartupEnvironment.h"
#include "app/TFormMainMenu.h"
#include "model/AlbumTestSupport.h"
#include "model/evLayout.h"
#include "platform/Stream.h"
#include "screens/ScreenSet.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include <sys/time.h>

namespace apptest {

// Writes the body of a model object or collection to the file.
template <class Object>
void WriteBody(const Object& object, const std::string& path)
{
    MemoryStream stream;
    object.SaveToStream(stream);
    stream.SaveToFile(path);
}

inline void WriteBytes(const std::vector<uint8_t>& bytes, const std::string& path)
{
    MemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SaveToFile(path);
}

// An album of three pages on the design.
inline evProject Album(const std::string& first = "Anna", const std::string& second = "Ben",
                       const std::string& design = "Rose.evl")
{
    return evProject(first, second, 40000.0, design, screentest::PageChain({"Welcome", "Menu", "End"}));
}

// Sets the file's times back by the seconds.
inline void Age(const std::string& path, int seconds)
{
    const timeval earlier[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
    ::utimes(path.c_str(), earlier);
}

// A design whose page layouts carry the given keys, with identifiers 1000, 1001, ... in key order.
inline std::unique_ptr<evLayout> MakeDesign(const std::string& name,
                                            const std::vector<std::string>& keys = {"W", "M", "E", "cd"})
{
    auto design = std::make_unique<evLayout>(name, "A design of the tests", 64, 48);
    int32_t id = 1000;
    for (const std::string& key : keys)
        AddPageLayout(*design, id++, 0, key);
    return design;
}

// How the yes/no pop-up is answered.
enum class Reply { Restore, Discard, Cross };

// Answers every pop-up that comes up while it lives: the yes/no pop-up as told (yes restores, no discards), OK
// pop-ups with OK. Keeps the texts in the order they were shown, a question's with "?" in front.
class Replies {
public:
    explicit Replies(Reply reply) : m_reply(reply) {}
    QStringList texts;

private:
    void Answer(QWidget* modal)
    {
        if (auto* question = dynamic_cast<TyesNoPopup*>(modal)) {
            texts << "?" + question->LabelMessage->Caption();
            m_reply == Reply::Restore   ? question->ImgYesClick()
            : m_reply == Reply::Discard ? question->ImgNoClick()
                                        : question->imgBtnSmallCancelClick();
        } else if (auto* ok = dynamic_cast<TokPopup*>(modal)) {
            texts << ok->LabelMessage->Caption();
            ok->ImgOKClick();
        }
    }

    Reply m_reply;
    screentest::ModalAnswerer m_answerer{[this](QWidget* modal) { Answer(modal); }, true};
};

class ProgramFolderTest : public screentest::FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_program = (m_folder / "program").string();
        std::filesystem::create_directories(m_program + "/data");
        std::filesystem::create_directories(m_program + "/designs");
        m_branding = screentest::MakeBranding();
        WriteBody(*m_branding, MainFile());
        WriteBody(*MakeDesign("Rose"), DesignsFolder() + "Rose.evl");
        m_environment.folders = PortableFolders(m_program);
        m_environment.systemAudioVersion = [this] { return m_audioVersion; };
        m_environment.systemVolume = [] { return 100; };
        m_environment.startAudioLibrary = [this](void*, int volume) {
            m_audioVolume = volume;
            ++m_audioStarts;
            return m_audioStarted;
        };
        m_environment.showStatus = [this](const QString& text) { m_status << text; };
        m_environment.screenSize = QSize(1024, 768);
    }
    void TearDown() override
    {
        DestroyScreens();
        m_mainMenu.reset();
        soundAvailable = false;
        FolderTest::TearDown();
    }

    TFormMainMenu& Start()
    {
        m_mainMenu.reset();
        m_status.clear();
        m_mainMenu = std::make_unique<TFormMainMenu>(m_environment);
        return *m_mainMenu;
    }
    // Starts the program and creates its screens.
    void StartWithScreens()
    {
        DestroyScreens();
        ASSERT_EQ(Start().GetStartupState(), -1);
        CreateScreens({});
    }
    TFormMainMenu& Menu() { return *m_mainMenu; }
    // Runs the step and answers the OK pop-ups it shows, collecting their texts.
    static QStringList OkTexts(const std::function<void()>& step)
    {
        Replies replies(Reply::Cross);
        step();
        return replies.texts;
    }
    std::string MainFile() const { return m_program + "/data/main.evb"; }
    std::string DesignsFolder() const { return m_program + "/designs/"; }
    std::string DataFolder() const { return m_program + "/data/"; }

    std::string m_program;
    std::unique_ptr<evBranding> m_branding;
    StartupEnvironment m_environment;
    std::string m_audioVersion = "2.26.5 dummy";
    bool m_audioStarted = true;
    int m_audioStarts = 0;
    int m_audioVolume = -1;
    QStringList m_status;
    std::unique_ptr<TFormMainMenu> m_mainMenu;
};

} // namespace apptest
