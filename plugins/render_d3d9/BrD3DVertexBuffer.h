// BrD3DVertexBuffer: a vertex buffer of the Direct3D 9 device.
#pragma once

#include "engine/presentation/BrVertexBufferBase.h"
#include "platform/d3d9/d3d9.h"

// Made by BrD3DRenDev::CreateVertexBuffer, owned (and deleted) by the caller. Release gives up only the
// Direct3D buffer; the object stays until its owner deletes it.
class BrD3DVertexBuffer : public BrVertexBufferBase {
public:
  BrD3DVertexBuffer() : m_pVB(nullptr) {}
  BrD3DVertexBuffer(const BrD3DVertexBuffer&) = delete;
  BrD3DVertexBuffer& operator=(const BrD3DVertexBuffer&) = delete;
  // Releases the Direct3D buffer still held.
  ~BrD3DVertexBuffer() override;

  // Copies bytes at the offset and adds the whole vertices copied to the count; false when the lock fails.
  bool Populate(unsigned int offset, unsigned char* data, unsigned int bytes) override;
  void Release() override;
  // Locks the range (flags 1: discard; others go to Direct3D unchanged); the caller writes and calls Update.
  bool Access(unsigned int offset, unsigned int bytes, unsigned char** out, unsigned long flags) override;
  // Unlocks.
  void Update() override;

  IDirect3DVertexBuffer9*& Buffer() { return m_pVB; }
  // Bytes a vertex of the flags takes: position 12, transformed position 16, normal 12, colour 4, one
  // texture set 8, two sets 16.
  static unsigned int StrideOf(unsigned long fvf);

private:
  IDirect3DVertexBuffer9* m_pVB;
};
