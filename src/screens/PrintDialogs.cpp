#include "screens/PrintDialogs.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace {

// One printer object for the dialog: it keeps the user's choice between jobs until Restart. Printers in Qt work
// at the printer's own resolution, and the painter's origin is the corner of the printable area.
class SystemPrintDialogs : public PrintDialogs {
public:
    void Restart() override
    {
        m_job.reset();
        m_printer.reset();
    }

    bool HasPrinter() override { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

    std::optional<PrinterMetrics> CurrentMetrics() override
    {
        if (!HasPrinter())
            return std::nullopt;
        return PaintDevicePrinter(Current()).GetMetrics();
    }

    Printer* Execute() override
    {
        if (!HasPrinter())
            return nullptr;
        m_job.reset();
        QPrintDialog dialog(&Current());
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        if (dialog.exec() != QDialog::Accepted)
            return nullptr;
        m_job = std::make_unique<PaintDevicePrinter>(Current());
        return m_job.get();
    }

private:
    QPrinter& Current()
    {
        if (!m_printer) {
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            m_printer->setFullPage(false);
        }
        return *m_printer;
    }

    std::unique_ptr<PaintDevicePrinter> m_job;
    std::unique_ptr<QPrinter> m_printer;
};

PrintDialogs* g_printDialogs = nullptr;

} // namespace

PrintDialogs& PrintDialog()
{
    static SystemPrintDialogs system;
    return g_printDialogs ? *g_printDialogs : system;
}

void SetPrintDialogs(PrintDialogs* dialogs) { g_printDialogs = dialogs; }
