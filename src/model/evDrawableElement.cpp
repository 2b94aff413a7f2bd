#include "model/evDrawableElement.h"

#include "platform/Log.h"

evDrawableElement::evDrawableElement() { ktLogs::LogLine("evDrawableElement created."); }

evDrawableElement::evDrawableElement(std::string name) : m_name(std::move(name))
{
    ktLogs::LogLine("evDrawableElement created.");
}

// Layout: the evObject header only (int32 version, int32 identifier).
evDrawableElement::evDrawableElement(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    ktLogs::LogLine("evDrawableElement created from stream.");
}

evDrawableElement::~evDrawableElement() { ktLogs::LogLine("evDrawableElement destroyed."); }

std::string evDrawableElement::ToString() const { return "evDrawableElement"; }

int32_t evDrawableElement::GetWidth() const { return 0; }

int32_t evDrawableElement::GetHeight() const { return 0; }

void evDrawableElement::Draw(const TRect&, Canvas&, bool, evProjectorPage*, bool) {}
