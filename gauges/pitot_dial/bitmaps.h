// bitmaps.h: the airspeed indicator's bitmap resources, by number.
#pragma once

enum PitotDialBitmap : int {
  BitmapBezel = 0x100,   // 158 x 158: round dark rim, four screws, knob at the lower left
  BitmapFace = 0x1100,   // 158 x 158: knots scale, MACH and KTS labels
  BitmapNeedle = 0x1200, // 63 x 11: pointing right, hub around (6, 7)
};
