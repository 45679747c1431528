// Reading a gauge's records by their byte offsets, checking each pointer before use.
#include "host/layout.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "host/records.h"

namespace gaugehost {

namespace {

constexpr size_t MaxElements = 4096;   // far beyond any gauge; a longer chain is a loop
constexpr size_t MaxAreas = 4096;
constexpr size_t MaxCalibrationPoints = 1024;
constexpr size_t MaxText = 256;

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", v);
  return text;
}

[[noreturn]] void Refuse(const ModuleImage& image, const std::string& why) { throw HostError(image.path() + ": " + why); }

void RequireCode(const ModuleImage& image, uintptr_t address, const std::string& what) {
  if (address && !image.executable(address)) Refuse(image, what + " " + Hex(address) + " is not code of the module");
}

ElementInfo ReadElement(const ModuleImage& m, uintptr_t a, size_t index) {
  const std::string at = "element " + std::to_string(index + 1);
  ElementInfo e;
  e.address = a;
  e.kind = m.u32(a + rec::ElemKind, "element kind");
  if (e.kind > rec::KindMoving) Refuse(m, at + " has unknown kind " + std::to_string(e.kind));
  if (!m.readable(a, rec::KindSizes[e.kind])) Refuse(m, at + " (" + KindName(e.kind) + ") runs outside the module");
  e.bitmap = m.i32(a + rec::ElemBitmap, "bitmap");
  e.x = m.i32(a + rec::ElemPosX, "position");
  e.y = m.i32(a + rec::ElemPosY, "position");
  e.pivotX = m.i32(a + rec::ElemPivotX, "pivot");
  e.pivotY = m.i32(a + rec::ElemPivotY, "pivot");
  e.gauge = m.u32(a + rec::ElemGauge, "gauge");
  e.children = m.u32(a + rec::ElemChildren, "children");
  e.failures = m.u32(a + rec::ElemFailures, "failures");
  e.flagsAtLoad = m.u32(a + rec::ElemFlags, "flags");
  if (e.failures) {
    for (uintptr_t f = e.failures;; f += rec::FailureEntrySize, ++e.failureEntries) {
      if (e.failureEntries > MaxElements) Refuse(m, at + ": failure list has no end entry");
      if (!m.readable(f, rec::FailureEntrySize)) Refuse(m, at + ": failure list runs outside the module");
      if (!m.u32(f, "failure") && !m.u32(f + 4, "failure") && !m.u32(f + 8, "failure")) break;
    }
  }
  auto var = [&](uint32_t offset) { e.vars.push_back({a + offset, m.u32(a + offset + rec::VarToken, "token")}); };
  switch (e.kind) {
    case rec::KindNeedle: {
      var(rec::NeedleVar);
      e.callbacks[0] = m.u32(a + rec::NeedleCallback, "callback");
      uintptr_t table = m.u32(a + rec::NeedleTable, "calibration table");
      uint32_t count = m.u32(a + rec::NeedleCount, "calibration count");
      if (count > MaxCalibrationPoints) Refuse(m, at + " claims " + std::to_string(count) + " calibration points");
      if (count && !m.readable(table, size_t(count) * rec::PointSize))
        Refuse(m, at + ": calibration table runs outside the module");
      for (uint32_t i = 0; i < count; ++i) {
        uintptr_t p = table + i * rec::PointSize;
        e.table.push_back({m.i32(p + rec::PointX, "point"), m.i32(p + rec::PointY, "point"),
                           m.f64(p + rec::PointValue, "point value")});
      }
      break;
    }
    case rec::KindString:
      for (uint32_t offset : rec::StringVars) var(offset);
      e.callbacks[0] = m.u32(a + rec::StringCallback, "callback");
      e.boxW = m.u32(a + rec::StringBoxW, "box");
      e.boxH = m.u32(a + rec::StringBoxH, "box");
      e.colour = m.u32(a + rec::StringColour, "colour");
      e.weight = m.u32(a + rec::StringWeight, "weight");
      e.charset = m.u32(a + rec::StringCharset, "charset");
      e.textFlags = m.u32(a + rec::StringTextFlags, "text flags");
      {
        const char* face = reinterpret_cast<const char*>(a + rec::StringFace);
        e.face.assign(face, strnlen(face, rec::StringFaceSize));
      }
      break;
    case rec::KindSlider:
      var(rec::SliderVarX);
      var(rec::SliderVarY);
      e.scale[0] = m.f64(a + rec::SliderScaleX, "scale");
      e.scale[1] = m.f64(a + rec::SliderScaleY, "scale");
      e.callbacks[0] = m.u32(a + rec::SliderCallbackX, "callback");
      e.callbacks[1] = m.u32(a + rec::SliderCallbackY, "callback");
      break;
    case rec::KindIcon:
      var(rec::IconVar);
      e.iconWord = m.u32(a + rec::IconWord92, "icon word");
      e.imageCount = m.u32(a + rec::IconCount, "image count");
      e.callbacks[0] = m.u32(a + rec::IconCallback, "callback");
      break;
    case rec::KindMoving:
      var(rec::MovingVarX);
      var(rec::MovingVarY);
      e.first[0] = m.f64(a + rec::MovingFirstX, "bound");
      e.second[0] = m.f64(a + rec::MovingSecondX, "bound");
      e.first[1] = m.f64(a + rec::MovingFirstY, "bound");
      e.second[1] = m.f64(a + rec::MovingSecondY, "bound");
      e.callbacks[0] = m.u32(a + rec::MovingCallbackX, "callback");
      e.callbacks[1] = m.u32(a + rec::MovingCallbackY, "callback");
      break;
    default:
      break;
  }
  RequireCode(m, e.callbacks[0], at + "'s callback");
  RequireCode(m, e.callbacks[1], at + "'s second callback");
  return e;
}

void ReadChain(const ModuleImage& m, GaugeLayout& g) {
  // Depth first, each element before (below) its children, children in array order.
  std::vector<uintptr_t> pending{g.root};
  std::set<uintptr_t> seen;
  while (!pending.empty()) {
    uintptr_t a = pending.back();
    pending.pop_back();
    if (!seen.insert(a).second)
      Refuse(m, "element chain loops: element " + Hex(static_cast<uint32_t>(a)) + " is reached twice");
    if (seen.size() > MaxElements) Refuse(m, "element chain has more than " + std::to_string(MaxElements) + " elements");
    g.chain.push_back(ReadElement(m, a, g.chain.size()));
    std::vector<uintptr_t> children;
    if (uintptr_t list = g.chain.back().children) {
      for (uintptr_t at = list;; at += 4) {
        uintptr_t child = m.u32(at, "children list");
        if (!child) break;
        children.push_back(child);
        if (children.size() > MaxElements) Refuse(m, "children list has no end");
      }
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

void ReadAreas(const ModuleImage& m, GaugeLayout& g) {
  for (uintptr_t a = g.mouseList;; a += rec::AreaSize) {
    if (g.areas.size() >= MaxAreas) Refuse(m, "mouse area list has no end entry");
    if (!m.readable(a, rec::AreaSize)) Refuse(m, "mouse area list runs outside the module");
    MouseAreaInfo area;
    area.address = a;
    area.kind = m.u32(a + rec::AreaKind, "area kind");
    area.x = m.i32(a + rec::AreaX, "area");
    area.y = m.i32(a + rec::AreaY, "area");
    area.w = m.i32(a + rec::AreaW, "area");
    area.h = m.i32(a + rec::AreaH, "area");
    area.cursor = m.i32(a + rec::AreaCursor, "cursor");
    area.helpId = m.u32(a + rec::AreaHelpId, "help id");
    area.flags = m.u32(a + rec::AreaFlags, "mouse flags");
    area.eventId = m.u32(a + rec::AreaEventId, "event id");
    area.action = m.u32(a + rec::AreaAction, "action");
    area.args = m.u32(a + rec::AreaArgs, "tooltip arguments");
    const std::string at = "mouse area " + std::to_string(g.areas.size() + 1);
    if (area.kind > rec::AreaTooltip) Refuse(m, at + " has unknown kind " + std::to_string(area.kind));
    if (area.kind == rec::AreaChild) RequireCode(m, area.action, at + "'s callback");
    if (area.kind == rec::AreaTooltip) {
      area.tooltip = m.cstring(area.action, MaxText, "tooltip text");
      if (g.tooltip.empty()) {
        g.tooltip = area.tooltip;
        g.tooltipArgs = area.args;
      }
    }
    g.areas.push_back(area);
    if (area.kind == rec::AreaEnd) break;
  }
}

}  // namespace

const char* KindName(uint32_t kind) {
  static const char* const names[] = {"static", "needle", "string", "slider", "icon", "moving"};
  return kind <= rec::KindMoving ? names[kind] : "unknown";
}

const char* AreaKindName(uint32_t kind) {
  static const char* const names[] = {"end-of-list", "parent", "child", "end-of-parent", "tooltip"};
  return kind <= rec::AreaTooltip ? names[kind] : "unknown";
}

GaugeLayout ReadLayout(const ModuleImage& m) {
  GaugeLayout g;
  g.linkage = m.exportAddress("Linkage");
  g.importTable = m.exportAddress("ImportTable");
  if (!g.linkage) Refuse(m, "not a gauge module: it does not export Linkage");
  if (!g.importTable) Refuse(m, "not a gauge module: it does not export ImportTable");
  if (!m.readable(g.linkage, rec::LinkageSize)) Refuse(m, "Linkage runs outside the module");
  if (!m.writable(g.importTable + rec::ImportAddress, 4)) Refuse(m, "ImportTable is not writable module data");
  g.linkageMagic = m.u32(g.linkage + rec::LinkageMagic, "Linkage");
  g.linkageVersion = m.u32(g.linkage + rec::LinkageVersion, "Linkage");
  if (g.linkageMagic != 0x13) Refuse(m, "Linkage starts with " + Hex(g.linkageMagic) + ", not 0x13");
  if (uint32_t id = m.u32(g.importTable + rec::ImportId, "ImportTable"); id != rec::ImportHostTableId)
    Refuse(m, "ImportTable's entry id is " + Hex(id) + ", not 0xf");
  g.moduleInit = m.u32(g.linkage + rec::LinkageInit, "module-init");
  g.moduleDeinit = m.u32(g.linkage + rec::LinkageDeinit, "module-deinit");
  RequireCode(m, g.moduleInit, "module-init routine");
  RequireCode(m, g.moduleDeinit, "module-deinit routine");
  g.header = m.u32(g.linkage + rec::LinkageGauges, "gauge list");
  if (!g.header) Refuse(m, "Linkage lists no gauge");
  if (!m.readable(g.header, rec::HeaderSize)) Refuse(m, "the gauge header runs outside the module");
  g.headerMagic = m.u32(g.header + rec::HeaderMagic, "header");
  g.headerWord44 = m.u32(g.header + rec::HeaderWord44, "header");
  if (g.headerMagic != 800) Refuse(m, "the gauge header starts with " + std::to_string(g.headerMagic) + ", not 800");
  g.name = m.cstring(m.u32(g.header + rec::HeaderName, "gauge name"), MaxText, "gauge name");
  g.rootSlot = m.u32(g.header + rec::HeaderRootSlot, "root slot");
  if (!g.rootSlot) Refuse(m, "the gauge header has no root slot");
  g.root = m.u32(g.rootSlot, "root slot");
  if (!g.root) Refuse(m, "the root slot holds a null element");
  g.mouseList = m.u32(g.header + rec::HeaderMouseAreas, "mouse area list");
  g.service = m.u32(g.header + rec::HeaderService, "service callback");
  if (!g.service) Refuse(m, "the gauge header names no service callback");
  RequireCode(m, g.service, "service callback");
  ReadChain(m, g);
  if (g.mouseList) ReadAreas(m, g);
  return g;
}

}  // namespace gaugehost
