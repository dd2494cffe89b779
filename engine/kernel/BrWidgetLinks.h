// Which widget and effector classes the engine library holds: the world model reaches them only where they exist.
#pragma once

#if __has_include("engine/presentation/BrHUD.h") && __has_include("engine/presentation/BrCursor.h") && \
    __has_include("engine/presentation/BrMiniMap.h")
#define BR_HAVE_HUD 1
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#else
#define BR_HAVE_HUD 0
#endif

#if __has_include("engine/presentation/BrEffectorMgr.h")
#define BR_HAVE_EFFECTORS 1
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderPass.h"
#else
#define BR_HAVE_EFFECTORS 0
#endif
