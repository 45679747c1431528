// needle_geometry.h: where a needle points for a value, from its calibration table.
// Angles are in radians in screen terms: 0 along +x, growing clockwise (y points down).
// Shared by the host, which places needles, and the art programs, which place the ticks
// the needles must meet.
#pragma once
#include <cmath>
#include <vector>

namespace gauge_geometry {

struct CalibrationPoint {
  double x, y;   // gauge pixel the needle points at
  double value;  // value shown there
};

constexpr double Pi = 3.14159265358979323846;

inline double DirectionAngle(double centreX, double centreY, double x, double y) {
  return std::atan2(y - centreY, x - centreX);
}

// The clockwise sweep from angle a to angle b, in [0, 2 pi).
inline double ClockwiseSweep(double a, double b) {
  double d = std::fmod(b - a, 2 * Pi);
  return d < 0 ? d + 2 * Pi : d;
}

// The needle turns clockwise from one point's direction to the next as the value rises;
// values beyond the table are held at its ends. An empty table points along +x.
inline double NeedleAngle(const std::vector<CalibrationPoint>& table, double centreX, double centreY,
                          double value) {
  if (table.empty()) return 0.0;
  auto angleOf = [&](const CalibrationPoint& p) { return DirectionAngle(centreX, centreY, p.x, p.y); };
  if (table.size() == 1 || !(value > table.front().value)) return angleOf(table.front());
  for (size_t i = 0; i + 1 < table.size(); ++i) {
    const CalibrationPoint& a = table[i];
    const CalibrationPoint& b = table[i + 1];
    if (value <= b.value) {
      double span = b.value - a.value;
      double t = span > 0 ? (value - a.value) / span : 1.0;
      return angleOf(a) + ClockwiseSweep(angleOf(a), angleOf(b)) * t;
    }
  }
  return angleOf(table.back());
}

}  // namespace gauge_geometry
