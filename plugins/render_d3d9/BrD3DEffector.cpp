// BrD3DEffector and BrD3DEffectorMgr: passes compiled through the device, copies and registration by name.
#include "plugins/render_d3d9/BrD3DEffector.h"

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrRenderBase.h"
#include "plugins/render_d3d9/BrD3DEffectorMgr.h"

void BrD3DEffector::Reset() {
  for (int i = 0; i < m_Passes.GetCount(); ++i) m_Passes[i].Destroy();
  m_Passes.Clear();
}

BrRenderPass* BrD3DEffector::AddPass(const BrStringT<char>& shaderText) {
  BrD3DRenderPass pass;
  pass.m_iTexture = 0;
  pass.m_iValue = 0;
  pass.m_uiFlags = 0;
  BrStringT<char> text(shaderText);
  BrRenderBase* render = Engine().Render();
  void* shader = nullptr;
  void* decl = nullptr;
  if (render && render->CompileShader(text, &shader, &decl)) {
    pass.m_pShader = static_cast<IDirect3DVertexShader9*>(shader);
    pass.m_pDecl = static_cast<IDirect3DVertexDeclaration9*>(decl);
    const int index = m_Passes.Add(pass);
    return &m_Passes[index];
  }
  GLog.DebugPrintf("ERROR: Failed to add render pass %s", text.c_str() ? text.c_str() : "");
  return nullptr;
}

BrRenderPass* BrD3DEffector::GetPass(int index) {
  if (index >= 0 && index < m_Passes.GetCount()) return &m_Passes[index];
  GLog.DebugWriteLine("ERROR: Requested invalid pass index from effector");
  return nullptr;
}

bool BrD3DEffector::IsProgrammable() {
  for (int i = 0; i < m_Passes.GetCount(); ++i)
    if (m_Passes[i].m_pShader) return true;
  return false;
}

bool BrD3DEffector::operator==(const BrD3DEffector& other) const {
  // The whole list: an effector with more or fewer passes is a different material, even when the passes
  // both have are alike.
  if (other.m_Passes.GetCount() != m_Passes.GetCount()) return false;
  for (int i = 0; i < m_Passes.GetCount(); ++i)
    if (!(static_cast<const BrRenderPass&>(m_Passes[i]) == static_cast<const BrRenderPass&>(other.m_Passes[i])))
      return false;
  return BrEffector::operator==(other);
}

int BrD3DEffectorMgr::AddEffector(BrStringT<char>& name, BrEffector* effector) {
  if (!effector) return -1;
  const unsigned int id = GetEffector(name);
  if (id != 0) {
    BrEffector** slot = GetEffector(id);
    BrD3DEffector* registered = slot ? dynamic_cast<BrD3DEffector*>(*slot) : nullptr;
    BrD3DEffector* offered = dynamic_cast<BrD3DEffector*>(effector);
    // The very effector registered under the name again: a second entry would be deleted twice at exit.
    if (registered && registered == offered) return (int)id;
    if (registered && offered && *registered == *offered) {
      delete effector;
      return (int)id;
    }
  }
  const int index = Register(name, effector);
  m_Effectors.FreeExtra();
  return index;
}

int BrD3DEffectorMgr::AddEffector(BrStringT<char>&, const BrStringT<char>& script, eFXRep format) {
  if (script.Length() == 0) {
    GLog.DebugWriteLine("ERROR: Empty script sent to BrEffectorMgr::AddEffector(...)");
    return -1;
  }
  if (format == eFXRepShaderScript) {
    GLog.DebugPrintf("*** Q3A Shader script:\n\t%s", script.c_str());
    return -1;
  }
  GLog.DebugWriteLine("ERROR: Unknown script format passed to BrEffectorMgr::AddEffector(...)");
  return -1;
}

BrEffector* BrD3DEffectorMgr::CreateEffector(const BrStringT<char>& name) {
  if (name == BrStringT<char>("ShaderDefault")) return CloneEffector(0);
  if (name == BrStringT<char>("Shader3dLine")) return CloneEffector(1);
  if (name == BrStringT<char>("Shader2d")) return CloneEffector(2);
  return CloneEffector((int)GetEffector(name));
}

BrEffector* BrD3DEffectorMgr::CreateEffector() { return new BrD3DEffector(); }

BrD3DEffector* BrD3DEffectorMgr::CloneEffector(int id) {
  BrEffector** slot = GetEffector((unsigned int)id);
  if (id < 0 || !slot || !*slot) return nullptr;
  BrD3DEffector* source = dynamic_cast<BrD3DEffector*>(*slot);
  if (!source) return nullptr;
  return new BrD3DEffector(*source);
}
