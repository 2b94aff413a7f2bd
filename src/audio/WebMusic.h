#pragma once
// How the disc writer's browser album gets at the project's music: the audio file of an evMusic with its format,
// and its MP3 copy.

#include "model/WebMusicAccess.h"

WebMusicAccess MakeWebMusicAccess();
