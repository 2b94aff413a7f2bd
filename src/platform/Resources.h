#pragma once
// The resources carried inside the program file: the player program ("PROJECTOR"), the Windows starter
// ("WINSTARTER"), the autorun description ("AUTORUN"), the disc icon ("AUTORUNICON") and the audio library
// ("BASS_DLL"). Names are case-insensitive ("bass_dll" finds "BASS_DLL").

#include <QByteArray>

#include <string>
#include <string_view>

bool HasResource(std::string_view name);

// The resource's bytes; false (and data left empty) when the program carries no resource of that name.
bool ReadResource(std::string_view name, QByteArray& data);

// Writes the resource to a new file at path, replacing any file there. EFOpenError when the program carries no
// such resource, EFCreateError when the file cannot be created, EWriteError when it cannot be written whole; a
// file that could not be written whole is removed again.
void SaveResourceToFile(std::string_view name, const std::string& path);

// SaveResourceToFile, then the file gets execute permission wherever it has read permission: the player program
// written into a disc folder must run from there. EFCreateError when the permission cannot be set.
void SaveExecutableResourceToFile(std::string_view name, const std::string& path);
