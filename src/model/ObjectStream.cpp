#include "model/ObjectStream.h"

#include "model/ClassRegistry.h"
#include "platform/Stream.h"

namespace {
thread_local int t_depth = 0;
}

NestingGuard::NestingGuard()
{
    if (t_depth >= kMaxObjectNesting)
        throw EReadError("Stream read error: objects nested too deeply");
    ++t_depth;
}

NestingGuard::~NestingGuard() { --t_depth; }

std::unique_ptr<evObject> ReadObject(Stream& stream, ProgressBar* progress)
{
    const std::string tag = stream.ReadString();
    if (tag != "P")
        return nullptr;
    const std::string className = stream.ReadString();
    NestingGuard guard;
    return ClassRegistry::Instance().Read(className, stream, progress);
}

void WriteObject(Stream& stream, const evObject* object)
{
    if (!object) {
        stream.WriteString("NP");
        return;
    }
    stream.WriteString("P");
    stream.WriteString(object->ClassName());
    object->SaveToStream(stream);
}
