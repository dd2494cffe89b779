// BrIndexBufferBase: the abstract index buffer a rendering device hands out.
#pragma once

#include <cstdint>

#include "engine/presentation/BrRenderTypes.h"

class BrIndexBufferBase {
public:
  // Size 0, no indices, last index -1, format 0.
  BrIndexBufferBase() : m_uiSize(0), m_uiNumIndices(0), m_iLastIndex(-1), m_Format(eIDXFormatNone) {}
  BrIndexBufferBase(const BrIndexBufferBase&) = default;
  BrIndexBufferBase& operator=(const BrIndexBufferBase&) = default;
  virtual ~BrIndexBufferBase() {}

  // Appends after the last index written; when discard is true or the data does not fit, the buffer is
  // discarded and written from its start. The last index advances by the indices written.
  virtual eLockResult Populate(unsigned char* data, unsigned int sizeInBytes, bool discard) = 0;
  virtual void Release() = 0;

  unsigned int GetSizeInBytes() const { return m_uiSize; }
  void SetSizeInBytes(unsigned int size) { m_uiSize = size; }
  unsigned int GetNumIndices() const { return m_uiNumIndices; }
  void SetNumIndices(unsigned int n) { m_uiNumIndices = n; }
  int GetLastIndex() const { return m_iLastIndex; }
  void SetLastIndex(int i) { m_iLastIndex = i; }
  eIDXFormat GetFormat() const { return m_Format; }
  void SetFormat(eIDXFormat f) { m_Format = f; }

protected:
  uint32_t m_uiSize;
  uint32_t m_uiNumIndices;
  int32_t m_iLastIndex;
  eIDXFormat m_Format;
};
