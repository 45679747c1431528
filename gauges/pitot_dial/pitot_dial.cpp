// Kv_PitotDial: a round airspeed indicator. A needle over a knots scale clamped at 450,
// a Mach window and a knots window on the face. No clickable areas.
#include "frame/gauge.h"
#include "gauges/pitot_dial/bitmaps.h"

const char GaugeName[] = "Kv_PitotDial";

enum PitotDialToken : uint32_t {
  TokenAirspeed = 61,      // knots, a double
  TokenAirspeedMach = 64,  // Mach number times 20480 (65536 / 3.2), a double
};

// Module variables, refreshed at every update in this order.
VariableRecord AirspeedVar = ModuleVariable(TokenAirspeed);
VariableRecord AirspeedMachVar = ModuleVariable(TokenAirspeedMach);
VariableRecord* const ModuleVariables[] = {&AirspeedVar, &AirspeedMachVar, nullptr};

void UpdateStep(void) {}
void FirstDrawSetup(void) {}

static const double NeedleLimit = 450.0;

// Values below 0 pass unchanged; the host holds them at the table's first point.
static double GAUGE_CALL AirspeedNeedle(ElementRecord* element) {
  double knots = As<NeedleElement>(element)->Source.Value;
  return knots > NeedleLimit ? NeedleLimit : knots;
}

static double GAUGE_CALL KnotsText(ElementRecord* element) {
  float knots = static_cast<float>(AirspeedVar.Value);
  if (0.0f > knots) knots = 0.0f;
  return ReadoutText(element, "%04.0f", knots);
}

static double GAUGE_CALL AirspeedMachText(ElementRecord* element) {
  float mach = static_cast<float>(AirspeedMachVar.Value * 3.2 * (1.0 / 65536));
  if (0.0f > mach) mach = 0.0f;
  return ReadoutText(element, "%04.2f", mach);
}

// The needle's calibration: 0 and 60 side by side at the top, then clockwise to 450.
static NonlinearityPoint NeedleTable[] = {
    {81, 21, 0.0, {}},    {82, 21, 60.0, {}},  {131, 50, 100.0, {}},
    {111, 132, 160.0, {}}, {37, 117, 250.0, {}}, {57, 26, 450.0, {}},
};

extern StaticImageElement Face;
extern StringElement MachWindow, KnotsWindow;
extern NeedleElement AirspeedPointer;

static ElementRecord* Above[][2] = {
    {&Face.Head, nullptr},
    {&MachWindow.Head, nullptr},
    {&KnotsWindow.Head, nullptr},
    {&AirspeedPointer.Head, nullptr},
};
static FailureEntry Failures[5][1];

// Element chain, bottom to top.
// clang-format off
//                                                  bitmap        x   y   box w   h  colour       token          callback                 flags
constinit StaticImageElement RootElement = StaticImage(BitmapBezel,  0,  0,                                                                 0x83,   Above[0], Failures[0]);
constinit StaticImageElement Face        = StaticImage(BitmapFace,   0,  0,                                                                 0x4083, Above[1], Failures[1]);
constinit StringElement MachWindow       = String(                  64, 47,     96, 22, ColourWhite, 0,             AirspeedMachText,        0x83,   Above[2], Failures[2]);
constinit StringElement KnotsWindow      = String(                  64, 87,     96, 22, ColourWhite, 0,             KnotsText,               0x83,   Above[3], Failures[3]);
constinit NeedleElement AirspeedPointer  = Needle(BitmapNeedle,     79, 79, /* pivot */ 6, 7, TokenAirspeed, NeedleTable, 6, AirspeedNeedle, 0x4083, nullptr,  Failures[4]);
// clang-format on

MouseArea MouseAreas[] = {
    ParentArea(),
    EndOfParentArea(),
    EndOfListArea(),
};
