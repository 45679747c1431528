// report.h: what `gaugehost info` tells a panel maker about a module, as text or JSON.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/layout.h"
#include "host/panel.h"

namespace gaugehost {

struct ModuleReport {
  std::string path;
  GaugeLayout layout;
  std::vector<uint32_t> moduleVariables;  // tokens refreshed at one update, in order
};

// Loads the module, reads its records, and runs one set-up, update and removal to learn
// which module variables it refreshes.
ModuleReport Inspect(const std::string& path, const PanelOptions& options);

std::string FormatReport(const ModuleReport& report);
nlohmann::ordered_json ReportJson(const ModuleReport& report);

std::string Hex(uint64_t value, int digits = 0);

}  // namespace gaugehost
