// BrD3DIndexBuffer and BrD3DRenDev::CreateIndexBuffer: index storage appended with no-overwrite locks.
#include "plugins/render_d3d9/BrD3DIndexBuffer.h"

#include "core/brcr.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

BrD3DIndexBuffer::~BrD3DIndexBuffer() { Release(); }

eLockResult BrD3DIndexBuffer::Populate(unsigned char* data, unsigned int bytes, bool discard) {
  if (!data || bytes > m_uiSize) {
    GLog.WriteLine("ERROR: BrD3DIndexBuffer::Populate(..) was passed invalid parameters");
    return eLockFailed;
  }
  const unsigned int indexSize = m_Format == eIDXFormat16 ? 2u : 4u;
  const int start = m_iLastIndex + 1 > 0 ? m_iLastIndex + 1 : 0;
  const unsigned int offset = (unsigned int)start * indexSize;
  void* dest = nullptr;
  eLockResult result;
  HRESULT hr;
  if (discard || offset > m_uiSize || m_uiSize - offset < bytes) {
    m_iLastIndex = -1;
    result = eLockDiscarded;
    hr = m_pIB ? m_pIB->Lock(0, bytes, &dest, D3DLOCK_DISCARD) : D3DERR_INVALIDCALL;
  } else {
    result = eLockAppended;
    hr = m_pIB ? m_pIB->Lock(offset, bytes, &dest, D3DLOCK_NOOVERWRITE) : D3DERR_INVALIDCALL;
  }
  if (FAILED(hr) || !dest) {
    GLog.WriteLine("WARNING: Failed to populate index buffer");
    return eLockFailed;
  }
  brMemCopy(dest, data, (int)bytes);
  m_pIB->Unlock();
  if (m_Format == eIDXFormat16) {
    m_iLastIndex += (int)(bytes / 2);
  } else if (m_Format == eIDXFormat32) {
    m_iLastIndex += (int)(bytes / 4);
  } else {
    return eLockFailed;
  }
  return result;
}

void BrD3DIndexBuffer::Release() { brD3DReleaseAll(m_pIB); }

bool BrD3DRenDev::CreateIndexBuffer(BrIndexBufferBase** out, unsigned int bytes, eIDXFormat format, eMemPool pool) {
  if (!out) return false;
  D3DPOOL d3dPool;
  DWORD usage;
  if (pool == eMemPoolManaged) {
    // Direct3D refuses dynamic buffers in the managed pool: a managed index buffer is a static one.
    d3dPool = D3DPOOL_MANAGED;
    usage = 0;
  } else if (pool == eMemPoolSystem) {
    d3dPool = D3DPOOL_SYSTEMMEM;
    usage = D3DUSAGE_DYNAMIC;
  } else {
    d3dPool = D3DPOOL_DEFAULT;
    usage = D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY;
  }
  const D3DFORMAT d3dFormat = format == eIDXFormat32 ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
  BrD3DIndexBuffer* ib = new BrD3DIndexBuffer();
  if (!m_pd3dDevice ||
      FAILED(m_pd3dDevice->CreateIndexBuffer(bytes, usage, d3dFormat, d3dPool, &ib->Buffer(), nullptr)) ||
      !ib->Buffer()) {
    GLog.printf("WARNING: Failed to create index buffer, size %i bytes", (int)bytes);
    delete ib;
    return false;
  }
  *out = ib;
  ib->SetSizeInBytes(bytes);
  ib->SetLastIndex(-1);
  ib->SetFormat(format);
  if (format == eIDXFormat16) {
    ib->SetNumIndices(bytes / 2);
  } else if (format == eIDXFormat32) {
    ib->SetNumIndices(bytes / 4);
  } else {
    // The caller holds the buffer (made 16-bit) through the out-pointer already and deletes it.
    GLog.WriteLine("ERROR: Invalid index format passed to BrD3DRenDev::CreateIndexBuffer(..)");
    return false;
  }
  return true;
}
