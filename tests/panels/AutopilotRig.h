#pragma once

#include "PanelRig.h"
#include "panels/CPanelClass_Autopilot.h"

using AutopilotRig = PanelRig<CPanelClass_Autopilot, panels::autopilot_panel::kInputReportLength>;
