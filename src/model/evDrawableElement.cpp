#include "model/evDrawableElement.h"

evDrawableElement::evDrawableElement() = default;

evDrawableElement::evDrawableElement(std::string name) : m_name(std::move(name)) {}

// Layout: the evObject header only (int32 version, int32 identifier).
evDrawableElement::evDrawableElement(Stream& stream, ProgressBar* progress) : evObject(stream, progress) {}

evDrawableElement::~evDrawableElement() = default;

std::string evDrawableElement::ToString() const { return "evDrawableElement"; }

int32_t evDrawableElement::GetWidth() const { return 0; }

int32_t evDrawableElement::GetHeight() const { return 0; }

void evDrawableElement::Draw(const TRect&, Canvas&, const DrawOptions&) {}
