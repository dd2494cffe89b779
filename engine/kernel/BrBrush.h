// BrBrushFace, BrBrush and BrBrushList: convex brush geometry held as faces, bounds, orientation and a BSP tree.
#pragma once

#include "core/BrMatrix3.h"
#include "core/BrVector.h"
#include "engine/kernel/BrAABB.h"
#include "engine/kernel/BrGameObj.h"
#include "engine/kernel/BrSolidLeafBSP.h"
#include "templates/TDArray.h"

// One face of a brush: its points and a vector (the face normal), zero at construction.
class BrBrushFace {
public:
  BrBrushFace() {}
  BrBrushFace(const BrBrushFace&) = default;
  BrBrushFace& operator=(const BrBrushFace&) = default;
  virtual ~BrBrushFace() {}

  TDArray<BrVector> m_Points;
  BrVector m_Normal;
};

// A convex brush. Only the game object's part is saved.
class BrBrush : public BrGameObj {
  BR_DECLARE_CLASS(BrBrush)
public:
  // Empty bounds, identity orientation, an empty tree, no faces.
  BrBrush();
  BrBrush(const BrBrush& other);
  BrBrush& operator=(const BrBrush& other);
  // Runs Destroy.
  ~BrBrush() override;

  // The game object's form.
  void Serialize(BrBin& bin) override;
  // Empties the tree, every face's points, then the faces.
  void Destroy() override;

  BrAABB& Bounds() { return m_Bounds; }
  BrMatrix3& Orientation() { return m_Orientation; }
  BrSolidLeafBSP& Tree() { return m_Tree; }
  TDArray<BrBrushFace>& Faces() { return m_Faces; }

protected:
  BrAABB m_Bounds;
  BrMatrix3 m_Orientation;
  BrSolidLeafBSP m_Tree;
  TDArray<BrBrushFace> m_Faces;
};

// A game object holding brushes; it owns them.
class BrBrushList : public BrGameObj {
  BR_DECLARE_CLASS(BrBrushList)
public:
  BrBrushList();
  // Copies every brush: each list owns its own.
  BrBrushList(const BrBrushList& other);
  BrBrushList& operator=(const BrBrushList& other);
  // Runs Destroy.
  ~BrBrushList() override;

  // Destroys and deletes every brush, then empties the list.
  void Destroy() override;
  // Takes ownership of brush; null is ignored.
  void AddBrush(BrBrush* brush);
  int GetNumBrushes() const { return m_Brushes.GetCount(); }
  BrBrush* GetBrush(int i) { return i >= 0 && i < m_Brushes.GetCount() ? m_Brushes[i] : nullptr; }

protected:
  TDArray<BrBrush*> m_Brushes;
};
