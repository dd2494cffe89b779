// BrPathNode: one node of a map's higher-level path network, a position with links to the nodes it can see.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrClassFactory.h"
#include "templates/TDArray.h"

class BrPathNode;

// One link of a path node: the index of the node reached in the map's node array, and the distance to it. An
// index, not an address: the array moves its nodes whenever it grows or is copied.
struct BrPathLink {
  int32_t iNode = -1;
  float fDistance = 0.0f;
};

// A node of the path network. Its archive form is empty: a saved network keeps only its array header, and a
// loaded map rebuilds its nodes.
class BrPathNode : public BrObject {
  BR_DECLARE_CLASS(BrPathNode)
public:
  // Position (0, 0, 0), no links, value 0.
  BrPathNode();
  explicit BrPathNode(const BrVector& position);
  // Copies the position, the links and the value.
  BrPathNode(const BrPathNode& other);
  BrPathNode& operator=(const BrPathNode& other);
  ~BrPathNode() override;

  // Writes and reads nothing.
  void Serialize(BrBin& bin) override;

  // Nodes live by value in arrays, which construct them in place.
  using BrObject::operator new;
  using BrObject::operator delete;
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void*, void*) noexcept {}

  BrVector& Position() { return m_Position; }
  const BrVector& Position() const { return m_Position; }
  TDArray<BrPathLink>& Links() { return m_Links; }
  // The node's value; the map uses it as the exclusion flag (non-zero: dropped by ValidatePaths).
  int32_t& Value() { return m_iValue; }

protected:
  BrVector m_Position;
  TDArray<BrPathLink> m_Links;
  int32_t m_iValue;
};
