// elements.h: the six element kinds of a gauge's picture, their calibration table and
// failure list, and constexpr builders so a gauge can write its chain one row per element.
#pragma once
#include "frame/linkage.h"
#include "frame/variable.h"

typedef double(GAUGE_CALL* ElementCallback)(ElementRecord* element);

enum ElementKind : uint32_t {
  KindStaticImage = 0,
  KindNeedle = 1,
  KindString = 2,
  KindSlider = 3,
  KindIcon = 4,
  KindMovingImage = 5,
};

enum : uint32_t {
  ImageFlagsBase = 0x83,            // on every element
  ImageFlagDialLayer = 0x4000,      // face and needle of the round dials, top cover of the deck
  ImageFlagUpdated = 0x4,           // set by callbacks each time they run
  ImageFlagHidden = 0x40000000,     // set by a callback to keep its element from being drawn
};

// One end entry is all any list of this system holds.
struct GAUGE_PACKED FailureEntry {
  uint32_t Words[3];  // 0
};
static_assert(sizeof(FailureEntry) == 12);

// The common head of every element.
struct GAUGE_PACKED ElementRecord {
  uint32_t Kind;              // gauge, at load: an ElementKind
  int32_t BitmapId;           // gauge, at load: resource number, -1 for strings
  int32_t PosX;               // gauge, at load: gauge pixels from the left; a needle's pivot point
  int32_t PosY;               // gauge, at load: gauge pixels from the top
  uint8_t HostOwned16[8];     // host, at will
  int32_t PivotX;             // gauge, at load: needles only, needle-bitmap pixel placed on PosX
  int32_t PivotY;             // gauge, at load: as PivotX
  GaugeHeader* Gauge;         // gauge, at load: the module's header
  uint8_t HostOwned36[4];     // host, at will
  ElementRecord** Children;   // gauge, at load: 0-terminated list drawn above; 0 on the top element
  FailureEntry* Failures;     // gauge, at load: the element's own failure list
  uint32_t ImageFlags;        // gauge at load; callbacks set 0x4 and set/clear 0x40000000
  uint8_t HostOwned52[8];     // host, at will
};
static_assert(sizeof(ElementRecord) == 60);
static_assert(__builtin_offsetof(ElementRecord, BitmapId) == 4);
static_assert(__builtin_offsetof(ElementRecord, PosY) == 12);
static_assert(__builtin_offsetof(ElementRecord, PivotX) == 24);
static_assert(__builtin_offsetof(ElementRecord, Gauge) == 32);
static_assert(__builtin_offsetof(ElementRecord, Children) == 40);
static_assert(__builtin_offsetof(ElementRecord, Failures) == 44);
static_assert(__builtin_offsetof(ElementRecord, ImageFlags) == 48);

struct GAUGE_PACKED StaticImageElement {
  ElementRecord Head;
  uint8_t Zero60[36];         // 0
};
static_assert(sizeof(StaticImageElement) == 96);

// One calibration point: the needle points at (PointX, PointY) when it shows Value.
struct GAUGE_PACKED NonlinearityPoint {
  int32_t PointX;             // gauge, at load
  int32_t PointY;             // gauge, at load
  double Value;               // gauge, at load: rises from entry to entry
  uint8_t Zero16[8];          // 0
};
static_assert(sizeof(NonlinearityPoint) == 24);
static_assert(__builtin_offsetof(NonlinearityPoint, Value) == 8);

struct GAUGE_PACKED NeedleElement {
  ElementRecord Head;
  VariableRecord Source;      // gauge sets the token; host refreshes before the callback
  uint8_t Zero88[24];         // 0
  NonlinearityPoint* Table;   // gauge, at load: calibration table
  uint32_t PointCount;        // gauge, at load: entries in Table
  uint8_t HostOwned120[104];  // host, at will
  ElementCallback Callback;   // gauge, at load: returns the value to show
  uint8_t HostOwned228[8];    // host, at will
};
static_assert(sizeof(NeedleElement) == 236);
static_assert(__builtin_offsetof(NeedleElement, Source) == 60);
static_assert(__builtin_offsetof(NeedleElement, Table) == 112);
static_assert(__builtin_offsetof(NeedleElement, PointCount) == 116);
static_assert(__builtin_offsetof(NeedleElement, Callback) == 224);

// Windows colour values, 0x00BBGGRR.
enum TextColour : uint32_t {
  ColourWhite = 0x00FFFFFF,
  ColourGrey = 0x009F9F9F,
  ColourRed = 0x000000FF,
  ColourYellow = 0x0004E9F4,
};

struct GAUGE_PACKED StringElement {
  ElementRecord Head;
  VariableRecord Source;      // gauge sets the token (0 where the callback reads module variables)
  VariableRecord Source2;     // token 0 in this system
  VariableRecord Source3;     // token 0 in this system
  uint8_t HostOwned144[40];   // host, at will
  char* TextBuffer;           // host, before the callback: the buffer the callback writes
  uint8_t HostOwned188[4];    // host, at will
  uint32_t BoxWidth;          // gauge, at load
  uint32_t BoxHeight;         // gauge, at load
  uint8_t HostOwned200[8];    // host, at will
  uint32_t TextColour;        // gauge, at load: 0x00BBGGRR
  uint8_t HostOwned212[36];   // host, at will
  char FontFace[32];          // gauge, at load: NUL-padded face name
  uint32_t FontWeight;        // gauge, at load: 400
  uint32_t CharacterSet;      // gauge, at load: 1
  uint8_t HostOwned288[4];    // host, at will
  uint32_t TextFlags;         // gauge, at load: 0x4240
  uint8_t HostOwned296[16];   // host, at will
  ElementCallback Callback;   // gauge, at load: writes the text, returns 0.0
  uint8_t HostOwned316[8];    // host, at will
};
static_assert(sizeof(StringElement) == 324);
static_assert(__builtin_offsetof(StringElement, Source2) == 88);
static_assert(__builtin_offsetof(StringElement, Source3) == 116);
static_assert(__builtin_offsetof(StringElement, TextBuffer) == 184);
static_assert(__builtin_offsetof(StringElement, BoxWidth) == 192);
static_assert(__builtin_offsetof(StringElement, BoxHeight) == 196);
static_assert(__builtin_offsetof(StringElement, TextColour) == 208);
static_assert(__builtin_offsetof(StringElement, FontFace) == 248);
static_assert(__builtin_offsetof(StringElement, FontWeight) == 280);
static_assert(__builtin_offsetof(StringElement, CharacterSet) == 284);
static_assert(__builtin_offsetof(StringElement, TextFlags) == 292);
static_assert(__builtin_offsetof(StringElement, Callback) == 312);

struct GAUGE_PACKED SliderElement {
  ElementRecord Head;
  VariableRecord SourceX;     // gauge sets the token; host refreshes
  uint8_t Zero88[4];          // 0
  double ScaleX;              // gauge, at load: pixels per unit along x
  uint8_t Zero100[4];         // 0
  VariableRecord SourceY;     // gauge sets the token; host refreshes
  uint8_t Zero132[4];         // 0
  double ScaleY;              // gauge, at load: pixels per unit along y
  uint8_t HostOwned144[24];   // host, at will
  ElementCallback CallbackX;  // gauge, at load
  ElementCallback CallbackY;  // gauge, at load
  uint8_t HostOwned176[16];   // host, at will
};
static_assert(sizeof(SliderElement) == 192);
static_assert(__builtin_offsetof(SliderElement, ScaleX) == 92);
static_assert(__builtin_offsetof(SliderElement, SourceY) == 104);
static_assert(__builtin_offsetof(SliderElement, ScaleY) == 136);
static_assert(__builtin_offsetof(SliderElement, CallbackX) == 168);
static_assert(__builtin_offsetof(SliderElement, CallbackY) == 172);

struct GAUGE_PACKED IconElement {
  ElementRecord Head;
  VariableRecord Source;      // gauge sets the token; host refreshes
  uint8_t Zero88[4];          // 0
  uint32_t Word92;            // gauge, at load: 3
  uint8_t HostOwned96[16];    // host, at will
  uint32_t ImageCount;        // gauge, at load: 2
  uint8_t HostOwned116[16];   // host, at will
  ElementCallback Callback;   // gauge, at load: returns the image index
  uint8_t HostOwned136[4];    // host, at will
};
static_assert(sizeof(IconElement) == 140);
static_assert(__builtin_offsetof(IconElement, Word92) == 92);
static_assert(__builtin_offsetof(IconElement, ImageCount) == 112);
static_assert(__builtin_offsetof(IconElement, Callback) == 132);

struct GAUGE_PACKED MovingImageElement {
  ElementRecord Head;
  VariableRecord SourceX;     // gauge sets the token; host refreshes
  uint8_t Zero88[4];          // 0
  double FirstX;              // gauge, at load: value that shows the picture's left
  double SecondX;             // gauge, at load
  uint8_t Zero108[4];         // 0
  VariableRecord SourceY;     // gauge sets the token; host refreshes
  uint8_t Zero140[4];         // 0
  double FirstY;              // gauge, at load: value that shows the picture's top half
  double SecondY;             // gauge, at load: value that shows its bottom half
  uint8_t HostOwned160[84];   // host, at will
  ElementCallback CallbackX;  // gauge, at load
  ElementCallback CallbackY;  // gauge, at load
  uint8_t HostOwned252[16];   // host, at will
};
static_assert(sizeof(MovingImageElement) == 268);
static_assert(__builtin_offsetof(MovingImageElement, FirstX) == 92);
static_assert(__builtin_offsetof(MovingImageElement, SecondX) == 100);
static_assert(__builtin_offsetof(MovingImageElement, SourceY) == 112);
static_assert(__builtin_offsetof(MovingImageElement, FirstY) == 144);
static_assert(__builtin_offsetof(MovingImageElement, SecondY) == 152);
static_assert(__builtin_offsetof(MovingImageElement, CallbackX) == 244);
static_assert(__builtin_offsetof(MovingImageElement, CallbackY) == 248);

// Builders. `above` is the element's 0-terminated Children array (nullptr on the top
// element); `failures` is the element's own FailureList.

constexpr ElementRecord ElementHeadOf(ElementKind kind, int32_t bitmap, int32_t x, int32_t y,
                                      uint32_t flags, ElementRecord** above, FailureEntry* failures) {
  ElementRecord head{};
  head.Kind = kind;
  head.BitmapId = bitmap;
  head.PosX = x;
  head.PosY = y;
  head.Gauge = &ThisGauge;
  head.Children = above;
  head.Failures = failures;
  head.ImageFlags = flags;
  return head;
}

constexpr StaticImageElement StaticImage(int32_t bitmap, int32_t x, int32_t y, uint32_t flags,
                                         ElementRecord** above, FailureEntry* failures) {
  StaticImageElement e{};
  e.Head = ElementHeadOf(KindStaticImage, bitmap, x, y, flags, above, failures);
  return e;
}

constexpr NeedleElement Needle(int32_t bitmap, int32_t x, int32_t y, int32_t pivotX, int32_t pivotY,
                               uint32_t token, NonlinearityPoint* table, uint32_t points,
                               ElementCallback callback, uint32_t flags, ElementRecord** above,
                               FailureEntry* failures) {
  NeedleElement e{};
  e.Head = ElementHeadOf(KindNeedle, bitmap, x, y, flags, above, failures);
  e.Head.PivotX = pivotX;
  e.Head.PivotY = pivotY;
  e.Source.VariableToken = token;
  e.Table = table;
  e.PointCount = points;
  e.Callback = callback;
  return e;
}

// Every string of this system shows in the same face, weight, character set and flags.
constexpr StringElement String(int32_t x, int32_t y, uint32_t boxWidth, uint32_t boxHeight,
                               uint32_t colour, uint32_t token, ElementCallback callback,
                               uint32_t flags, ElementRecord** above, FailureEntry* failures) {
  StringElement e{};
  e.Head = ElementHeadOf(KindString, -1, x, y, flags, above, failures);
  e.Source.VariableToken = token;
  e.BoxWidth = boxWidth;
  e.BoxHeight = boxHeight;
  e.TextColour = colour;
  const char face[] = "Quartz";
  for (unsigned i = 0; i < sizeof face; ++i) e.FontFace[i] = face[i];
  e.FontWeight = 400;
  e.CharacterSet = 1;
  e.TextFlags = 0x4240;
  e.Callback = callback;
  return e;
}

constexpr SliderElement Slider(int32_t bitmap, int32_t x, int32_t y, uint32_t tokenX, double scaleX,
                               ElementCallback callbackX, uint32_t tokenY, double scaleY,
                               ElementCallback callbackY, uint32_t flags, ElementRecord** above,
                               FailureEntry* failures) {
  SliderElement e{};
  e.Head = ElementHeadOf(KindSlider, bitmap, x, y, flags, above, failures);
  e.SourceX.VariableToken = tokenX;
  e.ScaleX = scaleX;
  e.CallbackX = callbackX;
  e.SourceY.VariableToken = tokenY;
  e.ScaleY = scaleY;
  e.CallbackY = callbackY;
  return e;
}

constexpr IconElement Icon(int32_t bitmap, int32_t x, int32_t y, uint32_t token, ElementCallback callback,
                           uint32_t flags, ElementRecord** above, FailureEntry* failures) {
  IconElement e{};
  e.Head = ElementHeadOf(KindIcon, bitmap, x, y, flags, above, failures);
  e.Source.VariableToken = token;
  e.Word92 = 3;
  e.ImageCount = 2;
  e.Callback = callback;
  return e;
}

// The x axis never moves in this system: both its bounds are 0.
constexpr MovingImageElement MovingImage(int32_t bitmap, int32_t x, int32_t y, uint32_t tokenX,
                                         ElementCallback callbackX, uint32_t tokenY, double firstY,
                                         double secondY, ElementCallback callbackY, uint32_t flags,
                                         ElementRecord** above, FailureEntry* failures) {
  MovingImageElement e{};
  e.Head = ElementHeadOf(KindMovingImage, bitmap, x, y, flags, above, failures);
  e.SourceX.VariableToken = tokenX;
  e.CallbackX = callbackX;
  e.SourceY.VariableToken = tokenY;
  e.FirstY = firstY;
  e.SecondY = secondY;
  e.CallbackY = callbackY;
  return e;
}

// Callbacks receive the head; each kind begins with it.
template <typename Kind>
static inline Kind* As(ElementRecord* element) {
  return reinterpret_cast<Kind*>(element);
}
