#pragma once
// vellora-cli label PROJECT --out FILE.pdf [--designs DIR] [--upper X,Y|off] [--lower X,Y|off]
//
// Prints the project's disc-label sheet to a PDF file exactly as the label kit's Print button does on an A4
// printer without margins: each label a 120 x 120 mm square whose top-left corner lies X, Y tenths of a
// millimetre from the sheet's corner (the print screen's entry positions unless given), "off" leaves a label
// out. The PDF is written beside its name and renamed, so a failure leaves nothing behind. Prints the file's
// name; a position off the sheet, both labels off, a damaged or missing file raise (status 1).

#include <string>
#include <vector>

struct ProgramFolders;

// Runs the command on the arguments after "label"; returns the exit status. Failures raise.
int RunLabel(const std::vector<std::string>& args, const ProgramFolders& folders);
