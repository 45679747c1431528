// layout.h: a gauge's records as read from its module: header, element chain in drawing
// order, mouse areas. Reading refuses a malformed module with a HostError.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/module_image.h"

namespace gaugehost {

struct VariableSlot {
  uintptr_t address = 0;  // the VariableRecord inside the element
  uint32_t token = 0;
};

struct CalibrationEntry {
  int32_t x = 0, y = 0;
  double value = 0;
};

struct ElementInfo {
  uintptr_t address = 0;
  uint32_t kind = 0;
  int32_t bitmap = 0, x = 0, y = 0, pivotX = 0, pivotY = 0;
  uint32_t flagsAtLoad = 0;
  uintptr_t gauge = 0, children = 0, failures = 0;
  size_t failureEntries = 0;       // entries before the end entry
  std::vector<VariableSlot> vars;  // source records; one per axis for sliders and moving images
  uintptr_t callbacks[2] = {0, 0}; // the only one, or x then y
  // needle
  std::vector<CalibrationEntry> table;
  // string
  uint32_t boxW = 0, boxH = 0, colour = 0, weight = 0, charset = 0, textFlags = 0;
  std::string face;
  // slider (scale) and moving image (bounds) per axis
  double scale[2] = {0, 0};
  double first[2] = {0, 0}, second[2] = {0, 0};
  // icon
  uint32_t imageCount = 0, iconWord = 0;
};

struct MouseAreaInfo {
  uintptr_t address = 0;
  uint32_t kind = 0;
  int32_t x = 0, y = 0, w = 0, h = 0, cursor = 0;
  uint32_t helpId = 0, flags = 0, eventId = 0;
  uintptr_t action = 0, args = 0;
  std::string tooltip;  // kind 4
  bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

struct GaugeLayout {
  uintptr_t linkage = 0, importTable = 0, header = 0;
  uint32_t linkageMagic = 0, linkageVersion = 0;
  uintptr_t moduleInit = 0, moduleDeinit = 0;
  std::string name;
  uint32_t headerMagic = 0, headerWord44 = 0;
  uintptr_t rootSlot = 0, root = 0, mouseList = 0, service = 0;
  std::vector<ElementInfo> chain;  // drawing order: root first
  std::vector<MouseAreaInfo> areas;
  std::string tooltip;             // empty when the gauge has none
  uintptr_t tooltipArgs = 0;
};

const char* KindName(uint32_t kind);
const char* AreaKindName(uint32_t kind);

// Reads and checks every record; throws HostError on the first fault found.
GaugeLayout ReadLayout(const ModuleImage& image);

}  // namespace gaugehost
