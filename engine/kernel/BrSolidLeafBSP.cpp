// BrSolidLeafBSP: construction, copying and emptying of the tree's tables.
#include "engine/kernel/BrSolidLeafBSP.h"

BR_IMPLEMENT_CLASS(BrSolidLeafBSP, BrGameObj)

BrSolidLeafBSP::BrSolidLeafBSP() {}

BrSolidLeafBSP::BrSolidLeafBSP(const BrSolidLeafBSP& other)
    : BrGameObj(other),
      m_Points(other.m_Points),
      m_PlaneNormals(other.m_PlaneNormals),
      m_PlaneDistances(other.m_PlaneDistances),
      m_FrontChildren(other.m_FrontChildren),
      m_BackChildren(other.m_BackChildren),
      m_NodePlanes(other.m_NodePlanes),
      m_Leaves(other.m_Leaves) {}

BrSolidLeafBSP& BrSolidLeafBSP::operator=(const BrSolidLeafBSP& other) {
  if (this == &other) return *this;
  BrGameObj::operator=(other);
  m_Points = other.m_Points;
  m_PlaneNormals = other.m_PlaneNormals;
  m_PlaneDistances = other.m_PlaneDistances;
  m_FrontChildren = other.m_FrontChildren;
  m_BackChildren = other.m_BackChildren;
  m_NodePlanes = other.m_NodePlanes;
  m_Leaves = other.m_Leaves;
  return *this;
}

BrSolidLeafBSP::~BrSolidLeafBSP() { BrSolidLeafBSP::Destroy(); }

void BrSolidLeafBSP::Destroy() {
  m_Points.Clear();
  m_PlaneNormals.Clear();
  m_PlaneDistances.Clear();
  m_FrontChildren.Clear();
  m_BackChildren.Clear();
  m_NodePlanes.Clear();
  m_Leaves.Clear();
}

int BrSolidLeafBSP::GetLeaf(BrVector) { return -1; }

int BrSolidLeafBSP::GetTableEntries() const {
  return m_Points.GetCount() + m_PlaneNormals.GetCount() + m_PlaneDistances.GetCount() + m_FrontChildren.GetCount() +
         m_BackChildren.GetCount() + m_NodePlanes.GetCount() + m_Leaves.GetCount();
}
