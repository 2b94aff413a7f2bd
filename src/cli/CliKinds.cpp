#include "cli/CliKinds.h"

#include "model/ObjectStream.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evObjectCollection.h"
#include "model/evPhotograph.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/Text.h"
#include "presentation/PresentationFile.h"

namespace {

CliKind ObjectKind()
{
    return {"object",
            [](Stream& in, std::ostream& out) {
                std::unique_ptr<evObject> object = ReadObject(in);
                out << (object ? ToDisplayUtf8(object->ToString()) : std::string("nil")) << '\n';
            },
            [](Stream& in, Stream& out) {
                std::unique_ptr<evObject> object = ReadObject(in);
                WriteObject(out, object.get());
            }};
}

CliKind CollectionKind()
{
    return {"collection",
            [](Stream& in, std::ostream& out) {
                evObjectCollection collection(in);
                out << ToDisplayUtf8(collection.ToString()) << '\n';
            },
            [](Stream& in, Stream& out) {
                evObjectCollection collection(in);
                if (!collection.SaveToStream(out))
                    out.RaiseWriteFailure();
            }};
}

// A kind whose file is one body of T from the first byte, printed as its ToString on one line.
template <class T>
CliKind BodyKind(std::string name)
{
    return {std::move(name),
            [](Stream& in, std::ostream& out) { out << ToDisplayUtf8(ReadBody<T>(in, nullptr)->ToString()) << '\n'; },
            [](Stream& in, Stream& out) { ReadBody<T>(in, nullptr)->SaveToStream(out); }};
}

void PrintList(std::ostream& out, const char* label, const evObjectCollection& list)
{
    out << label << ' ' << list.Count() << '\n';
    for (int32_t i = 0; i < list.Count(); ++i)
        out << ToDisplayUtf8(list.GetItem(i)->ToString()) << '\n';
}

void PrintBranding(const evBranding& branding, std::ostream& out)
{
    out << "name " << ToDisplayUtf8(branding.GetName()) << '\n';
    out << "tree "
        << (branding.GetChapterTree() ? ToDisplayUtf8(branding.GetChapterTree()->ToString()) : std::string("nil"))
        << '\n';
    PrintList(out, "helptexts", branding.GetHelpTexts());
    const evObjectCollection& pictures = branding.GetPictures();
    out << "pictures " << pictures.Count() << '\n';
    for (int32_t i = 0; i < pictures.Count(); ++i) {
        const evObject* item = pictures.GetItem(i);
        out << ToDisplayUtf8(item->ToString());
        if (const auto* picture = dynamic_cast<const evPicture*>(item))
            out << ' ' << picture->GetWidth() << 'x' << picture->GetHeight();
        out << '\n';
    }
    PrintList(out, "music", branding.GetMusic());
    PrintList(out, "speech", branding.GetSpeech());
}

CliKind BrandingKind()
{
    return {"branding",
            [](Stream& in, std::ostream& out) {
                evBranding branding(in, nullptr);
                PrintBranding(branding, out);
            },
            [](Stream& in, Stream& out) {
                evBranding branding(in, nullptr);
                branding.SaveToStream(out);
            }};
}

void PrintPresentation(const PresentationFile& file, std::ostream& out)
{
    out << "background " << file.background << '\n';
    out << "pages " << file.pages.size() << '\n';
    for (const auto& page : file.pages)
        out << ToDisplayUtf8(page->ToString()) << '\n';
    out << "music " << (file.music ? ToDisplayUtf8(file.music->ToString()) : std::string("nil")) << '\n';
    out << "studio " << (file.studio ? ToDisplayUtf8(file.studio->ToString()) : std::string("nil")) << '\n';
    out << "duration " << file.studioDuration << '\n';
}

// A disc's presentation file, "data/data.evp".
CliKind PresentationKind()
{
    return {"presentation", [](Stream& in, std::ostream& out) { PrintPresentation(*PresentationFile::Read(in), out); },
            [](Stream& in, Stream& out) { PresentationFile::Read(in)->Write(out); }};
}

} // namespace

const std::vector<CliKind>& CliKinds()
{
    static const std::vector<CliKind> kinds = {ObjectKind(),
                                               CollectionKind(),
                                               BodyKind<evProject>("project"),
                                               BodyKind<evLayout>("design"),
                                               BrandingKind(),
                                               BodyKind<evPhotograph>("photograph"),
                                               PresentationKind()};
    return kinds;
}

const CliKind* FindCliKind(const std::string& name)
{
    for (const CliKind& kind : CliKinds()) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}
