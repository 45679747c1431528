// gauge.h: what each gauge module defines for the frame, and everything it may use.
// The frame owns Linkage, ImportTable, the header, the service callback and the sound
// binding; a gauge contributes only the parts below.
#pragma once
#include "frame/elements.h"
#include "frame/host.h"
#include "frame/linkage.h"
#include "frame/mouse.h"
#include "frame/text.h"
#include "frame/variable.h"

// The gauge's name, equal to the module file name without ".gau".
extern const char GaugeName[];
// Bottom of the element chain: every gauge starts with a background bitmap.
extern StaticImageElement RootElement;
// Parent, tooltip, children, end of parent, end of list.
extern MouseArea MouseAreas[];
// Module variables in refresh order, ended by a null pointer.
extern VariableRecord* const ModuleVariables[];
// Run at every update, after the module variables are refreshed.
void UpdateStep(void);
// Run once per load of the module, at the first pre-draw.
void FirstDrawSetup(void);

// Set once the first pre-draw has run FirstDrawSetup; never cleared.
extern uint32_t FirstDrawFlag;
