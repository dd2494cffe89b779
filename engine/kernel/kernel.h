// The public face of the engine kernel: the engine, its factory, configuration, state machine, profiler and devices.
#pragma once

#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrClassFactory.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrFmtParseBase.h"
#include "engine/kernel/BrIpDevBase.h"
#include "engine/kernel/BrPlugin.h"
#include "engine/kernel/BrProfiler.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/kernel/BrStateMachine.h"
#include "engine/kernel/BrW32WindowMgr.h"
