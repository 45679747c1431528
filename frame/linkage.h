// linkage.h: the two exported records, the gauge header and the module globals beside them.
#pragma once
#include "frame/call.h"

struct GaugeHeader;
struct MouseArea;
struct ElementRecord;

typedef void(GAUGE_CALL* ModuleRoutine)(void);
typedef void(GAUGE_CALL* GaugeServiceCallback)(GaugeHeader* gauge, uint32_t serviceCode, uint32_t unused);

// Exported as "Linkage": the host's way into the module.
struct GAUGE_PACKED LinkageRecord {
  uint32_t Magic;             // frame, at load: 0x13
  ModuleRoutine ModuleInit;   // frame, at load: called by the host after loading
  ModuleRoutine ModuleDeinit; // frame, at load: called by the host before unloading
  uint32_t Reserved12;        // 0
  uint32_t Reserved16;        // 0
  uint32_t Version;           // frame, at load: 0x800
  GaugeHeader* Gauges[2];     // frame, at load: the one gauge, then 0 to end the list
};
static_assert(sizeof(LinkageRecord) == 32);
static_assert(__builtin_offsetof(LinkageRecord, ModuleInit) == 4);
static_assert(__builtin_offsetof(LinkageRecord, Version) == 20);
static_assert(__builtin_offsetof(LinkageRecord, Gauges) == 24);

struct GAUGE_PACKED ImportEntry {
  uint32_t Id;             // frame, at load: 0x0F; 0 in the entry that ends the table
  void* FunctionTable;     // host, right after loading: address of its function table
};
// Exported as "ImportTable".
struct GAUGE_PACKED ImportTableRecord {
  ImportEntry Host;        // the host function table
  ImportEntry End;         // all zero
};
static_assert(sizeof(ImportTableRecord) == 16);
static_assert(__builtin_offsetof(ImportTableRecord, Host.FunctionTable) == 4);

enum : uint32_t {
  LinkageMagic = 0x13,
  LinkageVersion = 0x800,
  ImportHostTableId = 0x0F,
  GaugeHeaderMagic = 800,
  GaugeHeaderWord44 = 100,
};

struct GAUGE_PACKED GaugeHeader {
  uint32_t Magic;                  // frame, at load: 800
  const char* Name;                // frame, at load: the gauge name, equal to the file name
  ElementRecord** RootSlot;          // frame, at load: one slot holding the root element
  uint8_t Reserved12[32];          // 0
  uint32_t Word44;                 // frame, at load: 100
  uint8_t Reserved48[32];          // 0
  MouseArea* MouseAreas;           // frame, at load: the gauge's mouse area list
  GaugeServiceCallback Service;    // frame, at load: the frame's service callback
  uint8_t Reserved88[108];         // 0
};
static_assert(sizeof(GaugeHeader) == 196);
static_assert(__builtin_offsetof(GaugeHeader, Name) == 4);
static_assert(__builtin_offsetof(GaugeHeader, RootSlot) == 8);
static_assert(__builtin_offsetof(GaugeHeader, Word44) == 44);
static_assert(__builtin_offsetof(GaugeHeader, MouseAreas) == 80);
static_assert(__builtin_offsetof(GaugeHeader, Service) == 84);

extern "C" {
extern LinkageRecord Linkage;
extern ImportTableRecord ImportTable;
}
// The module's one gauge header; elements point back at it.
extern GaugeHeader ThisGauge;
// The single slot the header leads to; holds the root element's address.
extern ElementRecord* RootSlot;
