// library_loader.h: the four library-loader operations the frame uses to bind the sound
// library. On Windows they are the system's own; elsewhere ours, with the same meaning.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
struct LoadedLibrary;
typedef LoadedLibrary* HMODULE;
typedef void (*FARPROC)(void);

// Find an already loaded library by name; its use count is left unchanged. 0 if not loaded.
HMODULE GetModuleHandleA(const char* name);
// Load by name, counting one use. A name without an extension gets ".so"; a name without a
// directory is searched in the program's directory, the working directory, then PATH.
HMODULE LoadLibraryA(const char* name);
// An entry of a loaded library by name; 0 when absent.
FARPROC GetProcAddress(HMODULE library, const char* name);
// Give back one use; the library is unloaded with its last use. Non-zero on success.
int FreeLibrary(HMODULE library);
#endif
