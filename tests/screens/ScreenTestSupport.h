#pragma once
// Shared by the screen and program tests: a small branding bundle (help text i reads "Help i", skin picture i is
// a grey JPEG i + 1 pixels wide and 2 high, so a control shows which index it got), a private temporary folder,
// and answering modal screens from a timer while the real modal loop runs.

#include "audio/BassLibrary.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"
#include "model/evObjectCollection.h"
#include "model/evPicture.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "screens/FileDialogs.h"
#include "screens/SkinService.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace screentest {

constexpr int kHelpTexts = 300;
constexpr int kPictures = 205;

inline std::unique_ptr<evPicture> IndexPicture(int index)
{
    Bitmap bitmap(index + 1, 2);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetBrushColor(RGBColor(128, 128, 128));
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.FillRect(Rect(0, 0, index + 1, 2));
    return std::make_unique<evPicture>("skin" + std::to_string(index), bitmap);
}

// Help text i reads "Help i" unless the test gives its own.
inline std::unique_ptr<evBranding> MakeBranding(int helpTexts = kHelpTexts, int pictures = kPictures,
                                                const std::map<int, std::string>& ownTexts = {})
{
    auto texts = std::make_unique<evObjectCollection>();
    for (int i = 0; i < helpTexts; ++i) {
        const auto own = ownTexts.find(i);
        const std::string text = own != ownTexts.end() ? own->second : "Help " + std::to_string(i);
        texts->Add(std::make_unique<evHelptext>("text" + std::to_string(i), i, text));
    }
    auto skin = std::make_unique<evObjectCollection>();
    for (int i = 0; i < pictures; ++i)
        skin->Add(IndexPicture(i));
    return std::make_unique<evBranding>("test", nullptr, std::move(texts), std::move(skin),
                                        std::make_unique<evObjectCollection>(), std::make_unique<evObjectCollection>());
}

inline std::string HelpString(int index) { return "Help " + std::to_string(index); }

// A fresh folder of its own; the temporary folder of the program points into it.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedTemp = TempFolder();
        static int counter = 0;
        m_folder = std::filesystem::temp_directory_path() /
                   ("vellora-h-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder / "tmp");
        SetTempFolder((m_folder / "tmp").string());
    }
    void TearDown() override
    {
        SetTempFolder(m_savedTemp);
        std::filesystem::remove_all(m_folder);
    }
    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }

    std::filesystem::path m_folder;
    std::string m_savedTemp;
};

// The branding bundle of a test, handed to the skin service; sound is off.
class SkinTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_branding = MakeBranding();
        InitSkinService();
        soundAvailable = false;
        SetSkinBranding(m_branding.get());
    }
    void TearDown() override
    {
        SetSkinBranding(nullptr);
        ReleaseSkinImage();
        m_branding.reset();
        FolderTest::TearDown();
    }

    std::unique_ptr<evBranding> m_branding;
};

// Runs the action on the first modal window that comes up while the test waits in a modal loop (checked every
// few milliseconds); the action must close it. Stops after the first window it answered.
class ModalAnswerer {
public:
    using Action = std::function<void(QWidget* modal)>;

    explicit ModalAnswerer(Action action) : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    int Answered() const { return m_answered; }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        m_timer.stop();
        ++m_answered;
        m_action(modal);
    }

    Action m_action;
    QTimer m_timer;
    int m_answered = 0;
};

// Answers the file dialogs from queues (an empty queue or a queued nothing means "cancelled") and keeps every
// request; installed for its lifetime.
class AnsweringDialogs : public FileDialogs {
public:
    AnsweringDialogs() { SetDialogs(this); }
    ~AnsweringDialogs() override { SetDialogs(nullptr); }
    AnsweringDialogs(const AnsweringDialogs&) = delete;
    AnsweringDialogs& operator=(const AnsweringDialogs&) = delete;

    std::optional<std::string> OpenFile(const FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return Take(openAnswers);
    }
    std::vector<std::string> OpenFiles(const FileDialogRequest& request) override
    {
        openManyRequests.push_back(request);
        if (openManyAnswers.empty())
            return {};
        std::vector<std::string> answer = openManyAnswers.front();
        openManyAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return Take(saveAnswers);
    }
    std::optional<std::string> ChooseFolder(const QString& title, const std::string& initialFolder) override
    {
        folderRequests.push_back({title, QString(), initialFolder, QString()});
        return Take(folderAnswers);
    }

    std::deque<std::optional<std::string>> openAnswers, saveAnswers, folderAnswers;
    std::vector<FileDialogRequest> openRequests, saveRequests, folderRequests;
    // Multiple choice: each answer is the list of chosen files (an empty list means "cancelled").
    std::deque<std::vector<std::string>> openManyAnswers;
    std::vector<FileDialogRequest> openManyRequests;

private:
    static std::optional<std::string> Take(std::deque<std::optional<std::string>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace screentest
