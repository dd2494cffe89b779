// BrD3DRenderPass: one pass of a Direct3D 9 effector: the base pass with its vertex shader and declaration.
#pragma once

#include "engine/presentation/BrRenderPass.h"
#include "platform/d3d9/d3d9.h"

// The shader and declaration belong to the device's shader cache, which releases them; a pass never does.
class BrD3DRenderPass : public BrRenderPass {
public:
  BrD3DRenderPass() : m_pDecl(nullptr), m_pShader(nullptr) {}
  BrD3DRenderPass(const BrD3DRenderPass&) = default;
  BrD3DRenderPass& operator=(const BrD3DRenderPass&) = default;
  ~BrD3DRenderPass() { Destroy(); }

  // Texture id and second word -1, shader and declaration forgotten.
  void Destroy() {
    m_iTexture = -1;
    m_iValue = -1;
    m_pDecl = nullptr;
    m_pShader = nullptr;
  }

  IDirect3DVertexDeclaration9* m_pDecl;
  IDirect3DVertexShader9* m_pShader;
};
