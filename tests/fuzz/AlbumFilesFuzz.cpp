// Feeds arbitrary bytes to the readers of the album files: project, design (and its head as the design list
// reads it), branding bundle and studio record. Reading must end in an orderly error: no crash, no leak, no
// unbounded allocation, no deep recursion however the category tree is nested.

#include "model/PageCompleteness.h"
#include "model/PageOrder.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evLayoutPreview.h"
#include "model/evPageLayout.h"
#include "model/evPhotograph.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "presentation/ClassList.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

namespace {

// Reads the body, writes it again and walks it the ways the program does.
template <class T>
void ReadAndUse(Stream& stream)
{
    T body(stream, nullptr);
    MemoryStream out;
    body.SaveToStream(out);
    (void)body.ToString();
}

void ReadProject(Stream& stream)
{
    evProject project(stream, nullptr);
    MemoryStream out;
    project.SaveToStream(out);
    (void)project.ToString();
    if (evCategory* first = project.GetFirstCategory()) {
        std::vector<evCategory*> pages;
        PageOrder::Flatten(first, pages, true);
        (void)PageOrder::CountIncluded(first, false);
        (void)IsComplete(first);
        std::unique_ptr<evCategory> copy = first->CloneCategory();
        (void)copy->IsEqual(first);
    }
}

// Small pages are rendered too, so slots, frames and text fields meet hostile identifiers and sizes.
void ReadDesign(Stream& stream)
{
    evLayout design(stream, nullptr);
    MemoryStream out;
    design.SaveToStream(out);
    (void)design.ToString();
    const bool small = design.GetPageWidth() > 0 && design.GetPageHeight() > 0 && design.GetPageWidth() <= 256 &&
                       design.GetPageHeight() <= 256;
    for (int32_t i = 0; i < design.GetPageLayouts().Count(); ++i) {
        auto* layout = design.GetPageLayouts().GetItemAs<evPageLayout>(i);
        (void)layout->HitTest(0.5, 0.5);
        (void)layout->CountTextFields();
        if (small)
            layout->RenderPreview();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    RegisterAllClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the reader, the rest is the file.
    MemoryStream stream(data + 1, static_cast<int64_t>(size - 1));
    try {
        switch (data[0] % 5) {
        case 0: ReadProject(stream); break;
        case 1: ReadDesign(stream); break;
        case 2: evLayoutPreview(stream, "fuzz.evl"); break;
        case 3: ReadAndUse<evBranding>(stream); break;
        default: ReadAndUse<evPhotograph>(stream); break;
        }
    } catch (const EVelloraError&) {}
    return 0;
}
