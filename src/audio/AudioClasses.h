#pragma once
// The stored classes of the audio layer: music tracks.

void RegisterAudioClasses();
