#pragma once
// Looking at a PDF as a reader shows it: poppler's pdfinfo for the page size, and pdftoppm for the first page
// rendered in grey levels without smoothing, in which the dark areas are found.

#include "platform/Geometry.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct GreyPage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // one byte a pixel, row by row

    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// What the program printed on its standard output; empty when it could not be run.
inline std::string RunTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

// The "Page size:" line of pdfinfo, e.g. "595 x 842 pts (A4)".
inline std::string PdfPageSize(const std::string& pdf)
{
    const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
    const size_t at = info.find("Page size:");
    if (at == std::string::npos)
        return {};
    const size_t start = info.find_first_not_of(' ', at + 10);
    return info.substr(start, info.find('\n', start) - start);
}

// The first page at the resolution; an empty page when pdftoppm fails.
inline GreyPage RenderPdfPage(const std::string& pdf, int dpi)
{
    const std::string pgm = RunTool("pdftoppm", {"-gray", "-r", QString::number(dpi), "-aa", "no", "-aaVector", "no",
                                                 "-singlefile", QString::fromStdString(pdf)});
    GreyPage page;
    // "P5" width height 255, one blank, the pixels.
    int maximum = 0;
    int consumed = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &page.width, &page.height, &maximum, &consumed) != 3 ||
        maximum != 255 || pgm.size() < static_cast<size_t>(consumed) + 1 + size_t(page.width) * page.height)
        return GreyPage{};
    page.pixels.assign(pgm.begin() + consumed + 1, pgm.begin() + consumed + 1 + page.width * page.height);
    return page;
}

// The bounding box (right and bottom exclusive) of the dark pixels within the area; empty when there are none.
inline TRect DarkBox(const GreyPage& page, const TRect& area)
{
    TRect box{area.Right, area.Bottom, area.Left, area.Top};
    for (int y = std::max(0, area.Top); y < std::min(page.height, area.Bottom); ++y)
        for (int x = std::max(0, area.Left); x < std::min(page.width, area.Right); ++x) {
            if (page.At(x, y) >= 128)
                continue;
            box.Left = std::min(box.Left, x);
            box.Top = std::min(box.Top, y);
            box.Right = std::max(box.Right, x + 1);
            box.Bottom = std::max(box.Bottom, y + 1);
        }
    return box.Left < box.Right ? box : TRect{};
}
