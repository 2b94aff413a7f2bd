#pragma once
// The identifiers of one design: every object gets the stable number of its name (ObjectIds::StableID), and no
// two names may share a number. Names of objects that belong to a page layout are qualified with the page
// layout's identifier ("welcome.photo"), so short names can repeat from page to page while the numbers stay
// unique in the whole design, which the model requires (an entry's element is looked up in the whole design).

#include "JsonCursor.h"

#include <cstdint>
#include <map>
#include <string>

class IdRegistry {
public:
    // The number for the name; the cursor names the element in the error when another name has the number.
    int32_t Assign(const std::string& name, const JsonCursor& where);
    bool Contains(const std::string& name) const { return m_numbers.count(name) != 0; }
    // The number of a name assigned before; 0 when the name is unknown.
    int32_t Find(const std::string& name) const;
    size_t Count() const { return m_numbers.size(); }

private:
    std::map<std::string, int32_t> m_numbers;
    std::map<int32_t, std::string> m_names;
};
