// gaugehost: a headless FS2004-style panel host for gauge modules (*.gau).
//   gaugehost info MODULE [--json]
//   gaugehost render MODULE [--set TOKEN=VALUE ...] [--frames N] [--scale K] [--areas] [--json] -o FILE.png
//   gaugehost click MODULE X Y [X Y ...] [--set TOKEN=VALUE ...] [--json]
//   gaugehost run MODULE STEP... [--scale K] [--areas] [--json]
//       steps: set:TOKEN=VALUE  frame[:N]  click:X,Y  render:FILE.png
//   gaugehost --help, gaugehost COMMAND --help
// The module is loaded and driven as the simulator would drive it; a malformed module is
// refused with a message and exit status 2, bad arguments give exit status 1.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "host/report.h"
#include "host/session.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using namespace gaugehost;
using Json = nlohmann::ordered_json;

namespace {

X87Precision ParsePrecision(int bits) {
  switch (bits) {
    case 24: return X87Precision::Single24;
    case 53: return X87Precision::Double53;
    case 64: return X87Precision::Extended64;
    default: return X87Precision::Unchanged;
  }
}

VariableStore ParseSettings(const std::vector<std::string>& settings) {
  VariableStore store;
  for (const std::string& s : settings) {
    try {
      store.assign(s);
    } catch (const std::invalid_argument& e) {
      throw CLI::ValidationError("--set", e.what());
    }
  }
  return store;
}

Json ElementsJson(Panel& panel) {
  Json list = Json::array();
  const GaugeLayout& g = panel.layout();
  for (size_t i = 0; i < g.chain.size(); ++i) {
    const ElementInfo& e = g.chain[i];
    const ElementState& s = panel.elements()[i];
    Json el = {{"index", i + 1}, {"kind", KindName(e.kind)}};
    if (s.called[0]) el["value"] = s.value[0];
    if (s.called[1]) el["value2"] = s.value[1];
    if (e.kind == 2) el["text"] = s.text;
    el["flags"] = s.flags;
    el["visible"] = !s.hidden;
    list.push_back(el);
  }
  return list;
}

Json EventJson(const HostCall& c) { return {{"id", c.id}, {"value", c.value}}; }

std::string EventLine(const HostCall& c) {
  char line[48];
  std::snprintf(line, sizeof line, "0x%x %u", c.id, c.value);
  return line;
}

Json ClickJson(const ClickResult& r, const Panel& panel) {
  Json j = {{"x", r.x}, {"y", r.y}};
  if (r.area < 0) {
    j["area"] = nullptr;
  } else {
    j["area"] = r.area + 1;
    j["cursor"] = panel.layout().areas[r.area].cursor;
    j["answered"] = r.answered;
    if (r.answered) j["result"] = r.result;
  }
  j["keyEvents"] = Json::array();
  for (const HostCall& c : r.events) j["keyEvents"].push_back(EventJson(c));
  return j;
}

void PrintClick(const ClickResult& r) {
  if (r.area < 0) {
    std::cout << "click " << r.x << "," << r.y << ": no clickable area there, nothing sent\n";
    return;
  }
  if (!r.answered) {
    std::cout << "click " << r.x << "," << r.y << ": area " << r.area + 1 << " does not answer clicks, nothing sent\n";
    return;
  }
  if (r.events.empty()) std::cout << "click " << r.x << "," << r.y << ": area " << r.area + 1 << ", no key event\n";
  for (const HostCall& c : r.events) std::cout << EventLine(c) << "\n";
}

void WritePicture(Session& session, const std::string& path, int scale, bool areas) {
  Canvas picture = session.picture({areas});
  (scale > 1 ? picture.Scaled(scale) : picture).WritePng(path);
}

// Help exits 0; every usage error exits 1 with CLI11's message.
int UsageExit(const CLI::App& app, const CLI::ParseError& e) { return app.exit(e) == 0 ? 0 : 1; }

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Plain "\n" line ends under Wine and on Windows alike.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  CLI::App app{"gaugehost: load FS2004/FS2002 panel gauge modules (*.gau), drive them as the simulator does, "
               "draw them and click them"};
  app.require_subcommand(1);
  // Unix paths under Wine start with '/': they are file names, not Windows-style options.
  app.allow_windows_style_options(false);
  std::string soundDir;
  int x87 = 0;
  app.add_option("--sound-dir", soundDir, "folder where modules may find the GaugeSound library")
      ->check(CLI::ExistingDirectory);
  app.add_option("--x87", x87, "x87 precision (24, 53 or 64 bits) set around every call into the module")
      ->check(CLI::IsMember({24, 53, 64}));

  std::string modulePath, output;
  bool json = false, areas = false;
  int frames = 1, scale = 1;
  std::vector<std::string> settings, steps;
  std::vector<int> points;

  CLI::App* info = app.add_subcommand("info", "print the gauge name, header, element chain, mouse areas, tooltip "
                                              "and the module variables it refreshes");
  info->add_option("MODULE", modulePath, "the gauge module (.gau)")->required();
  info->add_flag("--json", json, "print the same as JSON");

  auto addSet = [&](CLI::App* cmd) {
    cmd->add_option("--set", settings, "host variable: TOKEN=VALUE (a double) or TOKEN=int:VALUE (32-bit integer)")
        ->take_all();
  };
  CLI::App* render = app.add_subcommand("render", "run frames (set-up once, then update, pre-draw and callbacks) "
                                                  "and write the last one as PNG");
  render->add_option("MODULE", modulePath, "the gauge module (.gau)")->required();
  addSet(render);
  render->add_option("--frames", frames, "frames to run")->check(CLI::Range(1, 100000));
  render->add_option("--scale", scale, "enlarge each pixel K times")->check(CLI::Range(1, 16));
  render->add_flag("--areas", areas, "outline every clickable area with its cursor kind");
  render->add_flag("--json", json, "also print every element's value, text and visibility as JSON");
  render->add_option("-o,--output", output, "the PNG to write")->required();

  CLI::App* click = app.add_subcommand("click", "deliver clicks at gauge pixels after one frame and print the key "
                                                "events sent, one per line as hex id and value");
  click->add_option("MODULE", modulePath, "the gauge module (.gau)")->required();
  click->add_option("X Y", points, "gauge pixel of each click")->required()->expected(-2);
  addSet(click);
  click->add_flag("--json", json, "print the clicks and their key events as JSON");

  CLI::App* run = app.add_subcommand("run", "run a sequence of steps on one loaded gauge: set:TOKEN=VALUE, "
                                            "frame[:N], click:X,Y, render:FILE.png");
  run->add_option("MODULE", modulePath, "the gauge module (.gau)")->required();
  run->add_option("STEP", steps, "the steps, in order")->required();
  run->add_option("--scale", scale, "enlarge each pixel K times in pictures")->check(CLI::Range(1, 16));
  run->add_flag("--areas", areas, "outline clickable areas in pictures");
  run->add_flag("--json", json, "print the clicks and final element states as JSON");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return UsageExit(app, e);
  }
  PanelOptions options{soundDir, ParsePrecision(x87)};
  try {
    if (info->parsed()) {
      ModuleReport report = Inspect(modulePath, options);
      if (json)
        std::cout << ReportJson(report).dump(2) << "\n";
      else
        std::cout << FormatReport(report);
    } else if (render->parsed()) {
      Session session(modulePath, ParseSettings(settings), options);
      session.frames(frames);
      WritePicture(session, output, scale, areas);
      if (json)
        std::cout << Json({{"frames", frames}, {"elements", ElementsJson(session.panel())}}).dump(2) << "\n";
      else
        std::cerr << "wrote " << output << "\n";
    } else if (click->parsed()) {
      if (points.size() % 2) throw CLI::ValidationError("X Y", "clicks come as pairs of coordinates");
      Session session(modulePath, ParseSettings(settings), options);
      session.frames(1);
      Json clicks = Json::array();
      for (size_t i = 0; i + 1 < points.size(); i += 2) {
        ClickResult r = session.click(points[i], points[i + 1]);
        if (json)
          clicks.push_back(ClickJson(r, session.panel()));
        else
          PrintClick(r);
      }
      if (json) std::cout << Json({{"clicks", clicks}}).dump(2) << "\n";
    } else if (run->parsed()) {
      Session session(modulePath, VariableStore{}, options);
      Json clicks = Json::array();
      for (const std::string& step : steps) {
        std::string verb = step.substr(0, step.find(':'));
        std::string arg = step.find(':') == std::string::npos ? "" : step.substr(step.find(':') + 1);
        if (verb == "set") {
          try {
            session.variables().assign(arg);
          } catch (const std::invalid_argument& e) {
            throw CLI::ValidationError("STEP", e.what());
          }
        } else if (verb == "frame") {
          int n = 1;
          if (!arg.empty() && (std::sscanf(arg.c_str(), "%d", &n) != 1 || n < 1))
            throw CLI::ValidationError("STEP", "bad frame count in '" + step + "'");
          session.frames(n);
        } else if (verb == "click") {
          int x, y;
          char end;
          if (std::sscanf(arg.c_str(), "%d,%d%c", &x, &y, &end) != 2)
            throw CLI::ValidationError("STEP", "expected click:X,Y, got '" + step + "'");
          ClickResult r = session.click(x, y);
          if (json)
            clicks.push_back(ClickJson(r, session.panel()));
          else
            PrintClick(r);
        } else if (verb == "render" && !arg.empty()) {
          if (session.frameCount() == 0) session.frames(1);
          WritePicture(session, arg, scale, areas);
        } else {
          throw CLI::ValidationError("STEP", "unknown step '" + step + "' (set:T=V, frame[:N], click:X,Y, render:FILE)");
        }
      }
      if (json)
        std::cout << Json({{"frames", session.frameCount()}, {"clicks", clicks},
                           {"elements", ElementsJson(session.panel())}}).dump(2) << "\n";
    }
  } catch (const CLI::ParseError& e) {
    return UsageExit(app, e);
  } catch (const HostError& e) {
    std::cerr << "gaugehost: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "gaugehost: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
