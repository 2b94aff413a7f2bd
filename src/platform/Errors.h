#pragma once
// Every failure the program raises derives from EVelloraError, so the edges (screen handlers, the command-line
// tool, renderings that report a Boolean) can catch them in one place.

#include <stdexcept>
#include <string>

class EVelloraError : public std::runtime_error {
public:
    explicit EVelloraError(const std::string& message) : std::runtime_error(message) {}
};

// Stream failures.
class EStreamError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
    EReadError() : EStreamError("Stream read error") {}
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
    EWriteError() : EStreamError("Stream write error") {}
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// An index outside a list's range.
class EListError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// A picture that cannot be decoded, encoded or assigned.
class EImageError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};
