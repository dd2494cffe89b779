// BrVertexBufferBase: the abstract vertex buffer a rendering device hands out.
#pragma once

#include <cstdint>

class BrVertexBufferBase {
public:
  // Flags and count 0.
  BrVertexBufferBase() : m_ulFVF(0), m_uiNum(0) {}
  // Sets the flags only; the device sets the count.
  explicit BrVertexBufferBase(unsigned long fvf) : m_ulFVF(fvf), m_uiNum(0) {}
  BrVertexBufferBase(const BrVertexBufferBase&) = default;
  BrVertexBufferBase& operator=(const BrVertexBufferBase&) = default;
  virtual ~BrVertexBufferBase() {}

  // Copies data into the buffer at the offset.
  virtual bool Populate(unsigned int offsetInBytes, unsigned char* data, unsigned int sizeInBytes) = 0;
  virtual void Release() = 0;
  // Locks a range for writing.
  virtual bool Access(unsigned int offset, unsigned int size, unsigned char** data, unsigned long flags) = 0;
  // Unlocks.
  virtual void Update() = 0;

  // The vertex-format (FVF) bits.
  unsigned long& FVFFlags() { return m_ulFVF; }
  // The vertex count.
  unsigned int Num() const { return m_uiNum; }

protected:
  unsigned long m_ulFVF;
  unsigned int m_uiNum;
};
