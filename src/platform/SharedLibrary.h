#pragma once
// Libraries loaded at run time by file name and bound by their exported names (the original platform's
// LoadLibrary, GetProcAddress and FreeLibrary).

#include <string>

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary() { Unload(); }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the file (binding every symbol at once); false, with the system's reason in GetError, when it is
    // missing or no library. A library loaded before is unloaded first.
    bool Load(const std::string& file);
    // The address of an exported name; nullptr when the library is not loaded or does not export it.
    void* Symbol(const char* name) const;
    void Unload();
    bool IsLoaded() const { return m_module != nullptr; }
    const std::string& GetError() const { return m_error; }

private:
    void* m_module = nullptr;
    std::string m_error;
};

// The file name in the folder of the running program.
std::string FileBesideProgram(const std::string& fileName);
