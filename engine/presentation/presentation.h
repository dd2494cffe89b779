// The public face of the engine presentation: the abstract rendering and audio devices and their resources.
#pragma once

#include "engine/presentation/BrAudioID.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrRenderTypes.h"
#include "engine/presentation/BrSoundFX.h"
#include "engine/presentation/BrTextureBase.h"
#include "engine/presentation/BrTextureMgrBase.h"
#include "engine/presentation/BrVertexBufferBase.h"
