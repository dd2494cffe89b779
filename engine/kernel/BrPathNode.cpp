// BrPathNode: construction, copying and the empty archive form of a path node.
#include "engine/kernel/BrPathNode.h"

BR_IMPLEMENT_CLASS(BrPathNode, BrObject)

BrPathNode::BrPathNode() : m_iValue(0) {}

BrPathNode::BrPathNode(const BrVector& position) : m_Position(position), m_iValue(0) {}

BrPathNode::BrPathNode(const BrPathNode& other)
    : BrObject(other), m_Position(other.m_Position), m_Links(other.m_Links), m_iValue(other.m_iValue) {}

BrPathNode& BrPathNode::operator=(const BrPathNode& other) {
  if (this == &other) return *this;
  BrObject::operator=(other);
  m_Position = other.m_Position;
  m_Links = other.m_Links;
  m_iValue = other.m_iValue;
  return *this;
}

BrPathNode::~BrPathNode() { Destroy(); }

// The network is rebuilt by the map from its cells, so nothing of a node is worth storing.
void BrPathNode::Serialize(BrBin&) {}
