#pragma once
// The ordered, owning list of model objects.
//
// Stream layout (a collection file is exactly this):
//   int32  count n      (a negative count reads as empty)
//   n object references, member 0 first
//
// Each member is kept with the class name it had when it was added; IsEqual and GetClassAt use that name.

#include "model/evObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Stream;
class ProgressBar;

class evObjectCollection {
public:
    evObjectCollection();
    explicit evObjectCollection(Stream& stream, ProgressBar* progress = nullptr);
    ~evObjectCollection();

    evObjectCollection(const evObjectCollection&) = delete;
    evObjectCollection& operator=(const evObjectCollection&) = delete;

    // Reads a whole collection file; EFOpenError when it cannot be opened.
    static std::unique_ptr<evObjectCollection> CreateFromFile(const std::string& path);

    // Ends the list without destroying the members and hands them to the caller (their owner is elsewhere).
    std::vector<std::unique_ptr<evObject>> DestroyWithoutMembers();

    // Writes the count and every member; false when the stream refused (it then holds a partial collection).
    bool SaveToStream(Stream& stream) const;
    std::unique_ptr<evObjectCollection> Clone() const;
    bool IsEqual(const evObjectCollection& other) const;

    int32_t Add(std::unique_ptr<evObject> object);
    void Delete(int32_t index);
    // Removes the member; destroys it when destroy is true, otherwise hands it back.
    std::unique_ptr<evObject> Delete(int32_t index, bool destroy);
    evObject* GetItem(int32_t index) const;
    template <class T>
    T* GetItemAs(int32_t index) const
    {
        return dynamic_cast<T*>(GetItem(index));
    }
    const std::string& GetClassAt(int32_t index) const;
    int32_t IndexOf(const evObject* object) const;
    int32_t Count() const { return static_cast<int32_t>(m_members.size()); }

    std::string ToString() const;
    void RemoveReferences(const evObject* object);
    evObject* FindByID(int32_t id) const;

private:
    struct Member {
        std::unique_ptr<evObject> object;
        std::string className;
    };
    void CheckIndex(int32_t index) const;

    std::vector<Member> m_members;
};
