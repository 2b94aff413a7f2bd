#include "twain/SaneSource.h"

#include "platform/MessageHook.h"
#include "twain/SaneOptions.h"
#include "twain/SourceDialogs.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <memory>

using namespace Twain;

namespace {

// The event a source posts to itself to reach the application's message hook.
class SourceEvent : public QEvent {
public:
    explicit SourceEvent(TW_UINT16 message) : QEvent(Kind()), m_message(message) {}
    static QEvent::Type Kind()
    {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    TW_UINT16 Message() const { return m_message; }

private:
    TW_UINT16 m_message;
};

class SaneFrameDevice : public FrameDevice {
public:
    explicit SaneFrameDevice(SANE_Handle handle) : m_handle(handle) {}
    SANE_Status Start() override { return sane_start(m_handle); }
    SANE_Status GetParameters(SANE_Parameters& parameters) override
    {
        return sane_get_parameters(m_handle, &parameters);
    }
    SANE_Status Read(SANE_Byte* buffer, SANE_Int maxLength, SANE_Int& length) override
    {
        return sane_read(m_handle, buffer, maxLength, &length);
    }
    void Cancel() override { sane_cancel(m_handle); }
    std::string StatusText(SANE_Status status) override
    {
        const char* text = sane_strstatus(status);
        return text ? text : "unknown error";
    }

private:
    SANE_Handle m_handle;
};

TW_UINT16 Fail(TwainCondition& condition, TW_UINT16 code, std::string detail = {})
{
    condition.code = code;
    condition.detail = std::move(detail);
    return TWRC_FAILURE;
}

QString DeviceText(const TW_IDENTITY& identity)
{
    const QString model = (QString::fromUtf8(identity.Manufacturer) + " " + identity.ProductFamily).trimmed();
    const QString name = QString::fromUtf8(identity.ProductName);
    return model.isEmpty() ? name : model + " (" + name + ")";
}

} // namespace

SaneSource::SaneSource(const TW_IDENTITY& identity, SANE_Handle handle)
    : m_identity(identity), m_deviceName(identity.ProductName), m_handle(handle)
{}

SaneSource::~SaneSource() { Close(); }

void SaneSource::Close()
{
    if (m_state == State::Closed)
        return;
    Disable();
    delete m_dialog.data();
    sane_close(m_handle);
    m_state = State::Closed;
}

TW_UINT16 SaneSource::Dispatch(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data, TwainCondition& condition)
{
    if (m_state == State::Closed)
        return Fail(condition, TWCC_BADDEST);
    if (group == DG_CONTROL && dat == DAT_EVENT && msg == MSG_PROCESSEVENT)
        return data ? ProcessEvent(static_cast<TW_EVENT*>(data)) : TWRC_NOTDSEVENT;
    if (!data)
        return Fail(condition, TWCC_BADVALUE);
    if (group == DG_CONTROL && dat == DAT_CAPABILITY && msg == MSG_SET)
        return SetCapability(static_cast<TW_CAPABILITY*>(data), condition);
    if (group == DG_CONTROL && dat == DAT_USERINTERFACE && msg == MSG_ENABLEDS)
        return Enable(static_cast<TW_USERINTERFACE*>(data), condition);
    if (group == DG_CONTROL && dat == DAT_USERINTERFACE && msg == MSG_DISABLEDS) {
        Disable();
        return TWRC_SUCCESS;
    }
    if (group == DG_IMAGE && dat == DAT_IMAGENATIVEXFER && msg == MSG_GET)
        return TransferPicture(static_cast<TW_HANDLE*>(data), condition);
    if (group == DG_CONTROL && dat == DAT_PENDINGXFERS && (msg == MSG_ENDXFER || msg == MSG_RESET))
        return EndTransfer(static_cast<TW_PENDINGXFERS*>(data), condition);
    return Fail(condition, TWCC_BADPROTOCOL);
}

// The source transfers natively only; other capabilities are not offered.
TW_UINT16 SaneSource::SetCapability(TW_CAPABILITY* capability, TwainCondition& condition)
{
    if (m_state != State::Open)
        return Fail(condition, TWCC_SEQERROR);
    if (capability->Cap != ICAP_XFERMECH)
        return Fail(condition, TWCC_CAPUNSUPPORTED);
    if (capability->ConType != TWON_ONEVALUE || GlobalSize(capability->hContainer) < sizeof(TW_ONEVALUE))
        return Fail(condition, TWCC_BADVALUE);
    const auto* value = static_cast<const TW_ONEVALUE*>(GlobalLock(capability->hContainer));
    const bool native = value && value->ItemType == TWTY_UINT16 && value->Item == TWSX_NATIVE;
    GlobalUnlock(capability->hContainer);
    return native ? TWRC_SUCCESS : Fail(condition, TWCC_BADVALUE);
}

// With its user interface the source shows its dialog; without, it scans at once as the device is set.
TW_UINT16 SaneSource::Enable(const TW_USERINTERFACE* ui, TwainCondition& condition)
{
    if (m_state != State::Open)
        return Fail(condition, TWCC_SEQERROR);
    m_state = State::Enabled;
    if (ui->ShowUI != TW_FALSE) {
        ShowDialog(DialogParent(static_cast<QWidget*>(ui->hParent)), ui->ModalUI != TW_FALSE);
    } else {
        StartScan(SaneOptions(m_handle).Current().colour, 0);
    }
    return TWRC_SUCCESS;
}

void SaneSource::Disable()
{
    StopWorker();
    HideDialog();
    m_picture = OwnedBlock();
    m_failure = TWCC_SUCCESS;
    m_failureText.clear();
    if (m_state != State::Closed)
        m_state = State::Open;
}

TW_UINT16 SaneSource::ProcessEvent(TW_EVENT* event)
{
    event->TWMessage = MSG_NULL;
    const auto* message = static_cast<const AppMessage*>(event->pEvent);
    if (!message || message->receiver != this || !message->event || message->event->type() != SourceEvent::Kind())
        return TWRC_NOTDSEVENT;
    event->TWMessage = static_cast<const SourceEvent*>(message->event)->Message();
    return TWRC_DSEVENT;
}

// A failed scan is reported here, where the application asks for the picture.
TW_UINT16 SaneSource::TransferPicture(TW_HANDLE* handle, TwainCondition& condition)
{
    if (m_state != State::TransferReady)
        return Fail(condition, TWCC_SEQERROR);
    if (m_failure != TWCC_SUCCESS)
        return Fail(condition, m_failure, m_failureText);
    *handle = m_picture.Release();
    m_state = State::Transferring;
    return TWRC_XFERDONE;
}

// One picture per scan: nothing is pending afterwards.
TW_UINT16 SaneSource::EndTransfer(TW_PENDINGXFERS* pending, TwainCondition& condition)
{
    if (m_state != State::Transferring && m_state != State::TransferReady)
        return Fail(condition, TWCC_SEQERROR);
    pending->Count = 0;
    m_picture = OwnedBlock();
    m_state = State::Enabled;
    return TWRC_SUCCESS;
}

void SaneSource::ShowDialog(QWidget* parent, bool modal)
{
    SaneOptions options(m_handle);
    const SaneScanSettings current = options.Current();
    SourceDialog::Choices choices;
    choices.device = DeviceText(m_identity);
    choices.hasColour = options.HasColour();
    choices.hasGrey = options.HasGrey();
    choices.colour = current.colour;
    choices.resolutions = options.OfferedResolutions();
    choices.resolution = current.dotsPerInch;
    delete m_dialog.data();
    m_dialog = new SourceDialog(
        parent, choices, [this](bool colour, int dotsPerInch) { StartScan(colour, dotsPerInch); },
        [this] { CancelClicked(); });
    m_dialog->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    // The program shows the hourglass while it waits for the scan; the dialog itself takes input.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    m_arrowCursor = true;
    m_dialog->show();
}

void SaneSource::HideDialog()
{
    if (m_dialog)
        m_dialog->hide();
    if (m_arrowCursor)
        QApplication::restoreOverrideCursor();
    m_arrowCursor = false;
}

void SaneSource::StartScan(bool colour, int dotsPerInch)
{
    if (m_state != State::Enabled || m_scanning)
        return;
    SaneOptions options(m_handle);
    const SANE_Status set = options.Apply(SaneScanSettings{colour, dotsPerInch});
    if (set != SANE_STATUS_GOOD) {
        ScanResult failed;
        failed.condition = TWCC_BUMMER;
        failed.message = "The scanner " + m_deviceName + " refused the settings: " + sane_strstatus(set);
        ScanFinished(std::move(failed));
        return;
    }
    m_scanning = true;
    m_cancel = false;
    if (m_dialog)
        m_dialog->SetScanning(true);
    const int resolution = options.Current().dotsPerInch;
    m_worker = std::thread([this, resolution] {
        SaneFrameDevice device(m_handle);
        ScanReader reader(device, m_deviceName, resolution);
        const auto progress = [this](int percent) {
            QMetaObject::invokeMethod(
                this,
                [this, percent] {
                    if (m_dialog)
                        m_dialog->SetProgress(percent);
                },
                Qt::QueuedConnection);
        };
        auto result = std::make_shared<ScanResult>(reader.Run(m_cancel, progress));
        QMetaObject::invokeMethod(
            this, [this, result] { ScanFinished(std::move(*result)); }, Qt::QueuedConnection);
    });
}

// During a scan Cancel stops it and the dialog stays; otherwise it asks the application to close the source.
void SaneSource::CancelClicked()
{
    if (m_scanning) {
        m_cancel = true;
        sane_cancel(m_handle);
        return;
    }
    if (m_state != State::Enabled)
        return;
    if (m_dialog)
        m_dialog->SetClosing();
    Notify(MSG_CLOSEDSREQ);
}

void SaneSource::ScanFinished(ScanResult result)
{
    if (m_worker.joinable())
        m_worker.join();
    m_scanning = false;
    if (m_state != State::Enabled)
        return;
    if (m_dialog)
        m_dialog->SetScanning(false);
    if (result.outcome == ScanResult::Outcome::Cancelled) {
        if (m_dialog)
            m_dialog->SetStatus("The scan was cancelled.");
        else
            Notify(MSG_CLOSEDSREQ);
        return;
    }
    if (result.outcome == ScanResult::Outcome::Done) {
        m_picture = std::move(result.picture);
    } else {
        m_failure = result.condition == TWCC_SUCCESS ? TWCC_BUMMER : result.condition;
        m_failureText = result.message;
    }
    if (m_dialog)
        m_dialog->SetClosing();
    m_state = State::TransferReady;
    Notify(MSG_XFERREADY);
}

void SaneSource::StopWorker()
{
    if (m_scanning) {
        m_cancel = true;
        sane_cancel(m_handle);
    }
    if (m_worker.joinable())
        m_worker.join();
    m_scanning = false;
}

void SaneSource::Notify(TW_UINT16 message) { QCoreApplication::postEvent(this, new SourceEvent(message)); }
