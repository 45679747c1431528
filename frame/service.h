// service.h: the service callback the frame gives every gauge, and its module globals.
#pragma once
#include "frame/linkage.h"

enum ServiceCode : uint32_t {
  ServiceSetUp = 4,     // the gauge is set up
  ServiceUpdate = 6,    // a simulation update
  ServicePreDraw = 10,  // before drawing; only the first one in the module's life acts
  ServiceRemove = 12,   // the gauge is removed
};

void GAUGE_CALL GaugeService(GaugeHeader* gauge, uint32_t serviceCode, uint32_t unused);

// "GaugeSound" as last found or loaded, 0 when neither succeeded; never cleared.
extern void* SoundLibraryHandle;
// TerminateSounds as last resolved at removal, or 0.
extern void* TerminateSoundsEntry;
