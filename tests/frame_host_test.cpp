// The frame as the simulator meets it: the fixture gauge module loaded by the panel host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "host/panel.h"
#include "host/session.h"
#include "host/records.h"
#include "tests/fixture/fixture_gauge.h"

using namespace gaugehost;

namespace {

const std::string Fixture = std::string(GAUGES_DIR) + "/Kv_TestFixture.gau";
#ifdef _WIN32
const std::string SoundLibraryFile = std::string(SOUND_DIR) + "/GaugeSound.dll";
#else
const std::string SoundLibraryFile = std::string(SOUND_DIR) + "/GaugeSound.so";
#endif
std::string Broken(const std::string& name) { return std::string(BROKEN_DIR) + "/" + name + ".gau"; }

std::vector<uint32_t> Refreshes(const Panel& p, uint32_t during) {
  std::vector<uint32_t> tokens;
  for (const HostCall& c : p.calls())
    if (c.kind == HostCall::Refresh && c.during == during) tokens.push_back(c.id);
  return tokens;
}

size_t CountEvents(const Panel& p, uint32_t id) {
  size_t n = 0;
  for (const HostCall& c : p.keyEvents()) n += c.id == id;
  return n;
}

TEST(ModuleLinkage, FreshModuleRecordsBeforeTheHostWrites) {
  ModuleImage image(Fixture);
  uintptr_t linkage = image.exportAddress("Linkage"), imports = image.exportAddress("ImportTable");
  ASSERT_NE(linkage, 0u);
  ASSERT_NE(imports, 0u);
  EXPECT_EQ(image.u32(imports + 0, "t"), 0x0Fu);
  EXPECT_EQ(image.u32(imports + 4, "t"), 0u) << "the host table address is 0 until the host writes it";
  EXPECT_EQ(image.u32(imports + 8, "t"), 0u);
  EXPECT_EQ(image.u32(imports + 12, "t"), 0u);
  EXPECT_EQ(image.u32(linkage + 0, "l"), 0x13u);
  EXPECT_EQ(image.u32(linkage + 12, "l"), 0u);
  EXPECT_EQ(image.u32(linkage + 16, "l"), 0u);
  EXPECT_EQ(image.u32(linkage + 20, "l"), 0x800u);
  EXPECT_EQ(image.u32(linkage + 28, "l"), 0u) << "one gauge, then the end of the list";
  uintptr_t header = image.u32(linkage + 24, "l");
  EXPECT_EQ(image.u32(header + 0, "h"), 800u);
  EXPECT_EQ(image.u32(header + 44, "h"), 100u);
  for (uint32_t off = 12; off < 196; off += 4)
    if (off != 44 && off != 80 && off != 84) {
      EXPECT_EQ(image.u32(header + off, "h"), 0u) << "header byte +" << off;
    }
  EXPECT_EQ(image.cstring(image.u32(header + 4, "h"), 64, "name"), "Kv_TestFixture");
}

TEST(ModuleLinkage, HostReadsTheGaugeAndWritesItsTableFirst) {
  VariableStore vars;
  Panel panel(Fixture, vars);
  const GaugeLayout& g = panel.layout();
  EXPECT_EQ(g.name, "Kv_TestFixture");
  EXPECT_NE(panel.image().u32(g.importTable + 4, "t"), 0u);
  // The header leads through its one slot to the root, a static image at the bottom.
  EXPECT_EQ(panel.image().u32(g.rootSlot, "slot"), g.root);
  ASSERT_EQ(g.chain.size(), 7u);
  EXPECT_EQ(g.chain.front().address, g.root);
  EXPECT_EQ(g.chain.front().kind, rec::KindStatic);
  EXPECT_EQ(g.chain.back().children, 0u);
  for (const ElementInfo& e : g.chain) {
    EXPECT_EQ(e.gauge, g.header);
    EXPECT_EQ(e.failureEntries, 0u) << "each failure list holds only its end entry";
  }
  EXPECT_EQ(panel.calls().size(), 0u) << "module-init calls nothing";
}

TEST(ServiceCallback, UpdateRefreshesInListOrderThenRunsTheStep) {
  VariableStore vars;
  vars.set(FixtureTokenA, 7);
  Panel panel(Fixture, vars);
  panel.service(CodeUpdate);
  ASSERT_EQ(panel.calls().size(), 4u);
  EXPECT_EQ(Refreshes(panel, CodeUpdate), (std::vector<uint32_t>{FixtureTokenA, FixtureTokenB, FixtureTokenTrap}));
  const HostCall& step = panel.calls().back();
  EXPECT_EQ(step.kind, HostCall::KeyEvent);
  EXPECT_EQ(step.id, FixtureEventUpdate);
  EXPECT_EQ(step.value, 7u) << "the update step sees the value refreshed just before it";
}

TEST(ServiceCallback, HostTableIsReadAfreshAtEachCall) {
  VariableStore vars;
  Panel panel(Fixture, vars);
  panel.service(CodeUpdate);
  panel.switchFunctionTable();
  panel.service(CodeUpdate);
  ASSERT_EQ(panel.calls().size(), 8u);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(panel.calls()[i].table, i < 4 ? 0 : 1) << "call " << i;
}

TEST(ServiceCallback, UnknownCodesDoNothing) {
  VariableStore vars;
  Panel panel(Fixture, vars);
  SoundState before = Panel::sound();
  for (uint32_t code : {0u, 1u, 2u, 3u, 5u, 7u, 8u, 9u, 11u, 13u, 0xFFFFFFFFu}) panel.service(code);
  EXPECT_TRUE(panel.calls().empty());
  panel.service(CodePreDraw);
  EXPECT_EQ(CountEvents(panel, FixtureEventFirstDraw), 1u) << "the unknown codes did not use up the first draw";
  EXPECT_EQ(Panel::sound().loads, before.loads);
}

TEST(ServiceCallback, FirstDrawSetUpRunsOncePerLoad) {
  VariableStore vars;
  {
    Panel panel(Fixture, vars);
    panel.service(CodeSetUp);
    panel.service(CodePreDraw);
    panel.service(CodePreDraw);
    EXPECT_EQ(CountEvents(panel, FixtureEventFirstDraw), 1u);
    // Removed and set up again in the same loaded module: no second first draw.
    panel.service(CodeRemove);
    panel.service(CodeSetUp);
    panel.service(CodeUpdate);
    panel.service(CodePreDraw);
    EXPECT_EQ(CountEvents(panel, FixtureEventFirstDraw), 1u);
  }
  Panel reloaded(Fixture, vars);
  reloaded.service(CodePreDraw);
  EXPECT_EQ(CountEvents(reloaded, FixtureEventFirstDraw), 1u) << "a new load runs it again";
}

TEST(ServiceCallback, MissingHostEntryStopsTheHostNamingTheOffset) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        VariableStore vars;
        vars.set(FixtureTokenTrap, 1);
        Panel panel(Fixture, vars);
        panel.service(CodeUpdate);
      },
      testing::ExitedWithCode(70), "host function table entry \\+0x10,");
}

// Use counts of the stand-in sound library, seen from outside the module.
class SoundLibrary : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Panel::sound().loaded) << "an earlier test left GaugeSound loaded";
    start_ = Panel::sound();
  }
  long terminates() const { return Panel::sound().terminateCalls - start_.terminateCalls; }
  long loads() const { return Panel::sound().loads - start_.loads; }
  long unloads() const { return Panel::sound().unloads - start_.unloads; }
  SoundState start_;
  VariableStore vars_;
};

TEST_F(SoundLibrary, PresentIsLoadedOnceTerminatedOnceAndReleased) {
  Panel panel(Fixture, vars_, {SOUND_DIR});
  panel.service(CodeSetUp);
  EXPECT_TRUE(Panel::sound().loaded);
  for (int i = 0; i < 3; ++i) panel.service(CodeUpdate);
  EXPECT_EQ(loads(), 1) << "updates find the loaded library instead of loading it again";
  EXPECT_EQ(terminates(), 0);
  panel.service(CodeRemove);
  EXPECT_EQ(terminates(), 1);
  EXPECT_FALSE(Panel::sound().loaded) << "set-up's one use was given back at removal";

  // The stale handle keeps set-up from loading; the next update loads it again.
  panel.service(CodeSetUp);
  EXPECT_FALSE(Panel::sound().loaded);
  panel.service(CodeUpdate);
  EXPECT_TRUE(Panel::sound().loaded);
  panel.service(CodeRemove);
  EXPECT_EQ(terminates(), 2);
  EXPECT_EQ(loads(), 2);
  EXPECT_EQ(unloads(), 2);
  EXPECT_FALSE(Panel::sound().loaded);
}

TEST_F(SoundLibrary, RemovalLoadsItWhenNothingHoldsIt) {
  Panel panel(Fixture, vars_, {SOUND_DIR});
  panel.service(CodeSetUp);
  panel.service(CodeRemove);
  ASSERT_FALSE(Panel::sound().loaded);
  panel.service(CodeRemove);  // must find or load it, terminate, then release that one use
  EXPECT_EQ(terminates(), 2);
  EXPECT_FALSE(Panel::sound().loaded);
  EXPECT_EQ(loads(), unloads());
}

TEST_F(SoundLibrary, AbsentLeavesTheGaugeWorking) {
  vars_.set(FixtureTokenA, 3);
  Panel panel(Fixture, vars_);
  panel.service(CodeSetUp);
  for (int i = 0; i < 4; ++i) panel.service(CodeUpdate);
  panel.service(CodePreDraw);
  panel.service(CodeRemove);
  EXPECT_EQ(loads(), 0);
  EXPECT_EQ(terminates(), 0);
  EXPECT_EQ(CountEvents(panel, FixtureEventUpdate), 4u);
  EXPECT_EQ(Refreshes(panel, CodeUpdate).size(), 12u);
}

TEST(VariableRecords, ModuleRecordReadsZeroBeforeTheFirstUpdate) {
  VariableStore vars;
  vars.set(FixtureTokenA, 2.5);
  vars.set(FixtureTokenB, 4);
  Panel panel(Fixture, vars);
  EXPECT_EQ(panel.runElements()[1].text, "0");
  panel.service(CodeUpdate);
  EXPECT_EQ(panel.runElements()[1].text, "10");
}

TEST(VariableRecords, ElementAndModuleRecordsOfOneTokenEachRefreshedByTheirOwner) {
  VariableStore vars;
  vars.set(FixtureTokenA, 5);
  Panel panel(Fixture, vars);
  // The host refreshes the element's own record; the module's waits for an update.
  EXPECT_EQ(panel.runElements()[2].text.substr(0, 4), "5/0:");
  panel.service(CodeUpdate);
  EXPECT_EQ(panel.runElements()[2].text.substr(0, 4), "5/5:");
}

TEST(VariableRecords, IntegerFormLandsInTheFirstFourBytes) {
  VariableStore vars;
  vars.setInteger(FixtureTokenA, 0x1234);
  Panel panel(Fixture, vars);
  panel.service(CodeUpdate);
  uintptr_t record = 0;
  for (const HostCall& c : panel.calls())
    if (c.kind == HostCall::Refresh && c.id == FixtureTokenA) record = c.record;
  ASSERT_NE(record, 0u);
  EXPECT_EQ(panel.image().u32(record + 12, "value"), 0x1234u);
  EXPECT_EQ(panel.image().u32(record + 16, "value"), 0u);
}

TEST(StringText, TextIsCutToTheHostBufferWithItsNul) {
  VariableStore vars;
  Panel panel(Fixture, vars);
  std::string text = panel.runElements()[2].text;
  EXPECT_EQ(text.size(), Panel::TextCapacity - 1);
  EXPECT_EQ(text, std::string("0/0:0123456789abcdefghijklmnopqrstuvwxyz").substr(0, 31));
}

TEST(FloatingPoint, ExactDoublesWhateverTheX87PrecisionIs) {
  const double a = 1.0000001, b = 3.0000003;
  char expected[64];
  std::snprintf(expected, sizeof expected, "%.17g", a * b);
  for (X87Precision p : {X87Precision::Single24, X87Precision::Double53, X87Precision::Extended64}) {
    VariableStore vars;
    vars.set(FixtureTokenA, a);
    vars.set(FixtureTokenB, b);
    Panel panel(Fixture, vars, {"", p});
    panel.service(CodeUpdate);
    EXPECT_EQ(panel.runElements()[1].text, expected) << "precision setting " << static_cast<int>(p);
  }
}

TEST(ElementCallbacks, HideBitComesAndGoesLeavingOtherBits) {
  VariableStore vars;
  Panel panel(Fixture, vars);
  EXPECT_FALSE(panel.runElements()[3].hidden);
  vars.set(FixtureTokenHide, -1);
  const ElementState& hidden = panel.runElements()[3];
  EXPECT_TRUE(hidden.hidden);
  EXPECT_EQ(hidden.flags, 0x83u | rec::FlagHidden);
  vars.set(FixtureTokenHide, 0);
  EXPECT_EQ(panel.runElements()[3].flags, 0x83u);
}

TEST(Clicks, ReachOnlyAreasWhoseFlagsNameAClick) {
  Session s(Fixture, VariableStore{});
  ClickResult hit = s.click(FixtureAreaX + FixtureAreaW - 1, FixtureAreaY);
  EXPECT_TRUE(hit.answered);
  ASSERT_EQ(hit.events.size(), 1u);
  EXPECT_EQ(hit.events[0].id, FixtureEventClick);
  EXPECT_EQ(hit.events[0].during, 0u) << "a click is no service call";
  ClickResult deaf = s.click(FixtureDeafX + 5, FixtureDeafY + 5);
  EXPECT_GE(deaf.area, 0);
  EXPECT_FALSE(deaf.answered);
  EXPECT_TRUE(deaf.events.empty());
  EXPECT_EQ(s.click(FixtureAreaX + FixtureAreaW, FixtureAreaY).area, -1);
}

TEST(MalformedModules, AreRefusedWithAReason) {
  struct Case {
    std::string path, reason;
  } cases[] = {
      {Broken("NotAModule"), "not a loadable module"},
      {Broken("Missing"), "no such file"},
      {SoundLibraryFile, "does not export Linkage"},
      {Broken("Kv_Broken1"), "root slot holds a null element"},
      {Broken("Kv_Broken2"), "element chain loops"},
      {Broken("Kv_Broken3"), "not 0x13"},
      {Broken("Kv_Broken4"), "outside the module"},
  };
  for (const Case& c : cases) {
    VariableStore vars;
    try {
      Panel panel(c.path, vars);
      ADD_FAILURE() << c.path << " was accepted";
    } catch (const HostError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.path << ": " << e.what();
    }
  }
}

}  // namespace
