// mouse.h: where the pilot can click on a gauge, and its tooltip.
#pragma once
#include "frame/call.h"

typedef uint32_t(GAUGE_CALL* MouseCallback)(uint32_t unused1, uint32_t unused2);

enum AreaKind : uint32_t {
  AreaEndOfList = 0,
  AreaParent = 1,
  AreaChild = 2,
  AreaEndOfParent = 3,
  AreaTooltip = 4,
};

enum : int32_t {
  CursorNone = -1,   // parents, tooltip and end entries
  CursorUp = 1,      // upper half of a knob or digit that steps up and down
  CursorDown = 2,    // its lower half
  CursorButton = 5,  // push buttons
};

enum : uint32_t {
  MouseClick = 0x20000000,        // every clickable child
  MouseClickRepeat = 0x20200000,  // some tuning areas
};

struct GAUGE_PACKED MouseArea {
  uint32_t Kind;             // gauge, at load: an AreaKind
  int32_t AreaX;             // gauge, at load: left edge in gauge pixels
  int32_t AreaY;             // gauge, at load: top edge
  int32_t AreaWidth;         // gauge, at load
  int32_t AreaHeight;        // gauge, at load
  int32_t Cursor;            // gauge, at load: cursor shape over the area
  uint32_t HelpId;           // 0
  uint32_t MouseFlags;       // gauge, at load: the mouse actions the area answers
  uint32_t EventId;          // 0: key events are sent by the callbacks
  union {
    MouseCallback Callback;  // kind 2: called on a click
    const char* Tooltip;     // kind 4: the tooltip text
    const void* None;        // other kinds: 0
  } Action;
  const uint32_t* TooltipArgs;  // kind 4: argument list, one zero word; 0 on other kinds
};
static_assert(sizeof(MouseArea) == 44);
static_assert(__builtin_offsetof(MouseArea, Cursor) == 20);
static_assert(__builtin_offsetof(MouseArea, MouseFlags) == 28);
static_assert(__builtin_offsetof(MouseArea, EventId) == 32);
static_assert(__builtin_offsetof(MouseArea, Action) == 36);
static_assert(__builtin_offsetof(MouseArea, TooltipArgs) == 40);

// The tooltip's argument list: no arguments.
extern const uint32_t NoTooltipArgs[1];

constexpr MouseArea MarkerArea(AreaKind kind) {
  MouseArea a{};
  a.Kind = kind;
  a.Cursor = CursorNone;
  return a;
}
constexpr MouseArea ParentArea() { return MarkerArea(AreaParent); }
constexpr MouseArea EndOfParentArea() { return MarkerArea(AreaEndOfParent); }
constexpr MouseArea EndOfListArea() { return MarkerArea(AreaEndOfList); }

constexpr MouseArea TooltipArea(const char* text) {
  MouseArea a = MarkerArea(AreaTooltip);
  a.Action.Tooltip = text;
  a.TooltipArgs = NoTooltipArgs;
  return a;
}

constexpr MouseArea ChildArea(int32_t x, int32_t y, int32_t width, int32_t height, int32_t cursor,
                              uint32_t flags, MouseCallback callback) {
  MouseArea a{};
  a.Kind = AreaChild;
  a.AreaX = x;
  a.AreaY = y;
  a.AreaWidth = width;
  a.AreaHeight = height;
  a.Cursor = cursor;
  a.MouseFlags = flags;
  a.Action.Callback = callback;
  return a;
}
