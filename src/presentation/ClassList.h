#pragma once
// Fills the class registry with every class that can appear inside an object stream. Called once at start-up
// (program, player, command-line tool, data kit, tests) before any stream is read.

void RegisterAllClasses();
// Empties the registry again at program end.
void UnregisterAllClasses();
