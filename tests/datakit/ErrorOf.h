#pragma once
// The message of the error of class E that a call throws, or "no error": the data kit's sources are checked by the
// messages their mistakes give.
#include "DataSourceError.h"

#include <string>

template <class E = EDataSourceError, class Call>
std::string ErrorOf(Call&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}
