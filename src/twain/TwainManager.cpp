// Our TWAIN data-source manager: the library the program loads in place of the original platform's
// TWAIN_32.DLL. Its sources are the devices SANE lists, each identified by its SANE device name in the identity's
// product name (a name longer than the field is found again by the identity's Id, or by its beginning).
//
// It serves one application at a time and one open source, on the application's main thread. SANE is started
// only when a device is first needed, so opening the manager never waits for a device search. The user's default
// source is the full device name under [TWAIN] "DEFAULT SOURCE" of the program's settings file.

#include "platform/GlobalMemory.h"
#include "platform/Log.h"
#include "platform/ProfileSettings.h"
#include "platform/Twain.h"
#include "twain/SaneSource.h"
#include "twain/SourceDialogs.h"

#include <QApplication>
#include <QWidget>

#include <sane/sane.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

using namespace Twain;

namespace {

constexpr const char* kIniSection = "TWAIN";
constexpr const char* kIniKey = "DEFAULT SOURCE";
constexpr size_t kNameField = sizeof(TW_STR32) - 1;
constexpr size_t kMaxDevices = 256;

void CopyName(TW_STR32& field, const std::string& value)
{
    std::memset(field, 0, sizeof(field));
    std::memcpy(field, value.data(), std::min(value.size(), kNameField));
}

std::string FieldText(const TW_STR32& field) { return std::string(field, strnlen(field, sizeof(field))); }

class Manager {
public:
    ~Manager();
    TW_UINT16 Entry(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg,
                    TW_MEMREF data);

private:
    TW_UINT16 ToManager(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 ToSource(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 OpenManager(TW_IDENTITY* origin);
    TW_UINT16 CloseManager();
    TW_UINT16 GetDefault(TW_IDENTITY* identity);
    TW_UINT16 UserSelect(TW_IDENTITY* identity);
    TW_UINT16 OpenSource(TW_IDENTITY* identity);
    TW_UINT16 CloseSource(TW_IDENTITY* identity);
    TW_UINT16 GetStatus(TW_STATUS* status);
    TW_UINT16 GetStatusText(TW_STATUSUTF8* text);
    TW_UINT16 Fail(TW_UINT16 code, std::string detail = {});

    bool StartSane();
    void StopSane();
    std::vector<SaneDeviceInfo> ListDevices();
    std::string ResolveName(const TW_IDENTITY& identity);
    std::string DefaultName();
    TW_IDENTITY IdentityOf(const SaneDeviceInfo& device);
    TW_UINT32 IdFor(const std::string& name);
    void BuryClosedSources();

    bool m_open = false;
    TW_UINT32 m_applicationId = 0;
    bool m_saneStarted = false;
    TwainCondition m_condition;
    TwainCondition m_lastFailure;
    std::unique_ptr<SaneSource> m_source;
    // Closed sources wait here until no call can be running inside them (a source is closed from the
    // application's handling of its own event).
    std::vector<std::unique_ptr<SaneSource>> m_closed;
    std::map<std::string, TW_UINT32> m_ids;
    TW_UINT32 m_nextId = 1;
};

Manager::~Manager()
{
    m_source.reset();
    m_closed.clear();
    StopSane();
}

TW_UINT16 Manager::Fail(TW_UINT16 code, std::string detail)
{
    m_condition.code = code;
    m_condition.detail = std::move(detail);
    m_lastFailure = m_condition;
    return TWRC_FAILURE;
}

TW_UINT16 Manager::Entry(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg,
                         TW_MEMREF data)
{
    if (!origin)
        return Fail(TWCC_BADPROTOCOL);
    if (group == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET)
        return data ? GetStatus(static_cast<TW_STATUS*>(data)) : Fail(TWCC_BADVALUE);
    if (group == DG_CONTROL && dat == DAT_STATUSUTF8 && msg == MSG_GET)
        return data ? GetStatusText(static_cast<TW_STATUSUTF8*>(data)) : TWRC_FAILURE;
    if (!(group == DG_CONTROL && dat == DAT_PARENT && msg == MSG_OPENDSM) && (!m_open || origin->Id != m_applicationId))
        return Fail(TWCC_SEQERROR);
    if (destination)
        return ToSource(destination, group, dat, msg, data);
    return ToManager(origin, group, dat, msg, data);
}

TW_UINT16 Manager::ToManager(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    if (group == DG_CONTROL && dat == DAT_PARENT && msg == MSG_OPENDSM)
        return OpenManager(origin);
    if (group == DG_CONTROL && dat == DAT_PARENT && msg == MSG_CLOSEDSM)
        return CloseManager();
    if (group != DG_CONTROL || dat != DAT_IDENTITY)
        return Fail(TWCC_BADPROTOCOL);
    if (!data)
        return Fail(TWCC_BADVALUE);
    auto* identity = static_cast<TW_IDENTITY*>(data);
    switch (msg) {
    case MSG_GETDEFAULT: return GetDefault(identity);
    case MSG_USERSELECT: return UserSelect(identity);
    case MSG_OPENDS: return OpenSource(identity);
    case MSG_CLOSEDS: return CloseSource(identity);
    default: return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 Manager::ToSource(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    if (!m_source || m_source->Identity().Id != destination->Id)
        return Fail(TWCC_BADDEST);
    TwainCondition condition;
    const TW_UINT16 rc = m_source->Dispatch(group, dat, msg, data, condition);
    if (rc == TWRC_FAILURE)
        return Fail(condition.code, condition.detail);
    return rc;
}

TW_UINT16 Manager::OpenManager(TW_IDENTITY* origin)
{
    if (m_open)
        return Fail(TWCC_SEQERROR);
    m_open = true;
    m_applicationId = m_nextId++;
    origin->Id = m_applicationId;
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::CloseManager()
{
    if (m_source)
        return Fail(TWCC_SEQERROR, "A source is still open.");
    m_closed.clear();
    StopSane();
    m_open = false;
    m_applicationId = 0;
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::GetStatus(TW_STATUS* status)
{
    status->ConditionCode = m_condition.code;
    status->Reserved = 0;
    m_condition = TwainCondition();
    return TWRC_SUCCESS;
}

// The words of the last failure, when the status asked about is that failure's.
TW_UINT16 Manager::GetStatusText(TW_STATUSUTF8* text)
{
    text->Size = 0;
    text->UTF8string = nullptr;
    if (m_lastFailure.detail.empty() || text->Status.ConditionCode != m_lastFailure.code)
        return TWRC_FAILURE;
    const std::string& detail = m_lastFailure.detail;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, detail.size() + 1);
    auto* bytes = static_cast<char*>(GlobalLock(block));
    if (!bytes)
        return TWRC_FAILURE;
    std::memcpy(bytes, detail.data(), detail.size());
    GlobalUnlock(block);
    text->Size = static_cast<TW_UINT32>(detail.size() + 1);
    text->UTF8string = block;
    return TWRC_SUCCESS;
}

bool Manager::StartSane()
{
    if (!m_saneStarted) {
        SANE_Int version = 0;
        m_saneStarted = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    }
    return m_saneStarted;
}

void Manager::StopSane()
{
    if (m_saneStarted)
        sane_exit();
    m_saneStarted = false;
}

// Asking SANE for its devices may take seconds (network scanners): only done when the user chooses.
std::vector<SaneDeviceInfo> Manager::ListDevices()
{
    std::vector<SaneDeviceInfo> devices;
    const SANE_Device** list = nullptr;
    if (!StartSane() || sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return devices;
    for (size_t i = 0; list[i] && i < kMaxDevices; ++i) {
        const SANE_Device* device = list[i];
        if (!device->name || !device->name[0])
            continue;
        devices.push_back({device->name, device->vendor ? device->vendor : "", device->model ? device->model : "",
                           device->type ? device->type : ""});
    }
    return devices;
}

TW_UINT32 Manager::IdFor(const std::string& name)
{
    const auto found = m_ids.find(name);
    if (found != m_ids.end())
        return found->second;
    return m_ids[name] = m_nextId++;
}

TW_IDENTITY Manager::IdentityOf(const SaneDeviceInfo& device)
{
    TW_IDENTITY identity{};
    identity.Id = IdFor(device.name);
    identity.Version.MajorNum = 1;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_USA;
    CopyName(identity.Version.Info, "SANE " + device.type);
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 7;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyName(identity.Manufacturer, device.vendor);
    CopyName(identity.ProductFamily, device.model);
    CopyName(identity.ProductName, device.name);
    return identity;
}

// The saved default, else the first device SANE lists.
std::string Manager::DefaultName()
{
    std::string name;
    try {
        name = ProfileSettings().ReadString(kIniSection, kIniKey, "");
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Default scanner not read: ") + error.what());
    }
    if (!name.empty())
        return name;
    const std::vector<SaneDeviceInfo> devices = ListDevices();
    return devices.empty() ? std::string() : devices.front().name;
}

TW_UINT16 Manager::GetDefault(TW_IDENTITY* identity)
{
    const std::string name = DefaultName();
    if (name.empty())
        return Fail(TWCC_NODS, "No scanner was found. Check that the scanner is connected and switched on.");
    *identity = IdentityOf({name, "", "", ""});
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::UserSelect(TW_IDENTITY* identity)
{
    std::vector<SaneDeviceInfo> devices;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        devices = ListDevices();
        QApplication::restoreOverrideCursor();
    }
    const std::string current = ResolveName(*identity);
    SelectSourceDialog dialog(DialogParent(nullptr), devices, current);
    dialog.setWindowModality(Qt::ApplicationModal);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = dialog.exec();
    QApplication::restoreOverrideCursor();
    const int chosen = dialog.ChosenIndex();
    if (answer != QDialog::Accepted || chosen < 0 || static_cast<size_t>(chosen) >= devices.size())
        return TWRC_CANCEL;
    const SaneDeviceInfo& device = devices[static_cast<size_t>(chosen)];
    *identity = IdentityOf(device);
    try {
        ProfileSettings().WriteString(kIniSection, kIniKey, device.name);
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Default scanner not saved: ") + error.what());
    }
    return TWRC_SUCCESS;
}

// The device an identity names: by its Id when the manager gave it out for a name that begins with the product
// name, else the product name itself, else (no product name) the default.
std::string Manager::ResolveName(const TW_IDENTITY& identity)
{
    const std::string product = FieldText(identity.ProductName);
    if (product.empty())
        return DefaultName();
    for (const auto& [name, id] : m_ids)
        if (id == identity.Id && name.compare(0, product.size(), product) == 0)
            return name;
    if (product.size() < kNameField)
        return product;
    for (const SaneDeviceInfo& device : ListDevices())
        if (device.name.compare(0, product.size(), product) == 0)
            return device.name;
    return product;
}

TW_UINT16 Manager::OpenSource(TW_IDENTITY* identity)
{
    BuryClosedSources();
    if (m_source)
        return Fail(TWCC_MAXCONNECTIONS, "Another scanner is in use.");
    const std::string name = ResolveName(*identity);
    if (name.empty())
        return Fail(TWCC_NODS, "No scanner was found. Check that the scanner is connected and switched on.");
    if (!StartSane())
        return Fail(TWCC_BUMMER, "The scanner library SANE could not be started.");
    SANE_Handle handle = nullptr;
    const SANE_Status status = sane_open(name.c_str(), &handle);
    if (status != SANE_STATUS_GOOD || !handle)
        return Fail(TWCC_NODS, "The scanner " + name + " could not be opened: " + sane_strstatus(status));
    TW_IDENTITY opened = IdentityOf({name, FieldText(identity->Manufacturer), FieldText(identity->ProductFamily), ""});
    std::memcpy(opened.Version.Info, identity->Version.Info, sizeof(opened.Version.Info));
    *identity = opened;
    m_source = std::make_unique<SaneSource>(opened, handle);
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::CloseSource(TW_IDENTITY* identity)
{
    if (!m_source || m_source->Identity().Id != identity->Id)
        return Fail(TWCC_NODS);
    m_source->Close();
    m_closed.push_back(std::move(m_source));
    return TWRC_SUCCESS;
}

void Manager::BuryClosedSources() { m_closed.clear(); }

Manager& TheManager()
{
    static Manager manager;
    return manager;
}

} // namespace

extern "C" __attribute__((visibility("default"))) TW_UINT16
DSM_Entry(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    try {
        return TheManager().Entry(pOrigin, pDest, DG, DAT, MSG, pData);
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Scanner manager: ") + error.what());
        return TWRC_FAILURE;
    }
}
