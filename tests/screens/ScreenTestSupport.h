#pragma once
// Shared by the screen and program tests: a small branding bundle (help text i reads "Help i", skin picture i is
// a grey JPEG i + 1 pixels wide and 2 high, so a control shows which index it got), a private temporary folder,
// an application context of the test's own, and answering modal screens from a timer while the real modal loop
// runs.

#include "audio/BassLibrary.h"
#include "model/ProjectModification.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evHelptext.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "screens/ApplicationContext.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/SkinnedScreen.h"
#include "screens/TFontDialog.h"
#include "screens/TFormImageEdit.h"
#include "screens/TframeTimeline.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace screentest {

constexpr int kHelpTexts = 300;
constexpr int kPictures = 205;

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
    for (int i = 0; i < pictures; ++i) {
        QImage grey(i + 1, 2, QImage::Format_RGB32);
        grey.fill(QColor(128, 128, 128));
        skin->Add(std::make_unique<evPicture>("skin" + std::to_string(i), Bitmap(grey)));
    }
    return std::make_unique<evBranding>("test", nullptr, std::move(texts), std::move(skin),
                                        std::make_unique<evObjectCollection>(), std::make_unique<evObjectCollection>());
}

// A page or chapter; kind 3 is an ordinary page.
inline std::unique_ptr<evCategory> NewCategory(const std::string& title, bool optional = false, int32_t kind = 3)
{
    return std::make_unique<evCategory>(title, "", optional, kind);
}

// Ordinary pages one after the other: the first, with the others as its following siblings.
inline std::unique_ptr<evCategory> PageChain(const std::vector<std::string>& titles)
{
    std::unique_ptr<evCategory> first = NewCategory(titles.front());
    for (size_t i = 1; i < titles.size(); ++i)
        first->AppendSibling(NewCategory(titles[i]));
    return first;
}

inline std::string HelpString(int index) { return "Help " + std::to_string(index); }
inline QString HelpCaption(int index) { return QString::fromStdString(HelpString(index)); }

// The bytes of a file; empty when there is none.
inline std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A PNG file of one colour, for the file dialogs to answer with.
inline std::string WritePhoto(const std::string& path, int width, int height, TColor colour = RGBColor(200, 40, 40))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ToQColor(colour));
    image.save(QString::fromStdString(path));
    return path;
}

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
        soundAvailable = false;
        SetSkinBranding(nullptr);
        ReleaseSkinImage();
        m_branding.reset();
        FolderTest::TearDown();
    }

    std::unique_ptr<evBranding> m_branding;
};

// The application context of the test, its project unmodified at the start, and the OK and yes/no pop-ups in the
// screen set; the screens in the set are freed after the test.
class ContextTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        ClearModified();
        SetAppContext(&m_context);
        Screens().okPopup = std::make_unique<TokPopup>();
        Screens().yesNoPopup = std::make_unique<TyesNoPopup>();
    }
    void TearDown() override
    {
        DestroyScreens();
        SetAppContext(nullptr);
        m_context.FreeCurrentProject();
        ClearModified();
        SkinTest::TearDown();
    }
    evProject& Project() { return *m_context.GetCurrentProject(); }
    // Makes the album of Anna and Ben with the pages on the design (none: without one) the current project;
    // returns its first page.
    evCategory* UseAlbum(std::unique_ptr<evCategory> pages, std::unique_ptr<evLayout> design = nullptr)
    {
        auto project = std::make_unique<evProject>("Anna", "Ben", 1.0, "Rose.evl", std::move(pages));
        if (design)
            project->SetDesign(std::move(design));
        m_context.SetCurrentProject(std::move(project));
        return Project().GetFirstCategory();
    }

    ApplicationContext m_context;
};

// The screen under test, made after the context and freed before it.
template <class Screen>
class ScreenTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_screen = std::make_unique<Screen>();
    }
    void TearDown() override
    {
        m_screen.reset();
        ContextTest::TearDown();
    }

    std::unique_ptr<Screen> m_screen;
};

// A page editor with the timeline strip on its panel.
template <class Editor>
class PageEditorTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_editor = std::make_unique<Editor>();
        m_timeline = new TframeTimeline(m_editor->MainPanel());
    }
    void TearDown() override
    {
        m_editor.reset();
        ContextTest::TearDown();
    }
    // Shows the page in the editor.
    void Open(evCategory* page)
    {
        m_timeline->SetPosition(nullptr, page, true);
        m_editor->Prepare(*m_timeline);
    }

    std::unique_ptr<Editor> m_editor;
    TframeTimeline* m_timeline = nullptr;
};

// Hands the modal window that comes up while the test waits in a modal loop to the action (checked every few
// milliseconds), which must close it: only the first one, or each one while it lives (`every`).
class ModalAnswerer {
public:
    using Action = std::function<void(QWidget* modal)>;

    explicit ModalAnswerer(Action action, bool every = false) : m_action(std::move(action)), m_every(every)
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
        if (!m_every)
            m_timer.stop();
        ++m_answered;
        m_action(modal);
    }

    Action m_action;
    bool m_every;
    QTimer m_timer;
    int m_answered = 0;
};

// Runs the step and answers the first modal window with the action; a window that is no T fails the test and is
// closed. Returns how many windows were answered.
template <class T>
int Answering(const std::function<void()>& step, const std::function<void(T&)>& action)
{
    ModalAnswerer answerer([&action](QWidget* modal) {
        if (auto* screen = dynamic_cast<T*>(modal)) {
            action(*screen);
            return;
        }
        ADD_FAILURE() << "an unexpected window came up";
        static_cast<SkinnedScreen*>(modal)->Close();
    });
    step();
    return answerer.Answered();
}

// Answers the font dialog with the answer (nothing: cancelled) and keeps the presets it was shown with; installed
// for its lifetime.
struct AnsweringFontDialog : TFontDialog {
    AnsweringFontDialog() { SetFontDialog(this); }
    ~AnsweringFontDialog() override { SetFontDialog(nullptr); }
    std::optional<FontChoice> Execute(const FontChoice& preset) override
    {
        presets.push_back(preset);
        return answer;
    }
    std::optional<FontChoice> answer;
    std::vector<FontChoice> presets;
};

// Applies every image edit screen that comes up while it lives, keeping whether each had a fixed orientation.
struct ImageEditApplier {
    std::vector<bool> fixedFlags;
    ModalAnswerer answerer{[this](QWidget* modal) {
                               if (auto* screen = dynamic_cast<TFormImageEdit*>(modal)) {
                                   fixedFlags.push_back(screen->IsFixedOrientation());
                                   screen->ImgApplyClick();
                               }
                           },
                           true};
};

// Runs the step, confirms the OK pop-up it shows and returns its text; empty when none came up.
inline QString OkMessage(const std::function<void()>& step)
{
    QString text;
    Answering<TokPopup>(step, [&text](TokPopup& popup) {
        text = popup.LabelMessage->Caption();
        popup.ImgOKClick();
    });
    return text;
}

// Runs the step, answers the yes/no pop-up it shows and returns the question; empty when none came up.
inline QString YesNoQuestion(const std::function<void()>& step, bool yes)
{
    QString text;
    Answering<TyesNoPopup>(step, [&text, yes](TyesNoPopup& popup) {
        text = popup.LabelMessage->Caption();
        yes ? popup.ImgYesClick() : popup.ImgNoClick();
    });
    return text;
}

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
        return Take(openManyAnswers);
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
    template <class Answer>
    static Answer Take(std::deque<Answer>& answers)
    {
        if (answers.empty())
            return {};
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace screentest
