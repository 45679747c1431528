// gaugehost: a headless FS2004-style panel host for gauge modules (*.gau).
//   gaugehost info MODULE [--json]        what the module holds: header, elements, areas
//   gaugehost --help, gaugehost COMMAND --help
// The module is loaded and driven exactly as the simulator would; a malformed module is
// refused with a message and exit status 2.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "host/report.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using namespace gaugehost;

namespace {

X87Precision ParsePrecision(int bits) {
  switch (bits) {
    case 24: return X87Precision::Single24;
    case 53: return X87Precision::Double53;
    case 64: return X87Precision::Extended64;
    default: return X87Precision::Unchanged;
  }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Plain "\n" line ends under Wine and on Windows alike.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  CLI::App app{"gaugehost: load FS2004/FS2002 panel gauge modules (*.gau), drive them as the simulator does, "
               "and report what they show"};
  app.require_subcommand(1);
  std::string soundDir;
  int x87 = 0;
  app.add_option("--sound-dir", soundDir, "folder where modules may find the GaugeSound library")
      ->check(CLI::ExistingDirectory);
  app.add_option("--x87", x87, "x87 precision (24, 53 or 64 bits) set around every call into the module")
      ->check(CLI::IsMember({24, 53, 64}));

  std::string modulePath;
  bool json = false;
  CLI::App* info = app.add_subcommand("info", "print the gauge name, header, element chain, mouse areas, tooltip "
                                              "and the module variables it refreshes");
  info->add_option("MODULE", modulePath, "the gauge module (.gau)")->required();
  info->add_flag("--json", json, "print the same as JSON");

  CLI11_PARSE(app, argc, argv);
  PanelOptions options{soundDir, ParsePrecision(x87)};
  try {
    if (info->parsed()) {
      ModuleReport report = Inspect(modulePath, options);
      if (json)
        std::cout << ReportJson(report).dump(2) << "\n";
      else
        std::cout << FormatReport(report);
    }
  } catch (const HostError& e) {
    std::cerr << "gaugehost: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "gaugehost: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
