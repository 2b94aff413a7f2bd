#pragma once
// TTwainAcquire fetches one picture from a scanner through a TWAIN data-source manager, the library
// kTwainLibraryFile beside the program or installed (ours exposes the SANE devices as TWAIN sources; see
// src/twain), and hands it over as a bitmap. It always asks for a native transfer and reports the end of every
// acquisition, with or without a picture, through OnScanReady. The source's own dialog runs while the
// application's event loop goes on; its messages reach the component through the application's message hook
// (platform/MessageHook).
//
// It also keeps the user's default source: the value [TWAIN] "DEFAULT SOURCE" of the settings file is read
// before the first choice and written back when the component goes.

#include "platform/Errors.h"
#include "platform/MessageHook.h"
#include "platform/SharedLibrary.h"
#include "platform/Twain.h"

#include <QtCore/qnamespace.h>

#include <cstdint>
#include <functional>
#include <string>

class Bitmap;

class ETwainError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// The file name under which the program looks for the manager beside itself (or, installed, in PREFIX/lib/vellora).
inline constexpr const char* kTwainLibraryFile = "libtwain_32.so";

class TTwainAcquire {
public:
    // The languages and countries the component announces, in the order of its enumerations.
    enum class TLanguage : uint8_t {
        Dutch,
        English,
        French,
        German,
        USA,
        Italian,
        Spanish,
        Norwegian,
        Finnish,
        Danish,
        Russian,
        Portuguese,
        Swedish,
        Polish,
        Greek,
        Turkish
    };
    enum class TCountry : uint8_t {
        Netherlands,
        Britain,
        France,
        Germany,
        USA,
        Spain,
        Italy,
        Denmark,
        Finland,
        Norway,
        Russia,
        Portugal,
        Sweden,
        Poland,
        Greece,
        Turkey
    };

    using ScanReadyEvent = std::function<void(TTwainAcquire& sender)>;

    TTwainAcquire();
    // Disables and closes the source, closes the manager, unloads it, writes the saved default source back and
    // puts the application's previous message hook back. Errors on the way are logged.
    ~TTwainAcquire();
    TTwainAcquire(const TTwainAcquire&) = delete;
    TTwainAcquire& operator=(const TTwainAcquire&) = delete;

    // True when a scanner driver is set up: a SANE configuration folder ($SANE_CONFIG_DIR, a list separated by
    // ":" where an empty last entry adds the system's folder; /etc/sane.d when it is not set) names at least one
    // backend in dll.conf or in a file of dll.d. No device is looked for.
    bool TwainDriverFound() const;
    static bool SaneBackendConfigured(const std::string& saneConfigDirs);

    // Loads the manager, installs the message hook and opens the manager.
    void Initialize();
    // Lets the user choose the source in the manager's dialog; a cancelled choice changes nothing.
    void SelectSource();
    // Starts an acquisition into target (not owned; it must outlive the acquisition). The picture arrives later
    // through the message hook, which then fires OnScanReady.
    void Acquire(Bitmap* target);

    // The single steps, each with its precondition and check (see the .cpp).
    void OpenDataSourceManager();
    void CloseDataSourceManager();
    void OpenDataSource();
    void CloseDataSource();
    void SetTransferMechanism();
    void EnableDataSource();
    void DisableDataSource();

    // Raises ETwainError unless rc is TWRC_SUCCESS: for TWRC_FAILURE with the condition the manager (or, in
    // the source form, the source) reports, for any other code with the code.
    void Check(TW_UINT16 rc, const std::string& operation);
    void CheckSource(TW_UINT16 rc, const std::string& operation);
    // The text of a condition code.
    static std::string ConditionText(TW_UINT16 condition);

    // The hook the component installs: passes the message to the open source and acts on its answer.
    void ProcessMessage(AppMessage& message, bool& handled);

    // Properties of the application identity; strings are cut to 33 characters.
    uint16_t GetVersionMajor() const { return m_appIdentity.Version.MajorNum; }
    void SetVersionMajor(uint16_t value) { m_appIdentity.Version.MajorNum = value; }
    uint16_t GetVersionMinor() const { return m_appIdentity.Version.MinorNum; }
    void SetVersionMinor(uint16_t value) { m_appIdentity.Version.MinorNum = value; }
    std::string GetVersionInfo() const { return m_appIdentity.Version.Info; }
    void SetVersionInfo(const std::string& value);
    std::string GetManufacturer() const { return m_appIdentity.Manufacturer; }
    void SetManufacturer(const std::string& value);
    std::string GetProductFamily() const { return m_appIdentity.ProductFamily; }
    void SetProductFamily(const std::string& value);
    std::string GetProductname() const { return m_appIdentity.ProductName; }
    void SetProductname(const std::string& value);
    TLanguage GetLanguage() const { return m_language; }
    void SetLanguage(TLanguage value);
    TCountry GetCountry() const { return m_country; }
    void SetCountry(TCountry value);
    bool GetShowUI() const { return m_showUI; }
    void SetShowUI(bool value) { m_showUI = value; }
    // The cursor shown while the component waits for the manager (choosing a source, opening and enabling it).
    Qt::CursorShape GetCursor() const { return m_cursor; }
    void SetCursor(Qt::CursorShape value) { m_cursor = value; }
    void SetOnScanReady(ScanReadyEvent handler) { m_onScanReady = std::move(handler); }

    static TW_UINT16 LanguageCode(TLanguage language);
    static TW_UINT16 CountryCode(TCountry country);

    // The manager's file (kTwainLibraryFile beside the program or installed, unless set) and the window the
    // manager's dialogs belong to (none: the active window).
    const std::string& GetLibraryFile() const { return m_libraryFile; }
    void SetLibraryFile(const std::string& file) { m_libraryFile = file; }
    void SetParentWindow(void* window) { m_parentWindow = window; }

    const TW_IDENTITY& GetAppIdentity() const { return m_appIdentity; }
    const TW_IDENTITY& GetSourceIdentity() const { return m_sourceIdentity; }
    bool IsLibraryLoaded() const { return m_library.IsLoaded(); }
    bool IsManagerOpen() const { return m_dsmOpen; }
    bool IsSourceOpen() const { return m_dsOpen; }
    bool IsSourceEnabled() const { return m_dsEnabled; }
    const std::string& GetSavedDefaultSource() const { return m_savedDefaultSource; }

private:
    TW_UINT16 CallManager(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 CallSource(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    void CheckWith(TW_UINT16 rc, const std::string& operation, TW_IDENTITY* destination);
    std::string StatusDetail(TW_IDENTITY* destination, const TW_STATUS& status);
    void LoadLibrary();
    void UnloadLibrary();
    void RestoreDefaultSource();
    void TransferReady();
    void NativeTransfer();
    void EndTransfer();
    void FinishAcquisition();
    void EndAcquisition(const std::function<void()>& steps);
    void CloseAfterFailure();
    void FireScanReady();

    Bitmap* m_target = nullptr;
    SharedLibrary m_library;
    std::string m_libraryFile;
    TW_IDENTITY m_appIdentity{};
    TW_IDENTITY m_sourceIdentity{};
    void* m_parentWindow = nullptr;
    TW_UINT16 m_transferMechanism = Twain::TWSX_NATIVE;
    bool m_dsmOpen = false;
    bool m_dsOpen = false;
    bool m_dsEnabled = false;
    std::string m_savedDefaultSource;
    MessageHook m_savedHook;
    bool m_hookInstalled = false;
    bool m_showUI = true;
    Qt::CursorShape m_cursor = Qt::WaitCursor;
    TLanguage m_language = TLanguage::USA;
    TCountry m_country = TCountry::USA;
    ScanReadyEvent m_onScanReady;
};
