// BrD3DEffector: a Direct3D 9 material: a list of vertex-shader passes.
#pragma once

#include "engine/presentation/BrEffector.h"
#include "plugins/render_d3d9/BrD3DRenderPass.h"
#include "templates/TDArray.h"

// Copies share the passes' shaders and declarations (the device's shader cache owns them).
class BrD3DEffector : public BrEffector {
public:
  BrD3DEffector() {}
  BrD3DEffector(const BrD3DEffector&) = default;
  BrD3DEffector& operator=(const BrD3DEffector&) = default;
  ~BrD3DEffector() override {}

  // Destroys every pass and empties the list.
  void Reset() override;
  // Compiles the text through the engine's rendering device and appends a pass; null (logged) when the
  // shader cannot be made, and the effector is left without it.
  BrRenderPass* AddPass(const BrStringT<char>& shaderText) override;
  // Null (logged) for an index outside the list.
  BrRenderPass* GetPass(int index) override;
  // True when any pass has a vertex shader.
  bool IsProgrammable() override;
  int NumPasses() const { return m_Passes.GetCount(); }

  // Equal passes (texture, second word, flags) over this effector's passes, then the base's word.
  bool operator==(const BrD3DEffector& other) const;

private:
  TDArray<BrD3DRenderPass> m_Passes;
};
