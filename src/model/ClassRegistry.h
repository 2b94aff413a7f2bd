#pragma once
// The table from class name to class through which the object stream builds objects. Registering a class
// registers its ancestors too, up to the first one already present. An unknown class name is a read error.

#include "model/evObject.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

class ClassRegistry {
public:
    using Reader = std::unique_ptr<evObject> (*)(Stream&, ProgressBar*);

    static ClassRegistry& Instance();

    template <class T>
    void Register()
    {
        static_assert(std::is_base_of_v<evObject, T>);
        Add(T::kClassName, &ReadAs<T>);
        if constexpr (!std::is_void_v<typename T::Base>) {
            if (!IsRegistered(T::Base::kClassName))
                Register<typename T::Base>();
        }
    }

    bool IsRegistered(std::string_view name) const;
    size_t Count() const { return m_readers.size(); }
    void Unregister(std::string_view name);
    void Clear() { m_readers.clear(); }

    // Builds an object of the named class from the stream; EReadError for a name that is not registered.
    std::unique_ptr<evObject> Read(std::string_view name, Stream& stream, ProgressBar* progress) const;

private:
    template <class T>
    static std::unique_ptr<evObject> ReadAs(Stream& stream, ProgressBar* progress)
    {
        return ReadBody<T>(stream, progress);
    }
    void Add(std::string_view name, Reader reader);

    std::map<std::string, Reader, std::less<>> m_readers;
};
