// Kv_BaroDial: a round backup altimeter. A needle turning once per 1000 feet, the altitude
// in feet, the barometric setting in millibars and inches of mercury, and a BARO knob.
#include "frame/gauge.h"
#include "gauges/baro_dial/bitmaps.h"

const char GaugeName[] = "Kv_BaroDial";

enum BaroDialToken : uint32_t {
  TokenAltitude = 74,       // feet, a double
  TokenBaroMillibars = 75,  // millibars, a double
  TokenBaroInches = 76,     // inches of mercury, a double
};

enum : uint32_t { KeyBaroKnob = 0x10030 };

// Every element reads its own record, which the host keeps current.
VariableRecord* const ModuleVariables[] = {nullptr};

void UpdateStep(void) {}
void FirstDrawSetup(void) {}

// The altitude unchanged: the table covers one turn, 0 to 999 feet.
static double GAUGE_CALL AltimeterNeedle(ElementRecord* element) { return As<NeedleElement>(element)->Source.Value; }

// The three windows share one body; none of them clamps.
static double SettingText(ElementRecord* element, const char* format) {
  return ReadoutText(element, format, static_cast<float>(As<StringElement>(element)->Source.Value));
}
static double GAUGE_CALL AltitudeText(ElementRecord* element) { return SettingText(element, "%05.0f"); }
static double GAUGE_CALL MillibarText(ElementRecord* element) { return SettingText(element, "%04.0f"); }
static double GAUGE_CALL InchesHgText(ElementRecord* element) { return SettingText(element, "%05.2f"); }

static uint32_t GAUGE_CALL BaroKnobClick(uint32_t, uint32_t) {
  TriggerKeyEvent(KeyBaroKnob, 0);
  return 0;
}

// One clockwise turn: the second point lies one pixel counter-clockwise of the first.
static NonlinearityPoint NeedleTable[] = {
    {83, 22, 0.0, {}},
    {82, 22, 999.0, {}},
};

extern StaticImageElement Face;
extern StringElement AltitudeWindow, MillibarWindow, InchesHgWindow;
extern NeedleElement AltitudePointer;

static ElementRecord* Above[][2] = {
    {&Face.Head, nullptr},
    {&AltitudeWindow.Head, nullptr},
    {&MillibarWindow.Head, nullptr},
    {&InchesHgWindow.Head, nullptr},
    {&AltitudePointer.Head, nullptr},
};
static FailureEntry Failures[6][1];

// Element chain, bottom to top.
// clang-format off
//                                                  bitmap        x   y   box w   h  colour       token               callback               flags
constinit StaticImageElement RootElement  = StaticImage(BitmapBezel, 0,  0,                                                                    0x83,   Above[0], Failures[0]);
constinit StaticImageElement Face         = StaticImage(BitmapFace,  0,  0,                                                                    0x4083, Above[1], Failures[1]);
constinit StringElement AltitudeWindow    = String(                 53, 45,    107, 32, ColourWhite, TokenAltitude,      AltitudeText,          0x83,   Above[2], Failures[2]);
constinit StringElement MillibarWindow    = String(                 42, 93,    118, 22, ColourWhite, TokenBaroMillibars, MillibarText,          0x83,   Above[3], Failures[3]);
constinit StringElement InchesHgWindow    = String(                 87, 94,     73, 20, ColourWhite, TokenBaroInches,    InchesHgText,          0x83,   Above[4], Failures[4]);
constinit NeedleElement AltitudePointer   = Needle(BitmapNeedle,    81, 77, /* pivot */ 5, 5, TokenAltitude, NeedleTable, 2, AltimeterNeedle, 0x4083, nullptr,  Failures[5]);
// clang-format on

// clang-format off
MouseArea MouseAreas[] = {
    ParentArea(),
    TooltipArea("Backup-Altimeter"),
    //        x    y    w   h   cursor        flags       callback
    ChildArea(13, 122, 27, 26, CursorButton, MouseClick, BaroKnobClick),  // the BARO knob
    EndOfParentArea(),
    EndOfListArea(),
};
// clang-format on
