// BrD3DIndexBuffer: an index buffer of the Direct3D 9 device, appended to like a ring that restarts.
#pragma once

#include "engine/presentation/BrIndexBufferBase.h"
#include "platform/d3d9/d3d9.h"

// Made by BrD3DRenDev::CreateIndexBuffer, owned (and deleted) by the caller.
class BrD3DIndexBuffer : public BrIndexBufferBase {
public:
  BrD3DIndexBuffer() : m_pIB(nullptr) {}
  BrD3DIndexBuffer(const BrD3DIndexBuffer&) = delete;
  BrD3DIndexBuffer& operator=(const BrD3DIndexBuffer&) = delete;
  // Releases the Direct3D buffer still held.
  ~BrD3DIndexBuffer() override;

  // Appends after the last index (1), or restarts at the buffer's start when discard is asked or the data
  // does not fit (2: earlier indices are gone); 0 on failure, with nothing changed.
  eLockResult Populate(unsigned char* data, unsigned int bytes, bool discard) override;
  void Release() override;

  IDirect3DIndexBuffer9*& Buffer() { return m_pIB; }

private:
  IDirect3DIndexBuffer9* m_pIB;
};
