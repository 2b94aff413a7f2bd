#pragma once
// The failure of a data source of the data kit (a design description, a score, the chapter tree, a speech line):
// the message names the source file and the element that is wrong, so a designer can fix it without C++.

#include "platform/Errors.h"

class EDataSourceError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};
