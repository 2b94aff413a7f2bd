#pragma once
// One TWAIN source over an open SANE device. It answers the triplets that go to a source (capability, user
// interface, event, pending transfers, native image transfer) and runs the scan on a worker thread, so the
// application's event loop goes on meanwhile.
//
// It tells the application that a picture is ready, or that it wants to be closed, by posting an event to
// itself: the application's message hook passes every event to the source (MSG_PROCESSEVENT), and the source
// recognises its own and answers with the TWAIN message, as a source on the original platform posts a window
// message to the application's queue.

#include "platform/Twain.h"
#include "twain/ScanReader.h"

#include <QObject>
#include <QPointer>

#include <sane/sane.h>

#include <atomic>
#include <string>
#include <thread>

class SourceDialog;
struct SaneScanSettings;

// The condition of the last failed call and what the manager can say about it in words.
struct TwainCondition {
    TW_UINT16 code = Twain::TWCC_SUCCESS;
    std::string detail;
};

class SaneSource : public QObject {
public:
    SaneSource(const TW_IDENTITY& identity, SANE_Handle handle);
    ~SaneSource() override;

    const TW_IDENTITY& Identity() const { return m_identity; }
    // Stops a scan, hides the dialog and closes the device; the source answers nothing afterwards.
    void Close();

    // A triplet addressed to this source; failures set the condition.
    TW_UINT16 Dispatch(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data, TwainCondition& condition);

private:
    enum class State { Open, Enabled, TransferReady, Transferring, Closed };

    TW_UINT16 SetCapability(TW_CAPABILITY* capability, TwainCondition& condition);
    TW_UINT16 Enable(const TW_USERINTERFACE* ui, TwainCondition& condition);
    void Disable();
    TW_UINT16 ProcessEvent(TW_EVENT* event);
    TW_UINT16 TransferPicture(TW_HANDLE* handle, TwainCondition& condition);
    TW_UINT16 EndTransfer(TW_PENDINGXFERS* pending, TwainCondition& condition);

    void ShowDialog(QWidget* parent, bool modal);
    void HideDialog();
    void StartScan(bool colour, int dotsPerInch);
    void CancelClicked();
    void ScanFinished(ScanResult result);
    void StopWorker();
    void Notify(TW_UINT16 message);

    TW_IDENTITY m_identity;
    std::string m_deviceName;
    SANE_Handle m_handle;
    State m_state = State::Open;
    // The dialog may belong to a window of the application, which would then delete it with itself.
    QPointer<SourceDialog> m_dialog;
    bool m_arrowCursor = false;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    bool m_scanning = false;
    OwnedBlock m_picture;
    TW_UINT16 m_failure = Twain::TWCC_SUCCESS;
    std::string m_failureText;
};
