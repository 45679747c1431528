// records.h: byte offsets of the gauge interface's records, as the host reads them.
// Deliberately independent of the module frame's struct definitions, so that reading a
// module checks the frame instead of mirroring it.
#pragma once
#include <cstdint>

namespace gaugehost::rec {

// Linkage
constexpr uint32_t LinkageSize = 32, LinkageMagic = 0, LinkageInit = 4, LinkageDeinit = 8, LinkageVersion = 20,
                   LinkageGauges = 24;
// ImportTable: entries of 8 bytes, the host's table address at +4 of the first.
constexpr uint32_t ImportEntrySize = 8, ImportId = 0, ImportAddress = 4, ImportHostTableId = 0x0F;
// GaugeHeader
constexpr uint32_t HeaderSize = 196, HeaderMagic = 0, HeaderName = 4, HeaderRootSlot = 8, HeaderWord44 = 44,
                   HeaderMouseAreas = 80, HeaderService = 84;
// ElementRecord head
constexpr uint32_t ElemKind = 0, ElemBitmap = 4, ElemPosX = 8, ElemPosY = 12, ElemPivotX = 24, ElemPivotY = 28,
                   ElemGauge = 32, ElemChildren = 40, ElemFailures = 44, ElemFlags = 48;
// VariableRecord
constexpr uint32_t VarSize = 28, VarToken = 0, VarValue = 12;
// Kinds and their fields
constexpr uint32_t KindStatic = 0, KindNeedle = 1, KindString = 2, KindSlider = 3, KindIcon = 4, KindMoving = 5;
constexpr uint32_t KindSizes[6] = {96, 236, 324, 192, 140, 268};
constexpr uint32_t NeedleVar = 60, NeedleTable = 112, NeedleCount = 116, NeedleCallback = 224;
constexpr uint32_t StringVars[3] = {60, 88, 116};
constexpr uint32_t StringBuffer = 184, StringBoxW = 192, StringBoxH = 196, StringColour = 208, StringFace = 248,
                   StringFaceSize = 32, StringWeight = 280, StringCharset = 284, StringTextFlags = 292,
                   StringCallback = 312;
constexpr uint32_t SliderVarX = 60, SliderScaleX = 92, SliderVarY = 104, SliderScaleY = 136, SliderCallbackX = 168,
                   SliderCallbackY = 172;
constexpr uint32_t IconVar = 60, IconWord92 = 92, IconCount = 112, IconCallback = 132;
constexpr uint32_t MovingVarX = 60, MovingFirstX = 92, MovingSecondX = 100, MovingVarY = 112, MovingFirstY = 144,
                   MovingSecondY = 152, MovingCallbackX = 244, MovingCallbackY = 248;
// NonlinearityPoint
constexpr uint32_t PointSize = 24, PointX = 0, PointY = 4, PointValue = 8;
// FailureList entries
constexpr uint32_t FailureEntrySize = 12;
// MouseArea
constexpr uint32_t AreaSize = 44, AreaKind = 0, AreaX = 4, AreaY = 8, AreaW = 12, AreaH = 16, AreaCursor = 20,
                   AreaHelpId = 24, AreaFlags = 28, AreaEventId = 32, AreaAction = 36, AreaArgs = 40;
constexpr uint32_t AreaEnd = 0, AreaParent = 1, AreaChild = 2, AreaEndParent = 3, AreaTooltip = 4;
// Host function table entries the modules call.
constexpr uint32_t HostTriggerKeyEvent = 0x90, HostRefreshVariable = 0xa0;
// ImageFlags
constexpr uint32_t FlagHidden = 0x40000000;

}  // namespace gaugehost::rec
