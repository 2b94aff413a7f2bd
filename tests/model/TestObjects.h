#pragma once
// Small stored classes used only by the tests of the object stream and collections.

#include "model/ClassRegistry.h"
#include "model/ObjectStream.h"
#include "model/evObject.h"
#include "model/evObjectCollection.h"
#include "platform/Stream.h"

// Version 2 writes a text; version 1 streams hold an extra integer that is read and dropped.
class tstItem : public evObject {
    EV_DECLARE_CLASS(tstItem, evObject)
    explicit tstItem(std::string text, int32_t id = 0) : m_text(std::move(text)) { SetID(id); }
    tstItem(Stream& s, ProgressBar* p) : evObject(s, p)
    {
        if (GetStoredVersion() == 1)
            (void)s.ReadInt32();
        m_text = s.ReadString();
    }
    static constexpr int32_t kVersion = 2;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& s) const override
    {
        evObject::SaveToStream(s);
        s.WriteString(m_text);
    }
    std::unique_ptr<evObject> Clone() const override { return std::make_unique<tstItem>(m_text); }
    bool IsEqual(const evObject* other) const override
    {
        auto* item = dynamic_cast<const tstItem*>(other);
        return item && item->m_text == m_text;
    }
    std::string ToString() const override { return "tstItem[" + m_text + "]"; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// Same content rules as its base; a different class name on the stream.
class tstOtherItem : public tstItem {
    EV_DECLARE_CLASS(tstOtherItem, tstItem)
    using tstItem::tstItem;
};

// A container: an optional nested object and a collection.
class tstBox : public evObject {
    EV_DECLARE_CLASS(tstBox, evObject)
    tstBox() = default;
    tstBox(Stream& s, ProgressBar* p) : evObject(s, p)
    {
        m_inner = ReadObject(s, p);
        m_items = std::make_unique<evObjectCollection>(s, p);
    }
    void SaveToStream(Stream& s) const override
    {
        evObject::SaveToStream(s);
        WriteObject(s, m_inner.get());
        m_items->SaveToStream(s);
    }
    evObject* FindByID(int32_t id) override
    {
        if (evObject* self = evObject::FindByID(id))
            return self;
        if (m_inner)
            if (evObject* found = m_inner->FindByID(id))
                return found;
        return m_items->FindByID(id);
    }
    std::unique_ptr<evObject> m_inner;
    std::unique_ptr<evObjectCollection> m_items = std::make_unique<evObjectCollection>();
};

inline void RegisterTestClasses()
{
    ClassRegistry::Instance().Register<tstOtherItem>();
    ClassRegistry::Instance().Register<tstBox>();
}
