#include "cli/CliKinds.h"

#include "model/ObjectStream.h"
#include "model/evObjectCollection.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/Text.h"

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
                    throw EWriteError();
            }};
}

} // namespace

const std::vector<CliKind>& CliKinds()
{
    static const std::vector<CliKind> kinds = {ObjectKind(), CollectionKind()};
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
