// The service callback: keeps "GaugeSound" bound, refreshes the module variables at each
// update, runs the gauge's hooks, and shuts the gauge's sounds down when it is removed.
#include "frame/service.h"

#include "frame/gauge.h"
#include "platform/library_loader.h"

uint32_t FirstDrawFlag = 0;
void* SoundLibraryHandle = nullptr;
void* TerminateSoundsEntry = nullptr;

static const char SoundLibraryName[] = "GaugeSound";

typedef void(GAUGE_CALL* TerminateSoundsFn)(void);

static void FindOrLoadSoundLibrary() {
  SoundLibraryHandle = reinterpret_cast<void*>(GetModuleHandleA(SoundLibraryName));
  if (!SoundLibraryHandle) SoundLibraryHandle = reinterpret_cast<void*>(LoadLibraryA(SoundLibraryName));
}

static void RemoveGauge() {
  FindOrLoadSoundLibrary();
  HMODULE library = static_cast<HMODULE>(SoundLibraryHandle);
  TerminateSoundsEntry = library ? reinterpret_cast<void*>(GetProcAddress(library, "TerminateSounds")) : nullptr;
  if (TerminateSoundsEntry) reinterpret_cast<TerminateSoundsFn>(TerminateSoundsEntry)();
  // The handle stays stored: a later set-up finds it non-zero and does not load again.
  if (library) FreeLibrary(library);
}

void GAUGE_CALL GaugeService(GaugeHeader*, uint32_t serviceCode, uint32_t) {
  switch (serviceCode) {
    case ServiceSetUp:
      if (!SoundLibraryHandle) SoundLibraryHandle = reinterpret_cast<void*>(LoadLibraryA(SoundLibraryName));
      break;
    case ServiceUpdate:
      FindOrLoadSoundLibrary();
      for (VariableRecord* const* v = ModuleVariables; *v; ++v) RefreshVariable(*v);
      UpdateStep();
      break;
    case ServicePreDraw:
      if (!FirstDrawFlag) {
        FirstDrawFlag = 1;
        FirstDrawSetup();
      }
      break;
    case ServiceRemove:
      RemoveGauge();
      break;
    default:
      break;
  }
}
