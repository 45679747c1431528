// The exported records and the gauge header every module carries.
#include "frame/gauge.h"
#include "frame/service.h"

#define GAUGE_EXPORT __attribute__((visibility("default")))

static void GAUGE_CALL ModuleInit(void) {}
static void GAUGE_CALL ModuleDeinit(void) {}

ElementRecord* RootSlot = &RootElement.Head;

GaugeHeader ThisGauge = {
    GaugeHeaderMagic, GaugeName, &RootSlot, {}, GaugeHeaderWord44, {}, MouseAreas, GaugeService, {},
};

extern "C" {
GAUGE_EXPORT LinkageRecord Linkage = {
    LinkageMagic, ModuleInit, ModuleDeinit, 0, 0, LinkageVersion, {&ThisGauge, nullptr},
};
GAUGE_EXPORT ImportTableRecord ImportTable = {{ImportHostTableId, nullptr}, {0, nullptr}};
}

const uint32_t NoTooltipArgs[1] = {0};

#ifdef _WIN32
// The loader's entry: the module needs no set-up of its own.
extern "C" int GAUGE_CALL DllMain(void*, uint32_t, void*) { return 1; }
#endif
