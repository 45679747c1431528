// bitmaps.h: the backup altimeter's bitmap resources, by number.
#pragma once

enum BaroDialBitmap : int {
  BitmapBezel = 0x100,   // 158 x 156: dark rim, three screws, BARO knob at the lower left
  BitmapFace = 0x1300,   // 158 x 156: figures 0 to 9, altitude window, MB and IN HG windows
  BitmapNeedle = 0x1200, // 62 x 11: pointing right, hub around (5, 5)
};
