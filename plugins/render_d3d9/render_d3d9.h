// The public face of the rendering plug-in GfxDrv: its device and the resources it hands out.
#pragma once

#include "plugins/render_d3d9/BrD3DEffector.h"
#include "plugins/render_d3d9/BrD3DEffectorMgr.h"
#include "plugins/render_d3d9/BrD3DIndexBuffer.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"
#include "plugins/render_d3d9/BrD3DRenderPass.h"
#include "plugins/render_d3d9/BrD3DTexture.h"
#include "plugins/render_d3d9/BrD3DTextureMgr.h"
#include "plugins/render_d3d9/BrD3DVertexBuffer.h"
