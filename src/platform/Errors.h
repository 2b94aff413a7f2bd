#pragma once
// Every failure the program raises derives from EVelloraError, so the edges (screen handlers, the command-line
// tool, renderings that report a Boolean) can catch them in one place.

#include <stdexcept>
#include <string>

class EVelloraError : public std::runtime_error {
public:
    explicit EVelloraError(const std::string& message) : std::runtime_error(message) {}
};

// Stream failures. A failure of the system on a file also carries the file's name and the system's error number
// (0 when there is none), so that the user can be told which file and why in words of their own.
class EStreamError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
    EStreamError(const std::string& message, std::string file, int systemError)
        : EVelloraError(message), m_file(std::move(file)), m_systemError(systemError)
    {}

    const std::string& GetFile() const { return m_file; }
    int GetSystemError() const { return m_systemError; }

private:
    std::string m_file;
    int m_systemError = 0;
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
