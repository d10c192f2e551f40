// Where the program takes libraries from at run time. A library that is
// looked for by name alone is searched in the program's own folder first,
// and a program is often started from a folder full of downloaded files: a
// file there named like a system library would run its code in the game.
// So system libraries come from the system folder alone, and a card library
// is only ever mapped as a picture book, never run.
#pragma once

#include <windows.h>

#include <string>

// `name` in the program's own folder and in the system folder, as full
// paths; empty when the folder cannot be had or the path is too long.
std::string ProgramFolderFile(const char* name);
std::string SystemFolderFile(const char* name);

// Makes the system folder the only place where this process's later loads
// by name look (libraries that the manifest's side-by-side assemblies
// provide still come from the system's assembly store), so that libraries
// which system libraries load on the program's behalf come from there too.
// Answers false where the system cannot restrict the search (Vista, and 7
// without its update KB2533623).
bool RestrictLibrarySearchToSystemFolder();

// Loads the system library `name` (a bare file name) from the system folder
// alone, or from the side-by-side store where the manifest names its
// assembly, whatever the process's search order. Null when it is missing.
HMODULE LoadSystemLibrary(const char* name);
// The same for systems without the search flags; public for the tests.
HMODULE LoadSystemLibraryByPath(const char* name);
