#include "twain/SourceDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

QString Describe(const SaneDeviceInfo& device)
{
    QString text = Text(device.vendor + " " + device.model).trimmed();
    if (!device.type.empty())
        text += " (" + Text(device.type) + ")";
    return text.isEmpty() ? Text(device.name) : text + "\n" + Text(device.name);
}

} // namespace

QWidget* DialogParent(QWidget* named)
{
    if (named)
        return named;
    QWidget* active = QApplication::activeWindow();
    return active && active->isEnabled() ? active : nullptr;
}

SelectSourceDialog::SelectSourceDialog(QWidget* parent, const std::vector<SaneDeviceInfo>& devices,
                                       const std::string& current)
    : QDialog(parent), m_list(new QListWidget(this))
{
    setObjectName("vellora-twain-select");
    setWindowTitle("Select Source");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(devices.empty() ? "No scanner was found. Check that the scanner is connected and "
                                                   "switched on."
                                                 : "Sources:",
                                 this));
    m_list->setObjectName("sources");
    for (const SaneDeviceInfo& device : devices) {
        m_list->addItem(Describe(device));
        if (device.name == current)
            m_list->setCurrentRow(m_list->count() - 1);
    }
    if (m_list->currentRow() < 0 && m_list->count() > 0)
        m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("Select");
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!devices.empty());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(420, 300);
}

int SelectSourceDialog::ChosenIndex() const { return m_list->currentRow(); }

SourceDialog::SourceDialog(QWidget* parent, const Choices& choices, std::function<void(bool, int)> scan,
                           std::function<void()> cancel)
    : QDialog(parent), m_mode(new QComboBox(this)), m_resolution(new QComboBox(this)),
      m_progress(new QProgressBar(this)), m_status(new QLabel(this)), m_scan(new QPushButton("Scan", this)),
      m_cancel(new QPushButton("Cancel", this)), m_onScan(std::move(scan)), m_onCancel(std::move(cancel))
{
    setObjectName("vellora-twain-source");
    setWindowTitle("Scan");
    m_mode->setObjectName("mode");
    if (choices.hasColour)
        m_mode->addItem("Colour", true);
    if (choices.hasGrey)
        m_mode->addItem("Grey", false);
    m_mode->setCurrentIndex(std::max(0, m_mode->findData(choices.colour)));
    m_mode->setEnabled(m_mode->count() > 1);
    m_resolution->setObjectName("resolution");
    for (int value : choices.resolutions)
        m_resolution->addItem(QString::number(value) + " dpi", value);
    m_resolution->setCurrentIndex(std::max(0, m_resolution->findData(choices.resolution)));
    m_resolution->setEnabled(m_resolution->count() > 1);
    m_progress->setObjectName("progress");
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status->setObjectName("status");
    m_scan->setObjectName("scan");
    m_scan->setDefault(true);
    m_cancel->setObjectName("cancel");

    auto* form = new QFormLayout;
    auto* device = new QLabel(choices.device, this);
    device->setObjectName("device");
    form->addRow("Scanner:", device);
    form->addRow("Mode:", m_mode);
    form->addRow("Resolution:", m_resolution);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_scan);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    connect(m_scan, &QPushButton::clicked, this, [this] {
        const bool colour = m_mode->count() == 0 || m_mode->currentData().toBool();
        m_onScan(colour, m_resolution->count() > 0 ? m_resolution->currentData().toInt() : 0);
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_onCancel(); });
    resize(380, 200);
}

void SourceDialog::SetScanning(bool scanning)
{
    m_scan->setEnabled(!scanning);
    m_mode->setEnabled(!scanning && m_mode->count() > 1);
    m_resolution->setEnabled(!scanning && m_resolution->count() > 1);
    if (scanning) {
        m_progress->setValue(0);
        SetStatus("Scanning...");
    }
}

void SourceDialog::SetProgress(int percent) { m_progress->setValue(std::clamp(percent, 0, 100)); }

void SourceDialog::SetStatus(const QString& text) { m_status->setText(text); }

void SourceDialog::SetClosing()
{
    m_scan->setEnabled(false);
    m_cancel->setEnabled(false);
}

void SourceDialog::reject()
{
    if (m_cancel->isEnabled())
        m_onCancel();
}
