#pragma once

#include "PanelRig.h"
#include "panels/CPanelClass_Switch.h"

using SwitchRig = PanelRig<CPanelClass_Switch, panels::switch_panel::kInputReportLength>;
