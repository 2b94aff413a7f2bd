#pragma once
// Fills the class registry with every class that can appear inside an object stream. Called once at start-up
// (program, player, command-line tool, data kit, tests) before any stream is read.

void RegisterAllClasses();
// Empties the registry again at program end.
void UnregisterAllClasses();

// The groups RegisterAllClasses calls, one per source folder that holds stored classes.
void RegisterElementClasses();      // pictures, fonts, text fields (src/model/ElementClasses.cpp)
void RegisterAlbumClasses();        // user pictures, designs, categories, branding (src/model/AlbumClasses.cpp)
void RegisterPresentationClasses(); // presentation pages, elements, actions (src/presentation/PresentationClasses.cpp)
void RegisterAudioClasses();        // music tracks (src/audio/AudioClasses.cpp)
