#include "host/report.h"

#include <cstdio>
#include <sstream>

#include "host/records.h"

namespace gaugehost {

std::string Hex(uint64_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llx", digits, static_cast<unsigned long long>(value));
  return text;
}

ModuleReport Inspect(const std::string& path, const PanelOptions& options) {
  VariableStore variables;
  Panel panel(path, variables, options);
  ModuleReport report{path, panel.layout(), {}};
  panel.service(CodeSetUp);
  panel.service(CodeUpdate);
  for (const HostCall& c : panel.calls())
    if (c.kind == HostCall::Refresh && c.during == CodeUpdate) report.moduleVariables.push_back(c.id);
  panel.service(CodeRemove);
  return report;
}

namespace {

std::vector<uint32_t> Tokens(const ElementInfo& e) {
  std::vector<uint32_t> tokens;
  for (const VariableSlot& v : e.vars) tokens.push_back(v.token);
  return tokens;
}

std::string TokenList(const std::vector<uint32_t>& tokens) {
  std::string out;
  for (uint32_t t : tokens) out += (out.empty() ? "" : ",") + std::to_string(t);
  return out.empty() ? "-" : out;
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string Details(const ElementInfo& e) {
  std::ostringstream s;
  switch (e.kind) {
    case rec::KindNeedle:
      s << "pivot " << e.pivotX << "," << e.pivotY << "; " << e.table.size() << " points:";
      for (const CalibrationEntry& p : e.table) s << " " << Number(p.value) << "@(" << p.x << "," << p.y << ")";
      break;
    case rec::KindString:
      s << "box " << e.boxW << "x" << e.boxH << ", colour " << Hex(e.colour, 8) << ", \"" << e.face << "\" "
        << e.weight << ", charset " << e.charset << ", flags " << Hex(e.textFlags);
      break;
    case rec::KindSlider:
      s << "scale " << Number(e.scale[0]) << "," << Number(e.scale[1]);
      break;
    case rec::KindIcon:
      s << e.imageCount << " images";
      break;
    case rec::KindMoving:
      s << "x " << Number(e.first[0]) << ".." << Number(e.second[0]) << ", y " << Number(e.first[1]) << ".."
        << Number(e.second[1]);
      break;
    default:
      break;
  }
  return s.str();
}

}  // namespace

std::string FormatReport(const ModuleReport& r) {
  const GaugeLayout& g = r.layout;
  std::ostringstream s;
  char line[256];
  s << "gauge \"" << g.name << "\"  (" << r.path << ")\n";
  s << "  Linkage " << Hex(g.linkageMagic) << ", version " << Hex(g.linkageVersion) << "; header " << g.headerMagic
    << ", word 44 = " << g.headerWord44 << "; " << g.chain.size() << " elements, "
    << g.areas.size() << " mouse area entries\n";
  s << "elements, drawn in this order (root first):\n";
  std::snprintf(line, sizeof line, "  %-3s %-7s %-7s %-9s %-8s %-11s %s\n", "#", "kind", "bitmap", "at", "tokens",
                "flags", "details");
  s << line;
  for (size_t i = 0; i < g.chain.size(); ++i) {
    const ElementInfo& e = g.chain[i];
    std::string bitmap = e.bitmap < 0 ? "-" : Hex(static_cast<uint32_t>(e.bitmap));
    std::string at = std::to_string(e.x) + "," + std::to_string(e.y);
    std::snprintf(line, sizeof line, "  %-3zu %-7s %-7s %-9s %-8s %-11s ", i + 1, KindName(e.kind), bitmap.c_str(),
                  at.c_str(), TokenList(Tokens(e)).c_str(), Hex(e.flagsAtLoad).c_str());
    s << line << Details(e) << "\n";
  }
  s << "tooltip: " << (g.tooltip.empty() ? "none" : "\"" + g.tooltip + "\"") << "\n";
  s << "mouse areas:\n";
  for (size_t i = 0; i < g.areas.size(); ++i) {
    const MouseAreaInfo& a = g.areas[i];
    std::snprintf(line, sizeof line, "  %-3zu %-13s box %d,%d %dx%d  cursor %d  flags %s", i + 1, AreaKindName(a.kind),
                  a.x, a.y, a.w, a.h, a.cursor, Hex(a.flags).c_str());
    s << line;
    if (a.kind == rec::AreaTooltip) s << "  \"" << a.tooltip << "\"";
    s << "\n";
  }
  s << "module variables refreshed at each update, in order: " << TokenList(r.moduleVariables) << "\n";
  return s.str();
}

nlohmann::ordered_json ReportJson(const ModuleReport& r) {
  const GaugeLayout& g = r.layout;
  nlohmann::ordered_json j;
  j["path"] = r.path;
  j["name"] = g.name;
  j["linkage"] = {{"magic", g.linkageMagic}, {"version", g.linkageVersion}};
  j["header"] = {{"magic", g.headerMagic}, {"word44", g.headerWord44}};
  j["elements"] = nlohmann::ordered_json::array();
  for (const ElementInfo& e : g.chain) {
    nlohmann::ordered_json el = {{"kind", KindName(e.kind)}, {"bitmap", e.bitmap}, {"x", e.x}, {"y", e.y},
                                 {"flags", e.flagsAtLoad}, {"tokens", Tokens(e)}};
    if (e.kind == rec::KindNeedle) {
      el["pivot"] = {e.pivotX, e.pivotY};
      el["calibration"] = nlohmann::ordered_json::array();
      for (const CalibrationEntry& p : e.table) el["calibration"].push_back({{"x", p.x}, {"y", p.y}, {"value", p.value}});
    } else if (e.kind == rec::KindString) {
      el["box"] = {e.boxW, e.boxH};
      el["colour"] = e.colour;
      el["face"] = e.face;
      el["weight"] = e.weight;
      el["charset"] = e.charset;
      el["textFlags"] = e.textFlags;
    } else if (e.kind == rec::KindSlider) {
      el["scale"] = {e.scale[0], e.scale[1]};
    } else if (e.kind == rec::KindIcon) {
      el["images"] = e.imageCount;
    } else if (e.kind == rec::KindMoving) {
      el["bounds"] = {{e.first[0], e.second[0]}, {e.first[1], e.second[1]}};
    }
    j["elements"].push_back(el);
  }
  j["tooltip"] = g.tooltip.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(g.tooltip);
  j["mouseAreas"] = nlohmann::ordered_json::array();
  for (const MouseAreaInfo& a : g.areas) {
    nlohmann::ordered_json area = {{"kind", AreaKindName(a.kind)}, {"box", {a.x, a.y, a.w, a.h}},
                                   {"cursor", a.cursor}, {"flags", a.flags}};
    if (a.kind == rec::AreaTooltip) area["text"] = a.tooltip;
    j["mouseAreas"].push_back(area);
  }
  j["moduleVariables"] = r.moduleVariables;
  return j;
}

}  // namespace gaugehost
