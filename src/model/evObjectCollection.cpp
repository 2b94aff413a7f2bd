#include "model/evObjectCollection.h"

#include "model/ObjectStream.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

evObjectCollection::evObjectCollection() = default;

evObjectCollection::evObjectCollection(Stream& stream, ProgressBar* progress)
{
    const int32_t count = stream.ReadInt32();
    // Members are appended as they are read; nothing is reserved from the count, so a damaged count cannot
    // allocate more than the stream really holds.
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<evObject> object = ReadObject(stream, progress);
        if (!object)
            throw EReadError("Stream read error: a collection member is missing");
        Add(std::move(object));
    }
}

evObjectCollection::~evObjectCollection()
{
    for (Member& member : m_members)
        member.object.reset();
}

std::unique_ptr<evObjectCollection> evObjectCollection::CreateFromFile(const std::string& path)
{
    FileStream file(path, FileStream::Mode::OpenRead);
    return std::make_unique<evObjectCollection>(file);
}

std::vector<std::unique_ptr<evObject>> evObjectCollection::DestroyWithoutMembers()
{
    std::vector<std::unique_ptr<evObject>> objects;
    objects.reserve(m_members.size());
    for (Member& member : m_members)
        objects.push_back(std::move(member.object));
    m_members.clear();
    return objects;
}

bool evObjectCollection::SaveToStream(Stream& stream) const
{
    try {
        stream.WriteInt32(Count());
        for (const Member& member : m_members)
            WriteObject(stream, member.object.get());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<evObjectCollection> evObjectCollection::Clone() const
{
    auto copy = std::make_unique<evObjectCollection>();
    for (const Member& member : m_members) {
        // A member without a copy (the base evObject gives none) is left out rather than stored as none.
        if (std::unique_ptr<evObject> clone = member.object->Clone())
            copy->Add(std::move(clone));
    }
    return copy;
}

bool evObjectCollection::IsEqual(const evObjectCollection& other) const
{
    if (Count() != other.Count())
        return false;
    for (size_t i = 0; i < m_members.size(); ++i) {
        if (m_members[i].className != other.m_members[i].className)
            return false;
        if (!m_members[i].object->IsEqual(other.m_members[i].object.get()))
            return false;
    }
    return true;
}

int32_t evObjectCollection::Add(std::unique_ptr<evObject> object)
{
    if (!object)
        throw EListError("A collection member cannot be none");
    std::string className = object->ClassName();
    m_members.push_back(Member{std::move(object), std::move(className)});
    return Count() - 1;
}

void evObjectCollection::CheckIndex(int32_t index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void evObjectCollection::Delete(int32_t index) { Delete(index, true); }

std::unique_ptr<evObject> evObjectCollection::Delete(int32_t index, bool destroy)
{
    CheckIndex(index);
    std::unique_ptr<evObject> object = std::move(m_members[static_cast<size_t>(index)].object);
    m_members.erase(m_members.begin() + index);
    if (destroy)
        return nullptr;
    return object;
}

evObject* evObjectCollection::GetItem(int32_t index) const
{
    CheckIndex(index);
    return m_members[static_cast<size_t>(index)].object.get();
}

const std::string& evObjectCollection::GetClassAt(int32_t index) const
{
    CheckIndex(index);
    return m_members[static_cast<size_t>(index)].className;
}

int32_t evObjectCollection::IndexOf(const evObject* object) const
{
    for (size_t i = 0; i < m_members.size(); ++i) {
        if (m_members[i].object.get() == object)
            return static_cast<int32_t>(i);
    }
    return -1;
}

std::string evObjectCollection::ToString() const
{
    std::string text = "evObjectCollection[";
    for (size_t i = 0; i < m_members.size(); ++i) {
        if (i != 0)
            text += ", ";
        text += m_members[i].object->ToString();
    }
    return text + "]";
}

void evObjectCollection::RemoveReferences(const evObject* object)
{
    for (Member& member : m_members)
        member.object->RemoveReferences(object);
}

evObject* evObjectCollection::FindByID(int32_t id) const
{
    for (const Member& member : m_members) {
        if (evObject* found = member.object->FindByID(id))
            return found;
    }
    return nullptr;
}
