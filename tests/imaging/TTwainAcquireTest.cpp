// The scanner component against a scripted manager (tests/fakes/FakeTwainManager.cpp), loaded as the program
// loads the real one: every check text, the operations and their preconditions, the message hook, the native
// transfer and the default source.
#include "imaging/TTwainAcquire.h"
#include "ScratchFolder.h"

#include "platform/Bitmap.h"
#include "platform/ProfileSettings.h"
#include "platform/SharedLibrary.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace Twain;

struct FakeTwainCall {
    uint32_t dg;
    uint16_t dat;
    uint16_t msg;
    int toSource;
    bool operator==(const FakeTwainCall& other) const
    {
        return dg == other.dg && dat == other.dat && msg == other.msg && toSource == other.toSource;
    }
};

std::ostream& operator<<(std::ostream& out, const FakeTwainCall& call)
{
    return out << "(" << call.dg << ", " << std::hex << call.dat << ", " << call.msg << std::dec << ", "
               << (call.toSource ? "source" : "manager") << ")";
}

namespace {

// The calls of the fake manager's script, bound from the loaded fake.
struct FakeManager {
    void (*Reset)();
    void (*SetAnswer)(uint32_t, uint16_t, uint16_t, uint16_t);
    void (*SetCondition)(uint16_t, uint16_t, const char*);
    void (*SetSelection)(const char*);
    void (*SetPicture)(const void*, size_t, uint16_t);
    void (*QueueMessage)(uint16_t);
    int (*CallCount)();
    FakeTwainCall (*CallAt)(int);
    void (*Capability)(uint16_t*, uint16_t*, size_t*, uint16_t*, uint32_t*);
    void (*UserInterface)(uint16_t*, uint16_t*);
};

const FakeTwainCall kOpenManager{DG_CONTROL, DAT_PARENT, MSG_OPENDSM, 0};
const FakeTwainCall kCloseManager{DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, 0};
const FakeTwainCall kGetDefault{DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, 0};
const FakeTwainCall kUserSelect{DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, 0};
const FakeTwainCall kOpenSource{DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, 0};
const FakeTwainCall kCloseSource{DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, 0};
const FakeTwainCall kSetCapability{DG_CONTROL, DAT_CAPABILITY, MSG_SET, 1};
const FakeTwainCall kEnable{DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, 1};
const FakeTwainCall kDisable{DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, 1};
const FakeTwainCall kEvent{DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, 1};
const FakeTwainCall kTransfer{DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, 1};
const FakeTwainCall kEndTransfer{DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, 1};
const FakeTwainCall kReset{DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, 1};

// A 2 x 1 picture of 24 bits: a blue pixel, then a red one.
std::vector<uint8_t> TwoPixelDib()
{
    std::vector<uint8_t> dib(40 + 8, 0);
    const uint32_t header[] = {40, 2, 1};
    std::memcpy(dib.data(), header, sizeof(header));
    dib[12] = 1;
    dib[14] = 24;
    const uint8_t pixels[] = {255, 0, 0, 0, 0, 255};
    std::memcpy(dib.data() + 40, pixels, sizeof(pixels));
    return dib;
}

// Counts the messages that reach it.
class Receiver : public QObject {
public:
    void customEvent(QEvent*) override { ++received; }
    int received = 0;
};

class TTwainAcquireTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        const char* config = std::getenv("XDG_CONFIG_HOME");
        m_savedConfig = config ? std::optional<std::string>(config) : std::nullopt;
        setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
        ASSERT_TRUE(m_library.Load(FAKE_TWAIN_FILE)) << m_library.GetError();
        Bind();
        m_fake.Reset();
        m_previousDisplay =
            SetApplicationExceptionDisplay([this](const std::exception& error) { m_shown.push_back(error.what()); });
    }
    void TearDown() override
    {
        SetApplicationExceptionDisplay(m_previousDisplay);
        if (m_savedConfig)
            setenv("XDG_CONFIG_HOME", m_savedConfig->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        ScratchFolderTest::TearDown();
    }

    void Bind()
    {
        const auto bind = [this](auto& pointer, const char* name) {
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(m_library.Symbol(name));
            ASSERT_NE(pointer, nullptr) << name;
        };
        bind(m_fake.Reset, "FakeTwain_Reset");
        bind(m_fake.SetAnswer, "FakeTwain_SetAnswer");
        bind(m_fake.SetCondition, "FakeTwain_SetCondition");
        bind(m_fake.SetSelection, "FakeTwain_SetSelection");
        bind(m_fake.SetPicture, "FakeTwain_SetPicture");
        bind(m_fake.QueueMessage, "FakeTwain_QueueMessage");
        bind(m_fake.CallCount, "FakeTwain_CallCount");
        bind(m_fake.CallAt, "FakeTwain_CallAt");
        bind(m_fake.Capability, "FakeTwain_Capability");
        bind(m_fake.UserInterface, "FakeTwain_UserInterface");
    }

    std::unique_ptr<TTwainAcquire> Make(const std::string& library = FAKE_TWAIN_FILE)
    {
        auto twain = std::make_unique<TTwainAcquire>();
        twain->SetLibraryFile(library);
        twain->SetOnScanReady([this](TTwainAcquire&) { ++m_scanReady; });
        return twain;
    }
    // Initialised, with the source open and enabled.
    std::unique_ptr<TTwainAcquire> Acquiring()
    {
        auto twain = Make();
        twain->Initialize();
        twain->Acquire(&m_target);
        return twain;
    }
    void SetAnswer(const FakeTwainCall& call, uint16_t rc) { m_fake.SetAnswer(call.dg, call.dat, call.msg, rc); }
    std::vector<FakeTwainCall> Calls() const
    {
        std::vector<FakeTwainCall> calls;
        for (int i = 0; i < m_fake.CallCount(); ++i)
            calls.push_back(m_fake.CallAt(i));
        return calls;
    }
    std::vector<FakeTwainCall> CallsFrom(size_t first) const
    {
        const std::vector<FakeTwainCall> calls = Calls();
        return std::vector<FakeTwainCall>(calls.begin() + static_cast<std::ptrdiff_t>(first), calls.end());
    }
    // One application message through the hook, with the source's message queued unless it is MSG_NULL (then
    // the message is not the source's); true when it was handled.
    bool Deliver(uint16_t twainMessage)
    {
        if (twainMessage != MSG_NULL)
            m_fake.QueueMessage(twainMessage);
        Receiver receiver;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&receiver, &event);
        return receiver.received == 0;
    }
    static std::string ErrorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ETwainError& error) {
            return error.what();
        }
        return "no error";
    }
    std::optional<std::string> m_savedConfig;
    SharedLibrary m_library;
    FakeManager m_fake{};
    ExceptionDisplay m_previousDisplay;
    std::vector<std::string> m_shown;
    Bitmap m_target;
    int m_scanReady = 0;
};

} // namespace

TEST_F(TTwainAcquireTest, TheIdentityHasItsDefaultsAndTheLanguageAndCountryTables)
{
    auto twain = Make();
    const TW_IDENTITY& identity = twain->GetAppIdentity();
    const TW_VERSION version = identity.Version;
    EXPECT_EQ(version.MajorNum, 1);
    EXPECT_EQ(version.MinorNum, 0);
    EXPECT_EQ(version.Language, 13);
    EXPECT_EQ(version.Country, 1);
    EXPECT_STREQ(identity.Version.Info, "Twain component");
    EXPECT_TRUE(twain->GetShowUI());
    twain->SetProductname(std::string(40, 'p'));
    EXPECT_EQ(twain->GetProductname(), std::string(33, 'p'));

    const std::vector<std::pair<TW_UINT16, TW_UINT16>> table = {
        {1, 31},  {2, 6},  {5, 33}, {6, 49},   {13, 1},  {8, 34},  {11, 39}, {9, 45},
        {4, 358}, {0, 47}, {78, 7}, {10, 351}, {12, 46}, {75, 48}, {63, 30}, {85, 90}};
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(i);
        twain->SetLanguage(static_cast<TTwainAcquire::TLanguage>(i));
        twain->SetCountry(static_cast<TTwainAcquire::TCountry>(i));
        const TW_UINT16 language = identity.Version.Language;
        const TW_UINT16 country = identity.Version.Country;
        EXPECT_EQ(language, table[i].first);
        EXPECT_EQ(country, table[i].second);
    }
    // Opening the manager announces protocol 1.7 with the control and image groups; the manager gives the Id.
    twain->Initialize();
    const TW_UINT16 major = identity.ProtocolMajor;
    const TW_UINT16 minor = identity.ProtocolMinor;
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 7);
    const TW_UINT32 groups = identity.SupportedGroups; // a packed field: copied before it is compared
    EXPECT_EQ(groups, 3u);
    const TW_UINT32 id = identity.Id;
    EXPECT_EQ(id, 7u);
    EXPECT_EQ(Calls(), std::vector<FakeTwainCall>{kOpenManager});
}

TEST_F(TTwainAcquireTest, AMissingOrWrongLibraryCannotBeLoaded)
{
    std::ofstream(m_dir / "not-a-library.so") << "text";
    for (const std::string& file :
         {(m_dir / "missing.so").string(), (m_dir / "not-a-library.so").string(), std::string(TWAIN_NO_ENTRY_FILE)}) {
        SCOPED_TRACE(file);
        auto twain = Make(file);
        EXPECT_EQ(ErrorOf([&] { twain->Initialize(); }), "Unable to load or find: TWAIN_32.DLL");
        EXPECT_FALSE(twain->IsLibraryLoaded());
        EXPECT_FALSE(twain->IsManagerOpen());
    }
}

// Each condition the manager reports after a failure has its text (a few of the table: the first, texts over
// several lines, two conditions sharing one text, unknown ones); the manager is asked (destination nil) and any
// words it has for the status follow on a line of their own.
TEST_F(TTwainAcquireTest, AFailureRaisesTheTextOfTheCondition)
{
    const std::vector<std::pair<TW_UINT16, std::string>> conditions = {
        {0, "Operation was succesful."},
        {1, "General failure. Unload Source immediately."},
        {4, "Data Source is connected to maximum supported number of \r\napplications."},
        {6, "Capability not supported by source or operation (get,\r\nset) is not supported on capability, or "
            "capability had\r\ndependencies on other capabilities and cannot be\r\noperated upon at this time"},
        {20, "Transfer failed because of a feeder error"},
        {21, "Transfer failed because of a feeder error"},
        {7, "Unknown condition 0007"},
        {0x2A, "Unknown condition 002A"},
    };
    for (const auto& [code, text] : conditions) {
        SCOPED_TRACE(code);
        m_fake.Reset();
        SetAnswer(kOpenManager, TWRC_FAILURE);
        m_fake.SetCondition(code, TWRC_SUCCESS, nullptr);
        auto twain = Make();
        EXPECT_EQ(ErrorOf([&] { twain->Initialize(); }),
                  "Data Source Manager error in module OpenDataSourceManager:\r\n" + text);
        EXPECT_FALSE(twain->IsManagerOpen());
        EXPECT_EQ(Calls().at(1), (FakeTwainCall{DG_CONTROL, DAT_STATUS, MSG_GET, 0}));
    }
    m_fake.Reset();
    SetAnswer(kOpenManager, TWRC_FAILURE);
    m_fake.SetCondition(3, TWRC_SUCCESS, "No scanner was found.");
    EXPECT_EQ(ErrorOf([&] { Make()->Initialize(); }),
              "Data Source Manager error in module OpenDataSourceManager:\r\nData Source Manager was unable to find "
              "the specified Data Source.\r\nNo scanner was found.");
    m_fake.SetCondition(3, TWRC_FAILURE, nullptr);
    EXPECT_EQ(ErrorOf([&] { Make()->Initialize(); }), "Unable to get the status");
}

// The transfer mechanism and the end of a transfer ask the source itself for the status.
TEST_F(TTwainAcquireTest, TheSourceFormAsksTheSource)
{
    SetAnswer(kSetCapability, TWRC_FAILURE);
    m_fake.SetCondition(13, TWRC_SUCCESS, nullptr);
    auto twain = Make();
    twain->Initialize();
    EXPECT_EQ(ErrorOf([&] { twain->Acquire(&m_target); }),
              "Data Source Manager error in module XferMech:\r\nCapability not supported by Data Source.");
    const std::vector<FakeTwainCall> calls = Calls();
    EXPECT_EQ(calls.at(3), (FakeTwainCall{DG_CONTROL, DAT_STATUS, MSG_GET, 1}));
    // A source that could not be set up is closed again.
    EXPECT_EQ(calls.back(), kCloseSource);
    EXPECT_FALSE(twain->IsSourceOpen());
}

// TWRC_CHECKSTATUS (2) from any operation names the operation and the code; the flag of the step stays.
TEST_F(TTwainAcquireTest, CheckStatusFromAnyOperationNamesTheOperationAndTheCode)
{
    struct Case {
        std::string operation;
        FakeTwainCall call;
        std::function<void(TTwainAcquire&)> run;
    };
    const auto acquire = [this](TTwainAcquire& t) {
        t.Initialize();
        t.Acquire(&m_target);
    };
    const auto deliver = [this, acquire](uint16_t message, uint16_t pending) {
        return [this, acquire, message, pending](TTwainAcquire& t) {
            acquire(t);
            const std::vector<uint8_t> dib = TwoPixelDib();
            m_fake.SetPicture(dib.data(), dib.size(), pending);
            Deliver(message);
            if (!m_shown.empty())
                throw ETwainError(m_shown.back());
        };
    };
    const auto select = [](TTwainAcquire& t) {
        t.Initialize();
        t.SelectSource();
    };
    const auto closeManager = [](TTwainAcquire& t) {
        t.Initialize();
        t.CloseDataSourceManager();
    };
    const std::vector<Case> cases = {
        {"OpenDataSourceManager", kOpenManager, [](TTwainAcquire& t) { t.Initialize(); }},
        {"SelectDataSource2", kUserSelect, select},
        {"XferMech", kSetCapability, acquire},
        {"Check for Pending Transfers", kEndTransfer, deliver(MSG_XFERREADY, 0)},
        {"CloseDataSource", kCloseSource, deliver(MSG_CLOSEDSOK, 0)},
        {"CloseDataSourceManager", kCloseManager, closeManager},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        m_fake.Reset();
        m_shown.clear();
        SetAnswer(c.call, TWRC_CHECKSTATUS);
        auto twain = Make();
        EXPECT_EQ(ErrorOf([&] { c.run(*twain); }),
                  "A call to the Data Source Manager failed in module " + c.operation + ": Code 0002");
    }
}

TEST_F(TTwainAcquireTest, StepsOutOfOrderAreProgrammingErrors)
{
    auto twain = Make();
    EXPECT_EQ(ErrorOf([&] { twain->SelectSource(); }), "DSM_Entry must be loaded");
    EXPECT_EQ(ErrorOf([&] { twain->OpenDataSource(); }), "Data Source Manager must be open");
    EXPECT_EQ(ErrorOf([&] { twain->CloseDataSource(); }), "Data Source Manager must be open");
    twain->Initialize();
    EXPECT_EQ(ErrorOf([&] { twain->SetTransferMechanism(); }), "Data Source must be open");
    EXPECT_EQ(ErrorOf([&] { twain->EnableDataSource(); }), "Data Source must be open");
    EXPECT_EQ(ErrorOf([&] { twain->DisableDataSource(); }), "Data Source must be open");
    twain->OpenDataSource();
    EXPECT_EQ(ErrorOf([&] { twain->SelectSource(); }), "Data Source must be closed");
    EXPECT_EQ(ErrorOf([&] { twain->CloseDataSourceManager(); }),
              "Unable to close the Data Source Manager. Maybe a source is still in use");
    EXPECT_TRUE(twain->IsManagerOpen());
    EXPECT_TRUE(twain->IsLibraryLoaded());
}

// Acquire opens the source, asks for native transfer in a one-value container of 6 bytes and enables the source
// with or without its dialog, always modal.
TEST_F(TTwainAcquireTest, AcquireOpensSetsUpAndEnablesTheSource)
{
    for (bool showUI : {true, false}) {
        SCOPED_TRACE(showUI);
        m_fake.Reset();
        auto twain = Make();
        twain->SetShowUI(showUI);
        twain->Initialize();
        twain->Acquire(&m_target);
        // Again: the source is open and enabled already, only the mechanism is set once more.
        twain->Acquire(&m_target);
        EXPECT_EQ(Calls(),
                  (std::vector<FakeTwainCall>{kOpenManager, kOpenSource, kSetCapability, kEnable, kSetCapability}));
        uint16_t cap = 0, conType = 0, itemType = 0, ui = 0, modal = 0;
        size_t blockSize = 0;
        uint32_t item = 99;
        m_fake.Capability(&cap, &conType, &blockSize, &itemType, &item);
        EXPECT_EQ(cap, 0x0103);
        EXPECT_EQ(conType, 5);
        EXPECT_EQ(blockSize, 6u);
        EXPECT_EQ(itemType, 4);
        EXPECT_EQ(item, 0u);
        m_fake.UserInterface(&ui, &modal);
        EXPECT_EQ(ui, showUI ? 0xFFFF : 0);
        EXPECT_EQ(modal, 0xFFFF);
        EXPECT_TRUE(twain->IsSourceEnabled());
    }
}

TEST_F(TTwainAcquireTest, TheUsersChoiceBecomesTheSourceAndACancelledChoiceChangesNothing)
{
    auto twain = Make();
    twain->Initialize();
    m_fake.SetSelection("Flatbed 1");
    twain->SelectSource();
    EXPECT_EQ(CallsFrom(1), (std::vector<FakeTwainCall>{kGetDefault, kUserSelect}));
    EXPECT_STREQ(twain->GetSourceIdentity().ProductName, "Flatbed 1");
    const TW_UINT32 sourceId = twain->GetSourceIdentity().Id;
    EXPECT_EQ(sourceId, 12u);

    m_fake.SetSelection("Flatbed 2");
    SetAnswer(kUserSelect, TWRC_CANCEL);
    twain->SelectSource();
    EXPECT_STREQ(twain->GetSourceIdentity().ProductName, "Flatbed 1");
    EXPECT_TRUE(m_shown.empty());
}

// The default source is read before the first choice, once, and written back when the component goes, whatever
// the manager made of it meanwhile.
TEST_F(TTwainAcquireTest, TheUsersDefaultSourceIsRestored)
{
    ProfileSettings settings;
    settings.WriteString("Other", "kept", "yes");
    settings.WriteString("TWAIN", "DEFAULT SOURCE", "test:0");
    {
        auto twain = Make();
        twain->Initialize();
        twain->SelectSource();
        settings.WriteString("TWAIN", "DEFAULT SOURCE", "test:1"); // as the manager does for the user's choice
        twain->SelectSource();
        EXPECT_EQ(twain->GetSavedDefaultSource(), "test:0");
    }
    EXPECT_EQ(settings.ReadString("TWAIN", "DEFAULT SOURCE", ""), "test:0");
    EXPECT_EQ(settings.ReadString("Other", "kept", ""), "yes");
    // Without a choice nothing is written.
    settings.WriteString("TWAIN", "DEFAULT SOURCE", "test:1");
    Make()->Initialize();
    EXPECT_EQ(settings.ReadString("TWAIN", "DEFAULT SOURCE", ""), "test:1");
}

// The ready picture comes through the hook: native transfer, end of transfer (a pending one is reset), the
// source disabled and closed, then OnScanReady. The manager stays open for the next acquisition.
TEST_F(TTwainAcquireTest, APictureReadyArrivesThroughTheMessageHook)
{
    for (uint16_t pending : {0, 1}) {
        SCOPED_TRACE(pending);
        m_fake.Reset();
        m_target = Bitmap();
        m_scanReady = 0;
        auto twain = Acquiring();
        const std::vector<uint8_t> dib = TwoPixelDib();
        m_fake.SetPicture(dib.data(), dib.size(), pending);
        const size_t before = Calls().size();
        EXPECT_TRUE(Deliver(MSG_XFERREADY));
        std::vector<FakeTwainCall> expected = {kEvent, kTransfer, kEndTransfer};
        if (pending)
            expected.push_back(kReset);
        expected.insert(expected.end(), {kDisable, kCloseSource});
        EXPECT_EQ(CallsFrom(before), expected);
        EXPECT_EQ(m_scanReady, 1);
        ASSERT_EQ(m_target.Width(), 2);
        EXPECT_EQ(m_target.Pixel(0, 0), 0xFF0000);
        EXPECT_EQ(m_target.Pixel(1, 0), 0x0000FF);
        EXPECT_FALSE(twain->IsSourceOpen());
        EXPECT_TRUE(twain->IsManagerOpen());
        EXPECT_TRUE(m_shown.empty());
    }
}

// Messages that are not the source's go on to the application's previous hook, unhandled; the source's own are
// handled. A close request ends the acquisition without a picture.
TEST_F(TTwainAcquireTest, OtherMessagesPassAndACloseRequestEndsWithoutAPicture)
{
    std::vector<bool> previous;
    const MessageHook before = SetApplicationMessageHook([&](AppMessage& message, bool& handled) {
        if (message.event->type() == QEvent::User)
            previous.push_back(handled);
    });
    {
        m_target = Bitmap(5, 5);
        auto twain = Acquiring();
        EXPECT_FALSE(Deliver(MSG_NULL));
        EXPECT_TRUE(Deliver(MSG_CLOSEDSREQ));
        EXPECT_EQ(m_scanReady, 1);
        EXPECT_EQ(m_target.Width(), 5);
        EXPECT_FALSE(twain->IsSourceOpen());
        EXPECT_EQ(Calls().back(), kCloseSource);
    }
    EXPECT_EQ(previous, (std::vector<bool>{false, true}));
    SetApplicationMessageHook(before);
}

// A failed transfer or a picture that cannot be read: the error reaches the exception display, after the source
// was closed and OnScanReady fired; the target keeps what it had.
TEST_F(TTwainAcquireTest, AFailedTransferIsShownAndLeavesNoPicture)
{
    struct Case {
        const char* name;
        bool fails;
        std::vector<uint8_t> dib;
        std::string message;
    };
    std::vector<uint8_t> cut = TwoPixelDib();
    cut.resize(44);
    const std::vector<Case> cases = {
        {"manager reports a failure",
         true,
         {},
         "Data Source Manager error in module Native Transfer:\r\nGeneral failure. Unload Source immediately.\r\n"
         "The scanner test:0 stopped: Error during device I/O"},
        {"picture cut short", false, cut, "The scanned picture is damaged: its rows are cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_fake.Reset();
        m_shown.clear();
        m_scanReady = 0;
        m_target = Bitmap(5, 5);
        auto twain = Acquiring();
        if (c.fails) {
            SetAnswer(kTransfer, TWRC_FAILURE);
            m_fake.SetCondition(1, TWRC_SUCCESS, "The scanner test:0 stopped: Error during device I/O");
        } else {
            m_fake.SetPicture(c.dib.data(), c.dib.size(), 0);
        }
        Deliver(MSG_XFERREADY);
        EXPECT_EQ(m_shown, std::vector<std::string>{c.message});
        EXPECT_EQ(m_scanReady, 1);
        EXPECT_EQ(m_target.Width(), 5);
        EXPECT_FALSE(twain->IsSourceOpen());
        EXPECT_FALSE(twain->IsSourceEnabled());
    }
}

// Destruction disables and closes the source, closes the manager and gives the application its hook back.
TEST_F(TTwainAcquireTest, DestructionClosesEverythingInOrder)
{
    int seen = 0;
    const MessageHook before = SetApplicationMessageHook([&](AppMessage&, bool&) { ++seen; });
    auto twain = Acquiring();
    const size_t first = Calls().size();
    twain.reset();
    EXPECT_EQ(CallsFrom(first), (std::vector<FakeTwainCall>{kDisable, kCloseSource, kCloseManager}));
    ASSERT_TRUE(GetApplicationMessageHook());
    const int counted = seen;
    AppMessage message;
    bool handled = false;
    GetApplicationMessageHook()(message, handled);
    EXPECT_EQ(seen, counted + 1);
    SetApplicationMessageHook(before);
}
