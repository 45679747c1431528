// The frame linked straight into the test, for what only its globals show.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/gauge.h"
#include "frame/service.h"
#include "tests/fixture/fixture_gauge.h"

extern VariableRecord FixtureAVar;
extern StringElement EchoString;

namespace {

std::vector<uint32_t> Refreshed;
std::vector<uint32_t> Events;

void GAUGE_CALL TestRefresh(VariableRecord* record) {
  Refreshed.push_back(record->VariableToken);
  record->Value = record->VariableToken * 2.0;
}
void GAUGE_CALL TestKeyEvent(uint32_t id, uint32_t) { Events.push_back(id); }

void* Table[64];

class FrameGlobals : public testing::Test {
 protected:
  void SetUp() override {
    Table[0x90 / 4] = reinterpret_cast<void*>(&TestKeyEvent);
    Table[0xa0 / 4] = reinterpret_cast<void*>(&TestRefresh);
    ImportTable.Host.FunctionTable = Table;
    Refreshed.clear();
    Events.clear();
  }
  void TearDown() override { ImportTable.Host.FunctionTable = nullptr; }
};

TEST_F(FrameGlobals, IgnoredCodesChangeNoGlobal) {
  uint32_t flag = FirstDrawFlag;
  void* handle = SoundLibraryHandle;
  void* entry = TerminateSoundsEntry;
  double value = FixtureAVar.Value;
  for (uint32_t code : {5u, 13u, 0xFFFFFFFFu}) GaugeService(&ThisGauge, code, 0);
  EXPECT_EQ(FirstDrawFlag, flag);
  EXPECT_EQ(SoundLibraryHandle, handle);
  EXPECT_EQ(TerminateSoundsEntry, entry);
  EXPECT_EQ(FixtureAVar.Value, value);
  EXPECT_TRUE(Refreshed.empty());
  EXPECT_TRUE(Events.empty());
}

TEST_F(FrameGlobals, FirstDrawFlagIsSetByTheFirstPreDrawAndStays) {
  if (FirstDrawFlag == 0) {
    GaugeService(&ThisGauge, ServicePreDraw, 0);
    EXPECT_EQ(Events, std::vector<uint32_t>{FixtureEventFirstDraw});
  }
  EXPECT_EQ(FirstDrawFlag, 1u);
  Events.clear();
  GaugeService(&ThisGauge, ServicePreDraw, 0);
  GaugeService(&ThisGauge, ServiceRemove, 0);
  GaugeService(&ThisGauge, ServiceSetUp, 0);
  GaugeService(&ThisGauge, ServicePreDraw, 0);
  EXPECT_EQ(FirstDrawFlag, 1u);
  EXPECT_TRUE(Events.empty());
}

TEST_F(FrameGlobals, AbsentSoundLibraryLeavesHandleAndEntryZero) {
  // This test program's folder holds no GaugeSound, nor does the working folder or PATH.
  GaugeService(&ThisGauge, ServiceSetUp, 0);
  GaugeService(&ThisGauge, ServiceUpdate, 0);
  GaugeService(&ThisGauge, ServiceRemove, 0);
  EXPECT_EQ(SoundLibraryHandle, nullptr);
  EXPECT_EQ(TerminateSoundsEntry, nullptr);
  EXPECT_EQ(Refreshed, (std::vector<uint32_t>{FixtureTokenA, FixtureTokenB, FixtureTokenTrap}));
  EXPECT_EQ(FixtureAVar.Value, 2.0 * static_cast<double>(FixtureTokenA));
}

TEST_F(FrameGlobals, HostCallsWithoutATableDoNothing) {
  ImportTable.Host.FunctionTable = nullptr;
  FixtureAVar.Value = 0.5;
  GaugeService(&ThisGauge, ServiceUpdate, 0);
  EXPECT_EQ(FixtureAVar.Value, 0.5);
  EXPECT_TRUE(Events.empty());
}

TEST_F(FrameGlobals, TextWithoutABufferIsNotWritten) {
  EchoString.TextBuffer = nullptr;
  EXPECT_EQ(EchoString.Callback(&EchoString.Head), 0.0);
  char buffer[TextBufferCapacity + 8];
  std::memset(buffer, 'x', sizeof buffer);
  EchoString.TextBuffer = buffer;
  EchoString.Callback(&EchoString.Head);
  EXPECT_EQ(std::strlen(buffer), TextBufferCapacity - 1u);
  EXPECT_EQ(buffer[TextBufferCapacity], 'x') << "nothing past the capacity";
  EchoString.TextBuffer = nullptr;
}

}  // namespace
