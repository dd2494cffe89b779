// Vertex and index buffers: a system-memory copy behind Lock, sent to OpenGL at Unlock by the lock's kind.
#include <algorithm>
#include <cstring>

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Device.h"
#include "platform/d3d9/BrD3D9Resources.h"

namespace brd3d9 {

bool BufferStore::create(Core* core, GLenum kind, UINT size) {
  target = kind;
  if (!core->makeCurrent()) return false;
  bytes.assign(size, 0);
  glGenBuffers(1, &gl);
  // Uploads go through the copy-write binding so that no vertex-array binding is disturbed.
  glBindBuffer(GL_COPY_WRITE_BUFFER, gl);
  glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(size), bytes.data(), GL_DYNAMIC_DRAW);
  return glGetError() == GL_NO_ERROR;
}

HRESULT BufferStore::lock(const char* where, UINT offset, UINT size, void** data, DWORD flags) {
  if (faultInjected(BR_D3D9_FAIL_LOCK)) return invalidCall(where, "lock failure injected");
  if (!data) return invalidCall(where, "null data pointer");
  if (locked) return invalidCall(where, "already locked");
  const size_t total = bytes.size();
  if (offset > total) return invalidCall(where, "offset past the end of the buffer");
  if (size == 0) size = UINT(total - offset);
  if (size > total - offset) return invalidCall(where, "range past the end of the buffer");
  *data = bytes.data() + offset;
  locked = true;
  lockOffset = offset;
  lockSize = size;
  lockFlags = flags;
  return D3D_OK;
}

HRESULT BufferStore::unlock(Core* core, const char* where) {
  if (!locked) return invalidCall(where, "not locked");
  locked = false;
  if ((lockFlags & D3DLOCK_READONLY) || lockSize == 0) return D3D_OK;
  if (lockFlags & D3DLOCK_DISCARD) {
    if (!core->makeCurrent()) return D3D_OK;
    // Fresh storage: draws already queued keep reading the old one, nothing waits. A discard leaves what the
    // buffer held undefined, so only the bytes written since the last draw go into it (this lock's and any
    // still waiting for a draw), not the whole copy: a stream of small batches through a large buffer.
    UINT begin = lockOffset, end = lockOffset + lockSize;
    if (pendingEnd > pendingBegin) {
      begin = std::min(begin, pendingBegin);
      end = std::max(end, pendingEnd);
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, gl);
    // Invalidating the whole buffer through the map lets the driver hand out fresh storage only where the old
    // is still in use, instead of allocating (and clearing) a new store every time.
    void* dst = glMapBufferRange(GL_COPY_WRITE_BUFFER, GLintptr(begin), GLsizeiptr(end - begin),
                                 GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    if (dst) {
      std::memcpy(dst, bytes.data() + begin, end - begin);
      glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    } else {
      glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(bytes.size()), nullptr, GL_DYNAMIC_DRAW);
      glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(begin), GLsizeiptr(end - begin), bytes.data() + begin);
    }
    pendingBegin = pendingEnd = 0;
    pendingSync = false;
    return D3D_OK;
  }
  if (pendingEnd == pendingBegin) {
    core->pendingBuffers.push_back(this);
    pendingBegin = lockOffset;
    pendingEnd = lockOffset + lockSize;
  } else {
    pendingBegin = std::min(pendingBegin, lockOffset);
    pendingEnd = std::max(pendingEnd, lockOffset + lockSize);
  }
  pendingSync = pendingSync || !(lockFlags & D3DLOCK_NOOVERWRITE);
  return D3D_OK;
}

void BufferStore::upload() {
  if (pendingEnd <= pendingBegin) return;
  glBindBuffer(GL_COPY_WRITE_BUFFER, gl);
  const uint8_t* src = bytes.data() + pendingBegin;
  const UINT size = pendingEnd - pendingBegin;
  void* dst = nullptr;
  // Only promised-free bytes (and bytes between them, equal to what OpenGL holds): written without
  // synchronising with queued draws.
  if (!pendingSync)
    dst = glMapBufferRange(GL_COPY_WRITE_BUFFER, GLintptr(pendingBegin), GLsizeiptr(size),
                           GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
  if (dst) {
    std::memcpy(dst, src, size);
    glUnmapBuffer(GL_COPY_WRITE_BUFFER);
  } else {
    glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(pendingBegin), GLsizeiptr(size), src);
  }
  pendingBegin = pendingEnd = 0;
  pendingSync = false;
}

void Core::uploadPendingBuffers() {
  for (BufferStore* b : pendingBuffers) b->upload();
  pendingBuffers.clear();
}

void Core::forgetPending(BufferStore* store) {
  pendingBuffers.erase(std::remove(pendingBuffers.begin(), pendingBuffers.end(), store), pendingBuffers.end());
}

void BufferStore::destroy(Core* core) {
  core->forgetPending(this);
  if (gl && core->makeCurrent()) {
    core->forgetGlBuffer(gl);
    glDeleteBuffers(1, &gl);
  }
  gl = 0;
}

// ---- Vertex buffers ----

VertexBuffer::VertexBuffer(Core* c, UINT s, DWORD u, DWORD f, D3DPOOL p) : core(c), size(s), usage(u), fvf(f), pool(p) {
  core->retain();
}

VertexBuffer::~VertexBuffer() = default;

void VertexBuffer::finalRelease() {
  core->unbind(this);
  store.destroy(core);
  core->drop();
  bury(this);
}

HRESULT VertexBuffer::GetDevice(IDirect3DDevice9** device) { return Device::handOut(core, device); }

HRESULT VertexBuffer::Lock(UINT offset, UINT lockSize, void** data, DWORD flags) {
  return store.lock("IDirect3DVertexBuffer9::Lock", offset, lockSize, data, flags);
}

HRESULT VertexBuffer::Unlock() { return store.unlock(core, "IDirect3DVertexBuffer9::Unlock"); }

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
  if (!desc) return invalidCall("IDirect3DVertexBuffer9::GetDesc", "null description");
  *desc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, size, fvf};
  return D3D_OK;
}

// ---- Index buffers ----

IndexBuffer::IndexBuffer(Core* c, UINT s, DWORD u, D3DFORMAT f, D3DPOOL p)
    : core(c), size(s), usage(u), format(f), pool(p) {
  core->retain();
}

IndexBuffer::~IndexBuffer() = default;

void IndexBuffer::finalRelease() {
  core->unbind(this);
  store.destroy(core);
  core->drop();
  bury(this);
}

HRESULT IndexBuffer::GetDevice(IDirect3DDevice9** device) { return Device::handOut(core, device); }

HRESULT IndexBuffer::Lock(UINT offset, UINT lockSize, void** data, DWORD flags) {
  return store.lock("IDirect3DIndexBuffer9::Lock", offset, lockSize, data, flags);
}

HRESULT IndexBuffer::Unlock() { return store.unlock(core, "IDirect3DIndexBuffer9::Unlock"); }

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
  if (!desc) return invalidCall("IDirect3DIndexBuffer9::GetDesc", "null description");
  *desc = {format, D3DRTYPE_INDEXBUFFER, usage, pool, size};
  return D3D_OK;
}

}  // namespace brd3d9
