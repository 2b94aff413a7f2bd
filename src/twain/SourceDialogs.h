#pragma once
// The manager's two dialogs: the choice of a source among the SANE devices, and a source's own dialog with the
// device, the mode, the resolution, a Scan button, a progress bar and a Cancel button. Their widgets carry
// object names, so that tests can answer them as a person would.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

struct SaneDeviceInfo {
    std::string name;
    std::string vendor;
    std::string model;
    std::string type;
};

// The window a dialog of the manager belongs to: the one the application named, else the active window as long
// as it takes input (a dialog belonging to a disabled window would be disabled with it, and the program disables
// its screen while the user chooses the source), else none.
QWidget* DialogParent(QWidget* named);

// Modal: exec() returns Accepted with a device chosen (ChosenIndex) or Rejected.
class SelectSourceDialog : public QDialog {
public:
    SelectSourceDialog(QWidget* parent, const std::vector<SaneDeviceInfo>& devices, const std::string& current);
    int ChosenIndex() const;

private:
    QListWidget* m_list;
};

class SourceDialog : public QDialog {
public:
    struct Choices {
        QString device;
        bool hasColour = true;
        bool hasGrey = true;
        bool colour = true;
        std::vector<int> resolutions;
        int resolution = 0;
    };
    // scan gets the mode (true: colour) and the resolution (0: as the device is set); cancel stops a scan that
    // runs or, when none runs, asks to close the source.
    SourceDialog(QWidget* parent, const Choices& choices, std::function<void(bool, int)> scan,
                 std::function<void()> cancel);

    void SetScanning(bool scanning);
    void SetProgress(int percent);
    void SetStatus(const QString& text);
    // After a close request the dialog takes no more input until the source hides it.
    void SetClosing();

    // Escape and the window's close box act as the Cancel button.
    void reject() override;

private:
    QComboBox* m_mode;
    QComboBox* m_resolution;
    QProgressBar* m_progress;
    QLabel* m_status;
    QPushButton* m_scan;
    QPushButton* m_cancel;
    std::function<void(bool, int)> m_onScan;
    std::function<void()> m_onCancel;
};
