#include "imaging/TTwainAcquire.h"

#include "imaging/DibBitmap.h"
#include "platform/Bitmap.h"
#include "platform/GlobalMemory.h"
#include "platform/Log.h"
#include "platform/ProfileSettings.h"

#include <QCursor>
#include <QGuiApplication>

#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>

using namespace Twain;

namespace {

// The entry point of the loaded manager, one for all instances, and how many instances hold a library.
DSMENTRYPROC g_dsmEntry = nullptr;
int g_loadedLibraries = 0;

constexpr const char* kIniSection = "TWAIN";
constexpr const char* kIniKey = "DEFAULT SOURCE";
constexpr const char* kSystemSaneFolder = "/etc/sane.d";
constexpr std::streamsize kMaxSaneConfigRead = 64 * 1024;
constexpr int kMaxDllDEntries = 256;
constexpr size_t kMaxStatusText = 1024;

constexpr std::array<TW_UINT16, 16> kLanguageCodes = {
    TWLG_DUT, TWLG_ENG, TWLG_FRN,     TWLG_GER, TWLG_USA, TWLG_ITN,    TWLG_SPA,   TWLG_NOR,
    TWLG_FIN, TWLG_DAN, TWLG_RUSSIAN, TWLG_POR, TWLG_SWE, TWLG_POLISH, TWLG_GREEK, TWLG_TURKISH};
constexpr std::array<TW_UINT16, 16> kCountryCodes = {
    TWCY_NETHERLANDS, TWCY_BRITAIN, TWCY_FRANCE, TWCY_GERMANY,  TWCY_USA,    TWCY_SPAIN,  TWCY_ITALY,  TWCY_DENMARK,
    TWCY_FINLAND,     TWCY_NORWAY,  TWCY_RUSSIA, TWCY_PORTUGAL, TWCY_SWEDEN, TWCY_POLAND, TWCY_GREECE, TWCY_TURKEY};

// A programming error of the caller: a step called in a state where it makes no sense.
void Require(bool condition, const char* text)
{
    if (!condition)
        throw ETwainError(text);
}

void CopyName(TW_STR32& field, const std::string& value)
{
    std::memset(field, 0, sizeof(field));
    std::memcpy(field, value.data(), std::min(value.size(), sizeof(field) - 1));
}

std::string Hex4(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%04X", value);
    return text;
}

// The cursor for a manager call that may take a while; none when it is the arrow.
class WaitCursor {
public:
    explicit WaitCursor(Qt::CursorShape shape) : m_active(shape != Qt::ArrowCursor && qGuiApp)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(QCursor(shape));
    }
    ~WaitCursor()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_active;
};

// True when the text has a line that names something once comments ("#" to the end of the line) are gone.
bool NamesABackend(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::string text(static_cast<size_t>(kMaxSaneConfigRead), '\0');
    in.read(text.data(), kMaxSaneConfigRead);
    text.resize(static_cast<size_t>(in.gcount()));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r\v\f") != std::string::npos)
            return true;
        start = end + 1;
    }
    return false;
}

// dll.d holds files that each list backends, as dll.conf does; SANE skips hidden files and editor backups.
bool DllDNamesABackend(const std::filesystem::path& folder)
{
    std::error_code error;
    int seen = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end && seen < kMaxDllDEntries;
         it.increment(error), ++seen) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.' || name.back() == '~')
            continue;
        std::error_code kindError;
        if (it->is_regular_file(kindError) && NamesABackend(it->path()))
            return true;
    }
    return false;
}

// The manager lies beside the program in a build folder or a portable copy; an installed program finds it in
// its private library folder (PREFIX/lib/vellora, see cmake/Packaging.cmake).
std::string DefaultLibraryFile()
{
    const std::string beside = FileBesideProgram(kTwainLibraryFile);
    std::error_code error;
    if (std::filesystem::exists(beside, error))
        return beside;
    return FileBesideProgram(std::string("../lib/vellora/") + kTwainLibraryFile);
}

} // namespace

TTwainAcquire::TTwainAcquire() : m_libraryFile(DefaultLibraryFile())
{
    m_appIdentity.Version.MajorNum = 1;
    m_appIdentity.Version.MinorNum = 0;
    m_appIdentity.Version.Language = TWLG_USA;
    m_appIdentity.Version.Country = TWCY_USA;
    CopyName(m_appIdentity.Version.Info, "Twain component");
    CopyName(m_appIdentity.Manufacturer, "Vellora");
    CopyName(m_appIdentity.ProductFamily, "Photo album");
    CopyName(m_appIdentity.ProductName, "Vellora");
}

TTwainAcquire::~TTwainAcquire()
{
    const auto logged = [](const char* step, auto&& action) {
        try {
            action();
        } catch (const std::exception& error) {
            ktLogs::LogLine(std::string("Scanner component, ") + step + ": " + error.what());
        }
    };
    logged("disabling the source", [this] {
        if (m_dsEnabled)
            DisableDataSource();
    });
    logged("closing the source", [this] {
        if (m_dsOpen)
            CloseDataSource();
    });
    logged("closing the manager", [this] {
        if (m_dsmOpen)
            CloseDataSourceManager();
    });
    UnloadLibrary();
    logged("restoring the default source", [this] { RestoreDefaultSource(); });
    if (m_hookInstalled)
        SetApplicationMessageHook(std::move(m_savedHook));
}

// ------------------------------------------------------------------------------------------------ properties

void TTwainAcquire::SetVersionInfo(const std::string& value) { CopyName(m_appIdentity.Version.Info, value); }
void TTwainAcquire::SetManufacturer(const std::string& value) { CopyName(m_appIdentity.Manufacturer, value); }
void TTwainAcquire::SetProductFamily(const std::string& value) { CopyName(m_appIdentity.ProductFamily, value); }
void TTwainAcquire::SetProductname(const std::string& value) { CopyName(m_appIdentity.ProductName, value); }

void TTwainAcquire::SetLanguage(TLanguage value)
{
    m_language = value;
    m_appIdentity.Version.Language = LanguageCode(value);
}

void TTwainAcquire::SetCountry(TCountry value)
{
    m_country = value;
    m_appIdentity.Version.Country = CountryCode(value);
}

TW_UINT16 TTwainAcquire::LanguageCode(TLanguage language)
{
    const auto index = static_cast<size_t>(language);
    return index < kLanguageCodes.size() ? kLanguageCodes[index] : TWLG_USA;
}

TW_UINT16 TTwainAcquire::CountryCode(TCountry country)
{
    const auto index = static_cast<size_t>(country);
    return index < kCountryCodes.size() ? kCountryCodes[index] : TWCY_USA;
}

// ------------------------------------------------------------------------------------------------ driver

bool TTwainAcquire::TwainDriverFound() const
{
    const char* dirs = std::getenv("SANE_CONFIG_DIR");
    return SaneBackendConfigured(dirs ? dirs : "");
}

bool TTwainAcquire::SaneBackendConfigured(const std::string& saneConfigDirs)
{
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= saneConfigDirs.size() && !saneConfigDirs.empty()) {
        const size_t colon = saneConfigDirs.find(':', start);
        const size_t end = colon == std::string::npos ? saneConfigDirs.size() : colon;
        if (end > start)
            folders.push_back(saneConfigDirs.substr(start, end - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    if (saneConfigDirs.empty() || saneConfigDirs.back() == ':')
        folders.emplace_back(kSystemSaneFolder);
    for (const std::string& folder : folders) {
        const std::filesystem::path base(folder);
        std::error_code error;
        if (std::filesystem::is_regular_file(base / "dll.conf", error) && NamesABackend(base / "dll.conf"))
            return true;
        if (std::filesystem::is_directory(base / "dll.d", error) && DllDNamesABackend(base / "dll.d"))
            return true;
    }
    return false;
}

// ------------------------------------------------------------------------------------------------ checks

std::string TTwainAcquire::ConditionText(TW_UINT16 condition)
{
    switch (condition) {
    case 0: return "Operation was succesful.";
    case 1: return "General failure. Unload Source immediately.";
    case 2: return "Not enough memory to complete the operation.";
    case 3: return "Data Source Manager was unable to find the specified Data Source.";
    case 4: return "Data Source is connected to maximum supported number of \r\napplications.";
    case 5:
        return "Data Source or Data Source Manager reported an error to the\r\nuser and handled the error. No "
               "application action required.";
    case 6:
        return "Capability not supported by source or operation (get,\r\nset) is not supported on capability, or "
               "capability had\r\ndependencies on other capabilities and cannot be\r\noperated upon at this time";
    case 9: return "Unrecognized operation triplet.";
    case 10: return "Data parameter out of supported range.";
    case 11: return "Illegal operation for current Data Source Manager\r\nand Data Source state.";
    case 12: return "Unknown destination in DSM_Entry.";
    case 13: return "Capability not supported by Data Source.";
    case 14: return "Operation not supported on capability.";
    case 15: return "Capability has dependencies on other capabilities and \r\ncannot be operated upon at this time.";
    case 16: return "File System operation is denied (file is protected).";
    case 17: return "Operation failed because file already exists.";
    case 18: return "File not found.";
    case 19: return "Operation failed because directory is not empty.";
    case 20:
    case 21: return "Transfer failed because of a feeder error";
    default: return "Unknown condition " + Hex4(condition);
    }
}

void TTwainAcquire::Check(TW_UINT16 rc, const std::string& operation) { CheckWith(rc, operation, nullptr); }

void TTwainAcquire::CheckSource(TW_UINT16 rc, const std::string& operation)
{
    CheckWith(rc, operation, &m_sourceIdentity);
}

void TTwainAcquire::CheckWith(TW_UINT16 rc, const std::string& operation, TW_IDENTITY* destination)
{
    if (rc == TWRC_SUCCESS)
        return;
    if (rc != TWRC_FAILURE)
        throw ETwainError("A call to the Data Source Manager failed in module " + operation + ": Code " + Hex4(rc));
    TW_STATUS status{};
    Require(g_dsmEntry != nullptr, "DSM_Entry must be loaded");
    if (g_dsmEntry(&m_appIdentity, destination, DG_CONTROL, DAT_STATUS, MSG_GET, &status) != TWRC_SUCCESS)
        throw ETwainError("Unable to get the status");
    std::string message =
        "Data Source Manager error in module " + operation + ":\r\n" + ConditionText(status.ConditionCode);
    const std::string detail = StatusDetail(destination, status);
    if (!detail.empty())
        message += "\r\n" + detail;
    throw ETwainError(message);
}

// What the manager can say about the status in its own words (TWAIN 2.1); empty when it says nothing.
std::string TTwainAcquire::StatusDetail(TW_IDENTITY* destination, const TW_STATUS& status)
{
    TW_STATUSUTF8 text{status, 0, nullptr};
    if (g_dsmEntry(&m_appIdentity, destination, DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &text) != TWRC_SUCCESS ||
        !text.UTF8string)
        return {};
    std::string detail;
    if (const auto* bytes = static_cast<const char*>(GlobalLock(text.UTF8string))) {
        const size_t size = std::min({static_cast<size_t>(text.Size), GlobalSize(text.UTF8string), kMaxStatusText});
        detail.assign(bytes, strnlen(bytes, size));
        GlobalUnlock(text.UTF8string);
    }
    GlobalFree(text.UTF8string);
    return detail;
}

// ------------------------------------------------------------------------------------------------ calls

TW_UINT16 TTwainAcquire::CallManager(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    Require(g_dsmEntry != nullptr, "DSM_Entry must be loaded");
    return g_dsmEntry(&m_appIdentity, nullptr, group, dat, msg, data);
}

TW_UINT16 TTwainAcquire::CallSource(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    Require(g_dsmEntry != nullptr, "DSM_Entry must be loaded");
    return g_dsmEntry(&m_appIdentity, &m_sourceIdentity, group, dat, msg, data);
}

void TTwainAcquire::LoadLibrary()
{
    if (m_library.IsLoaded())
        return;
    if (!m_library.Load(m_libraryFile)) {
        ktLogs::LogLine("Scanner manager not loaded: " + m_library.GetError());
        return;
    }
    void* entry = m_library.Symbol("DSM_Entry");
    if (!entry) {
        ktLogs::LogLine("Scanner manager without DSM_Entry: " + m_libraryFile);
        m_library.Unload();
        return;
    }
    g_dsmEntry = reinterpret_cast<DSMENTRYPROC>(entry);
    ++g_loadedLibraries;
}

void TTwainAcquire::UnloadLibrary()
{
    if (!m_library.IsLoaded())
        return;
    m_library.Unload();
    if (--g_loadedLibraries == 0)
        g_dsmEntry = nullptr;
}

void TTwainAcquire::RestoreDefaultSource()
{
    if (m_savedDefaultSource.empty())
        return;
    const std::string saved = std::move(m_savedDefaultSource);
    m_savedDefaultSource.clear();
    ProfileSettings().WriteString(kIniSection, kIniKey, saved);
}

// ------------------------------------------------------------------------------------------------ operations

void TTwainAcquire::Initialize()
{
    m_appIdentity.Id = 0;
    LoadLibrary();
    if (!m_hookInstalled) {
        m_savedHook =
            SetApplicationMessageHook([this](AppMessage& message, bool& handled) { ProcessMessage(message, handled); });
        m_hookInstalled = true;
    }
    OpenDataSourceManager();
}

void TTwainAcquire::OpenDataSourceManager()
{
    if (m_dsmOpen)
        return;
    if (!m_library.IsLoaded())
        throw ETwainError("Unable to load or find: TWAIN_32.DLL");
    m_appIdentity.ProtocolMajor = 1;
    m_appIdentity.ProtocolMinor = 7;
    m_appIdentity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    Check(CallManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &m_parentWindow), "OpenDataSourceManager");
    m_dsmOpen = true;
}

void TTwainAcquire::CloseDataSourceManager()
{
    if (m_dsOpen)
        throw ETwainError("Unable to close the Data Source Manager. Maybe a source is still in use");
    if (m_dsmOpen) {
        Check(CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &m_parentWindow), "CloseDataSourceManager");
        m_dsmOpen = false;
    }
    UnloadLibrary();
    RestoreDefaultSource();
}

void TTwainAcquire::OpenDataSource()
{
    Require(m_dsmOpen, "Data Source Manager must be open");
    if (m_dsOpen)
        return;
    WaitCursor cursor(m_cursor);
    Check(CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_sourceIdentity), "OpenDataSource");
    m_dsOpen = true;
}

void TTwainAcquire::CloseDataSource()
{
    Require(m_dsmOpen, "Data Source Manager must be open");
    if (!m_dsOpen)
        return;
    Check(CallManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_sourceIdentity), "CloseDataSource");
    m_dsOpen = false;
}

// The container is a one-value of type TW_UINT16 in a movable block, as the standard passes capabilities.
void TTwainAcquire::SetTransferMechanism()
{
    Require(m_dsOpen, "Data Source must be open");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(TW_ONEVALUE));
    auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(block));
    if (!value)
        throw ETwainError("Not enough memory to set the transfer mechanism");
    value->ItemType = TWTY_UINT16;
    value->Item = TWSX_NATIVE;
    GlobalUnlock(block);
    TW_CAPABILITY capability{ICAP_XFERMECH, TWON_ONEVALUE, block};
    const TW_UINT16 rc = CallSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(block);
    CheckSource(rc, "XferMech");
    m_transferMechanism = TWSX_NATIVE;
}

void TTwainAcquire::EnableDataSource()
{
    Require(m_dsOpen, "Data Source must be open");
    if (m_dsEnabled)
        return;
    WaitCursor cursor(m_cursor);
    TW_USERINTERFACE ui{m_showUI ? TW_TRUE : TW_FALSE, TW_TRUE, m_parentWindow};
    Check(CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), "EnableDataSource");
    m_dsEnabled = true;
}

void TTwainAcquire::DisableDataSource()
{
    Require(m_dsOpen, "Data Source must be open");
    if (!m_dsEnabled)
        return;
    TW_USERINTERFACE ui{TW_FALSE, TW_FALSE, m_parentWindow};
    Check(CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), "DisableDataSource");
    m_dsEnabled = false;
}

void TTwainAcquire::SelectSource()
{
    if (m_savedDefaultSource.empty())
        m_savedDefaultSource = ProfileSettings().ReadString(kIniSection, kIniKey, "");
    Require(!m_dsOpen, "Data Source must be closed");
    TW_IDENTITY identity{};
    {
        WaitCursor cursor(m_cursor);
        Check(CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &identity), "SelectDataSource1");
    }
    const TW_UINT16 rc = CallManager(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &identity);
    if (rc == TWRC_SUCCESS)
        m_sourceIdentity = identity;
    else if (rc != TWRC_CANCEL)
        Check(rc, "SelectDataSource2");
}

// A source that opened but could not be set up or enabled is closed again, so the next acquisition starts
// from a closed source.
void TTwainAcquire::Acquire(Bitmap* target)
{
    m_target = target;
    OpenDataSourceManager();
    const bool wasOpen = m_dsOpen;
    OpenDataSource();
    try {
        SetTransferMechanism();
        EnableDataSource();
    } catch (...) {
        if (!wasOpen)
            CloseAfterFailure();
        throw;
    }
}

// ------------------------------------------------------------------------------------------------ messages

void TTwainAcquire::ProcessMessage(AppMessage& message, bool& handled)
{
    if (m_dsmOpen && m_dsOpen && g_dsmEntry) {
        TW_EVENT event{&message, MSG_NULL};
        const TW_UINT16 rc = CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        handled = rc != TWRC_NOTDSEVENT;
        if (event.TWMessage == MSG_XFERREADY)
            TransferReady();
        else if (event.TWMessage == MSG_CLOSEDSREQ || event.TWMessage == MSG_CLOSEDSOK)
            FinishAcquisition();
    }
    if (m_savedHook)
        m_savedHook(message, handled);
}

void TTwainAcquire::TransferReady()
{
    EndAcquisition([this] {
        NativeTransfer();
        EndTransfer();
        DisableDataSource();
        CloseDataSource();
    });
}

void TTwainAcquire::FinishAcquisition()
{
    EndAcquisition([this] {
        DisableDataSource();
        CloseDataSource();
    });
}

// Whatever happens to the picture, the source ends disabled and closed and OnScanReady fires; a failure is
// raised after that, so the owner has its event before the error is shown.
void TTwainAcquire::EndAcquisition(const std::function<void()>& steps)
{
    std::exception_ptr failure;
    try {
        steps();
    } catch (...) {
        failure = std::current_exception();
        CloseAfterFailure();
    }
    FireScanReady();
    if (failure)
        std::rethrow_exception(failure);
}

// The source hands over a movable block with a device-independent bitmap; the target gets it only when all of
// it could be read.
void TTwainAcquire::NativeTransfer()
{
    TW_HANDLE handle = nullptr;
    const TW_UINT16 rc = CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    if (rc == TWRC_FAILURE)
        Check(rc, "Native Transfer");
    if (rc != TWRC_XFERDONE)
        return;
    const auto* bits = static_cast<const uint8_t*>(GlobalLock(handle));
    if (!bits) {
        GlobalFree(handle);
        throw ETwainError("The scanner handed over no picture");
    }
    Bitmap picture;
    try {
        picture = BitmapFromDib(bits, GlobalSize(handle));
    } catch (const EImageError& error) {
        GlobalUnlock(handle);
        GlobalFree(handle);
        throw ETwainError(error.what());
    }
    GlobalUnlock(handle);
    GlobalFree(handle);
    if (m_target)
        *m_target = std::move(picture);
}

void TTwainAcquire::EndTransfer()
{
    TW_PENDINGXFERS pending{};
    CheckSource(CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), "Check for Pending Transfers");
    if (pending.Count != 0)
        Check(CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), "Abort Pending Transfers");
}

// After a failure: every step that can still be taken is taken, and what fails is logged.
void TTwainAcquire::CloseAfterFailure()
{
    if (!m_dsOpen || !g_dsmEntry)
        return;
    TW_PENDINGXFERS pending{};
    CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    try {
        DisableDataSource();
        CloseDataSource();
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Scanner source not closed: ") + error.what());
    }
}

void TTwainAcquire::FireScanReady()
{
    if (m_onScanReady)
        m_onScanReady(*this);
}
