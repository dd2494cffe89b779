// BrD3DVertexBuffer and BrD3DRenDev::CreateVertexBuffer: vertex storage, its pools and locking.
#include "plugins/render_d3d9/BrD3DVertexBuffer.h"

#include "core/brcr.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

BrD3DVertexBuffer::~BrD3DVertexBuffer() { Release(); }

unsigned int BrD3DVertexBuffer::StrideOf(unsigned long fvf) {
  unsigned int stride = 0;
  if (fvf & D3DFVF_XYZ) stride += 12;
  if (fvf & D3DFVF_XYZRHW) stride += 16;
  if (fvf & D3DFVF_NORMAL) stride += 12;
  if (fvf & D3DFVF_DIFFUSE) stride += 4;
  if (fvf & D3DFVF_TEX1) stride += 8;
  if (fvf & D3DFVF_TEX2) stride += 16;
  return stride;
}

bool BrD3DVertexBuffer::Populate(unsigned int offset, unsigned char* data, unsigned int bytes) {
  void* dest = nullptr;
  if (!m_pVB || !data || FAILED(m_pVB->Lock(offset, bytes, &dest, 0)) || !dest) {
    GLog.WriteLine("WARNING: Failed to populate vertex buffer");
    return false;
  }
  brMemCopy(dest, data, (int)bytes);
  m_pVB->Unlock();
  // A format of none of the sized components has no stride: the bytes count as no vertices.
  const unsigned int stride = StrideOf(m_ulFVF);
  if (stride > 0) m_uiNum += bytes / stride;
  return true;
}

void BrD3DVertexBuffer::Release() { brD3DReleaseAll(m_pVB); }

bool BrD3DVertexBuffer::Access(unsigned int offset, unsigned int bytes, unsigned char** out, unsigned long flags) {
  void* dest = nullptr;
  const DWORD lockFlags = flags == 1 ? D3DLOCK_DISCARD : (DWORD)flags;
  if (!m_pVB || !out || FAILED(m_pVB->Lock(offset, bytes, &dest, lockFlags))) {
    GLog.DebugWriteLine("EARROR: Failed to lock vertex buffer for access");
    return false;
  }
  *out = static_cast<unsigned char*>(dest);
  return true;
}

void BrD3DVertexBuffer::Update() {
  if (m_pVB) m_pVB->Unlock();
}

bool BrD3DRenDev::CreateVertexBuffer(BrVertexBufferBase** out, unsigned int bytes, DWORD fvf, eMemPool pool,
                                     eResUsage usage) {
  if (!out) return false;
  DWORD d3dUsage = usage == eResUsageDynamic ? D3DUSAGE_DYNAMIC : 0;
  D3DPOOL d3dPool;
  if (pool == eMemPoolManaged) {
    if (usage == eResUsageDynamic) {
      GLog.DebugWriteLine("WARNING: Dynamic vertex buffer requested as a managed resource. Moving to SYSTEMMEM");
      d3dPool = D3DPOOL_SYSTEMMEM;
    } else {
      d3dPool = D3DPOOL_MANAGED;
    }
  } else if (pool == eMemPoolSystem) {
    d3dPool = D3DPOOL_SYSTEMMEM;
  } else {
    d3dPool = D3DPOOL_DEFAULT;
  }
  BrD3DVertexBuffer* vb = new BrD3DVertexBuffer();
  if (!m_pd3dDevice ||
      FAILED(m_pd3dDevice->CreateVertexBuffer(bytes, d3dUsage, fvf, d3dPool, &vb->Buffer(), nullptr)) ||
      !vb->Buffer()) {
    GLog.printf("WARNING: Failed to create vertex buffer, size %i bytes", (int)bytes);
    delete vb;
    return false;
  }
  vb->FVFFlags() = fvf;
  *out = vb;
  return true;
}
