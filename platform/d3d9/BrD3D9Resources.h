// The resource objects of the device: buffers, textures, surfaces, vertex shaders and declarations.
#pragma once

#include <epoxy/gl.h>

#include <vector>

#include "platform/d3d9/BrD3D9Internal.h"
#include "platform/d3d9/BrVsProgram.h"

namespace brd3d9 {

class Core;

// GPU storage with a system-memory copy behind Lock and Unlock, shared by vertex and index buffers. The bytes
// of unlocks go to OpenGL at the next draw, the locks since the last draw as one range: a sprite batch written
// sprite by sprite is one upload, not one for each sprite.
struct BufferStore {
  GLuint gl = 0;
  GLenum target = GL_ARRAY_BUFFER;
  std::vector<uint8_t> bytes;
  bool locked = false;
  UINT lockOffset = 0, lockSize = 0;
  DWORD lockFlags = 0;
  // Bytes pendingBegin..pendingEnd-1 changed since OpenGL last took them; pendingSync: some of them came from
  // a lock that did not promise to leave queued draws' bytes alone, so the upload must keep OpenGL's order.
  UINT pendingBegin = 0, pendingEnd = 0;
  bool pendingSync = false;

  bool create(Core* core, GLenum target, UINT size);
  HRESULT lock(const char* where, UINT offset, UINT size, void** data, DWORD flags);
  HRESULT unlock(Core* core, const char* where);
  // Sends OpenGL the pending bytes (the context is current).
  void upload();
  void destroy(Core* core);
};

class VertexBuffer final : public RefCounted<IDirect3DVertexBuffer9>, public Buried {
public:
  VertexBuffer(Core* core, UINT size, DWORD usage, DWORD fvf, D3DPOOL pool);
  ~VertexBuffer() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
  HRESULT Unlock() override;
  HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

  Core* core;
  BufferStore store;
  UINT size;
  DWORD usage, fvf;
  D3DPOOL pool;

protected:
  void finalRelease() override;
};

class IndexBuffer final : public RefCounted<IDirect3DIndexBuffer9>, public Buried {
public:
  IndexBuffer(Core* core, UINT size, DWORD usage, D3DFORMAT format, D3DPOOL pool);
  ~IndexBuffer() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
  HRESULT Unlock() override;
  HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;
  UINT indexSize() const { return format == D3DFMT_INDEX32 ? 4 : 2; }

  Core* core;
  BufferStore store;
  UINT size;
  DWORD usage;
  D3DFORMAT format;
  D3DPOOL pool;

protected:
  void finalRelease() override;
};

// A 2D texture. A texture OpenGL holds keeps a system-memory copy of a level only while something needs it:
// from LockRect to UnlockRect, which sends the changed level to OpenGL and lets the copy go. A texture locked
// again after its copy went (one rewritten at run time) reads the level back once and keeps its copy from then
// on. System-memory textures are their copy.
class Texture final : public RefCounted<IDirect3DTexture9>, public Buried {
public:
  Texture(Core* core, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
  ~Texture() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
  DWORD GetLevelCount() override { return DWORD(levels.size()); }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  struct Level {
    UINT width, height;
    std::vector<uint8_t> texels;  // width * 4 bytes a row, top row first; empty while OpenGL holds the only copy
    bool locked = false;
    bool dirty = false;  // the copy has changes OpenGL has not
    bool inGl = false;   // OpenGL holds the level's texels (before, its storage is undefined)
  };
  // The level's texels as they are now, from the copy or read back from OpenGL (zeros before any were set).
  void readLevel(UINT level, std::vector<uint8_t>& out);

  Core* core;
  std::vector<Level> levels;
  DWORD usage;
  D3DFORMAT format;
  D3DPOOL pool;
  GLuint gl = 0;
  bool anyDirty = true;   // a level must reach OpenGL before the next draw with the texture
  bool keepCopy = false;  // rewritten at run time: the copy stays

protected:
  void finalRelease() override;
};

// A system-memory image (off-screen plain surfaces) or the stand-in of the back buffer.
class Surface final : public RefCounted<IDirect3DSurface9>, public Buried {
public:
  Surface(Core* core, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, bool backBuffer);
  ~Surface() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
  HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect() override;

  Core* core;
  UINT width, height;
  D3DFORMAT format;
  D3DPOOL pool;
  bool backBuffer;
  bool ownerAlive;  // back buffer only: the device still holds it
  bool locked = false;
  std::vector<uint8_t> texels;

  // Called by the device as it goes: a back buffer nobody references any more is buried.
  void ownerGone();

protected:
  void finalRelease() override;
};

class VertexShader final : public RefCounted<IDirect3DVertexShader9>, public Buried {
public:
  VertexShader(Core* core, std::vector<DWORD> tokens, VsProgram program);
  ~VertexShader() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT GetFunction(void* data, UINT* size) override;

  Core* core;
  uint32_t id;
  std::vector<DWORD> tokens;
  VsProgram program;
  GLuint glShader[2] = {0, 0};  // compiled on first use: [0] transformed, [1] pre-transformed input

protected:
  void finalRelease() override;
};

class VertexDeclaration final : public RefCounted<IDirect3DVertexDeclaration9>, public Buried {
public:
  VertexDeclaration(Core* core, std::vector<D3DVERTEXELEMENT9> elements);
  ~VertexDeclaration() override;
  HRESULT GetDevice(IDirect3DDevice9** device) override;
  HRESULT GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;

  // The element an input of this usage and index reads; POSITION falls back to POSITIONT. Null: none.
  const D3DVERTEXELEMENT9* find(uint32_t usage, uint32_t usageIndex) const;

  Core* core;
  uint32_t id;
  std::vector<D3DVERTEXELEMENT9> elements;  // without the end marker
  bool pretransformed;                      // has a POSITIONT element

protected:
  void finalRelease() override;
};

// Size in bytes of one element of a declaration type; 0 for a type the layer does not take.
UINT brDeclTypeSize(BYTE type);

}  // namespace brd3d9
