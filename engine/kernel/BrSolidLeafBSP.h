// BrSolidLeafBSP: the tables of a solid-leaf BSP tree; the engine keeps them but builds no tree.
#pragma once

#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrGameObj.h"
#include "templates/TDArray.h"

// A data holder: seven tables, all empty until a tree builder fills them. No point lies in a leaf.
class BrSolidLeafBSP : public BrGameObj {
  BR_DECLARE_CLASS(BrSolidLeafBSP)
public:
  BrSolidLeafBSP();
  // Copies every table.
  BrSolidLeafBSP(const BrSolidLeafBSP& other);
  BrSolidLeafBSP& operator=(const BrSolidLeafBSP& other);
  // Runs Destroy.
  ~BrSolidLeafBSP() override;

  // Empties the seven tables.
  void Destroy() override;
  // Always -1: no leaf.
  int GetLeaf(BrVector point);
  // Total entries across the seven tables.
  int GetTableEntries() const;

  TDArray<BrVector> m_Points;
  TDArray<BrVector> m_PlaneNormals;
  TDArray<float> m_PlaneDistances;
  TDArray<int32_t> m_FrontChildren;
  TDArray<int32_t> m_BackChildren;
  TDArray<int32_t> m_NodePlanes;
  TDArray<int32_t> m_Leaves;
};
