// Feeds arbitrary bytes to the object-reference and collection readers. Reading must end in an orderly error:
// no crash, no leak, no unbounded allocation.

#include "model/ObjectStream.h"
#include "model/evObjectCollection.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "presentation/ClassList.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

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
    // The first byte chooses the reader, the rest is the stream.
    MemoryStream stream(data + 1, static_cast<int64_t>(size - 1));
    try {
        if (data[0] & 1) {
            evObjectCollection collection(stream);
            MemoryStream out;
            collection.SaveToStream(out);
        } else {
            std::unique_ptr<evObject> object = ReadObject(stream);
            if (object) {
                MemoryStream out;
                WriteObject(out, object.get());
                (void)object->ToString();
            }
        }
    } catch (const EVelloraError&) {}
    return 0;
}
