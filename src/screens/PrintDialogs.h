#pragma once
// The print dialog of the screens and the printer it chooses, behind an interface so that tests answer it without
// a person or a printer. The system's dialog is Qt's, over the printers that CUPS knows.

#include "platform/Printer.h"

#include <optional>

class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;

    // A fresh dialog: the next printer is the system's default again.
    virtual void Restart() = 0;
    // Whether the system knows at least one printer.
    virtual bool HasPrinter() = 0;
    // The metrics of the current printer (the one chosen last, else the default); nothing without a printer.
    virtual std::optional<PrinterMetrics> CurrentMetrics() = 0;
    // Shows the print dialog. The chosen printer, ready for a job and valid until the next Execute or Restart;
    // nullptr when the user cancelled or there is no printer.
    virtual Printer* Execute() = 0;
};

PrintDialogs& PrintDialog();
// Replaces the print dialog; nullptr restores the system's.
void SetPrintDialogs(PrintDialogs* dialogs);
