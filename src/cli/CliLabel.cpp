#include "cli/CliLabel.h"

#include "cli/CliArguments.h"
#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Printer.h"
#include "platform/ProgramFolders.h"
#include "presentation/DiscLabel.h"
#include "presentation/LabelSheet.h"

#include <array>
#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr const char* kUsage =
    "label: usage: vellora-cli label PROJECT --out FILE.pdf [--designs DIR] [--upper X,Y|off] [--lower X,Y|off]";

// A label's place, or nothing for "off".
using Placement = std::optional<LabelSheet::Position>;

struct LabelOptions {
    std::string project;
    std::string out;
    std::vector<std::string> designs;
    std::array<Placement, LabelSheet::lbCount> labels{LabelSheet::kEntryPositions[LabelSheet::lbUpper],
                                                      LabelSheet::kEntryPositions[LabelSheet::lbLower]};
};

bool ParseNumber(std::string_view text, int32_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

Placement ParsePlacement(const std::string& option, const std::string& text)
{
    if (text == "off")
        return std::nullopt;
    const size_t comma = text.find(',');
    LabelSheet::Position position;
    if (comma == std::string::npos || !ParseNumber(std::string_view(text).substr(0, comma), position.x) ||
        !ParseNumber(std::string_view(text).substr(comma + 1), position.y))
        throw EVelloraError("label: " + option + " takes X,Y in tenths of a millimetre or \"off\", not \"" + text +
                            "\"");
    return position;
}

LabelOptions ParseOptions(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    LabelOptions options;
    options.designs = folders.DesignFolders();
    CommandArguments arguments("label", args);
    options.project = arguments.ReadAll([&](const std::string& option) {
        if (option == "--out")
            options.out = arguments.Value();
        else if (option == "--designs")
            options.designs = {arguments.Value()};
        else if (option == "--upper")
            options.labels[LabelSheet::lbUpper] = ParsePlacement(option, arguments.Value());
        else if (option == "--lower")
            options.labels[LabelSheet::lbLower] = ParsePlacement(option, arguments.Value());
        else
            return false;
        return true;
    });
    if (options.project.empty() || options.out.empty())
        throw EVelloraError(kUsage);
    if (!options.labels[LabelSheet::lbUpper] && !options.labels[LabelSheet::lbLower])
        throw EVelloraError("label: both labels are off, so there is nothing to print");
    return options;
}

// The sheet with the PDF's metrics; a label that would leave the sheet is refused, as the print screen's moves
// refuse it.
void PlaceLabels(LabelSheet& sheet, const LabelOptions& options)
{
    for (LabelSheet::Label label : {LabelSheet::lbUpper, LabelSheet::lbLower}) {
        const Placement& placement = options.labels[label];
        sheet.SetPrint(label, placement.has_value());
        if (!placement)
            continue;
        if (!sheet.Fits(*placement))
            throw EVelloraError(std::string("label: the ") + (label == LabelSheet::lbUpper ? "upper" : "lower") +
                                " label at " + std::to_string(placement->x) + "," + std::to_string(placement->y) +
                                " does not lie on the A4 sheet");
        sheet.SetPosition(label, *placement);
    }
}

} // namespace

int RunLabel(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    const LabelOptions options = ParseOptions(args, folders);
    const std::unique_ptr<evProject> project = OpenProject(options.project, options.designs);
    const Bitmap label = RenderDiscLabel(*project);
    if (label.IsEmpty())
        throw EVelloraError("label: the design of \"" + options.project + "\" has no page size");
    PdfFilePrinter pdf(options.out);
    LabelSheet sheet;
    sheet.SetMetrics(pdf.GetMetrics());
    PlaceLabels(sheet, options);
    sheet.Print(pdf, label);
    std::cout << pdf.GetPath() << '\n' << std::flush;
    return 0;
}
