// BrLightMgr: lights by index in slots that a removed light frees for the next one.
#include "engine/presentation/BrLightMgr.h"

#include "core/brcr.h"
#include "engine/presentation/BrLightBase.h"

BrLightMgr::~BrLightMgr() { DestroyLightList(); }

int BrLightMgr::AddLight(BrLightBase* light) {
  if (!light) {
    GLog.DebugPrintf("WARNING: NULL light add attempt");
    return -1;
  }
  for (int i = 0; i < m_Lights.GetCount(); ++i) {
    if (!m_Lights[i]) {
      m_Lights[i] = light;
      return i;
    }
  }
  return m_Lights.Add(light);
}

void BrLightMgr::RemoveLight(int index) {
  if (index < 0 || index >= m_Lights.GetCount() || !m_Lights[index]) return;
  delete m_Lights[index];
  m_Lights[index] = nullptr;
}

BrLightBase* BrLightMgr::GetLight(int index) {
  if (index >= 0 && index < m_Lights.GetCount()) return m_Lights[index];
  GLog.DebugPrintf("WARNING: Invalid light index in BrLightMgr::GetLight(%i)", index);
  return nullptr;
}

void BrLightMgr::DestroyLightList() {
  for (int i = 0; i < m_Lights.GetCount(); ++i) RemoveLight(i);
  m_Lights.Clear();
}
