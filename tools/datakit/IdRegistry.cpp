#include "IdRegistry.h"

#include "ObjectIds.h"

int32_t IdRegistry::Assign(const std::string& name, const JsonCursor& where)
{
    if (m_numbers.count(name) != 0)
        where.Fail("the identifier \"" + name + "\" is used twice");
    const int32_t number = ObjectIds::StableID(name);
    const auto clash = m_names.find(number);
    if (clash != m_names.end())
        where.Fail("the identifiers \"" + name + "\" and \"" + clash->second +
                   "\" give the same stored number; rename one of them");
    m_numbers[name] = number;
    m_names[number] = name;
    return number;
}

int32_t IdRegistry::Find(const std::string& name) const
{
    const auto found = m_numbers.find(name);
    return found == m_numbers.end() ? 0 : found->second;
}
