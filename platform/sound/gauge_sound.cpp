// gauge_sound.cpp: our stand-in for the outside "GaugeSound" library. It plays nothing;
// it keeps a tally that outlives it in the process environment, so a host or a test can
// tell how often TerminateSounds ran and how often the library was mapped in and out:
//   GAUGESOUND_TERMINATE_CALLS, GAUGESOUND_LOADS, GAUGESOUND_UNLOADS (decimal counts).
#include <stdio.h>
#include <stdlib.h>

#ifdef _WIN32
#include <windows.h>
#define SOUND_EXPORT extern "C"  // exported by name through gauge_sound.def
#else
#define SOUND_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

void Count(const char* variable) {
  char text[16] = "0";
#ifdef _WIN32
  GetEnvironmentVariableA(variable, text, sizeof text);
#else
  if (const char* value = getenv(variable)) snprintf(text, sizeof text, "%s", value);
#endif
  snprintf(text, sizeof text, "%ld", strtol(text, nullptr, 10) + 1);
#ifdef _WIN32
  SetEnvironmentVariableA(variable, text);
#else
  setenv(variable, text, 1);
#endif
}

}  // namespace

SOUND_EXPORT void __attribute__((stdcall)) TerminateSounds(void) { Count("GAUGESOUND_TERMINATE_CALLS"); }

#ifdef _WIN32
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Count("GAUGESOUND_LOADS");
  if (reason == DLL_PROCESS_DETACH) Count("GAUGESOUND_UNLOADS");
  return TRUE;
}
#else
__attribute__((constructor)) static void Loaded() { Count("GAUGESOUND_LOADS"); }
__attribute__((destructor)) static void Unloaded() { Count("GAUGESOUND_UNLOADS"); }
#endif
