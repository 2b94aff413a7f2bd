#include "platform/SharedLibrary.h"

#include <QCoreApplication>
#include <QFile>

#include <dlfcn.h>

bool SharedLibrary::Load(const std::string& file)
{
    Unload();
    m_module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_module) {
        const char* reason = dlerror();
        m_error = reason ? reason : "cannot load " + file;
        return false;
    }
    m_error.clear();
    return true;
}

void* SharedLibrary::Symbol(const char* name) const { return m_module ? dlsym(m_module, name) : nullptr; }

void SharedLibrary::Unload()
{
    if (m_module)
        dlclose(m_module);
    m_module = nullptr;
}

std::string FileBesideProgram(const std::string& fileName)
{
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/" + fileName;
}
