// Textures and surfaces: 32-bit texels in system memory (pitch = width * 4), textures mirrored in OpenGL.
#include <cstring>

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Device.h"
#include "platform/d3d9/BrD3D9Resources.h"

namespace brd3d9 {
namespace {

// Checks a lock rectangle against an image and gives the offset of its first texel.
bool lockOffset(const RECT* rect, UINT width, UINT height, size_t& offset) {
  offset = 0;
  if (!rect) return true;
  if (rect->left < 0 || rect->top < 0 || rect->right <= rect->left || rect->bottom <= rect->top ||
      UINT(rect->right) > width || UINT(rect->bottom) > height)
    return false;
  offset = size_t(rect->top) * width * 4 + size_t(rect->left) * 4;
  return true;
}

}  // namespace

// ---- Textures ----

Texture::Texture(Core* c, UINT width, UINT height, UINT levelCount, DWORD u, D3DFORMAT f, D3DPOOL p)
    : core(c), usage(u), format(f), pool(p) {
  core->retain();
  const bool systemMemory = pool == D3DPOOL_SYSTEMMEM || pool == D3DPOOL_SCRATCH;
  for (UINT i = 0; i < levelCount; ++i) {
    Level l;
    l.width = width;
    l.height = height;
    if (systemMemory) l.texels.assign(size_t(width) * height * 4, 0);
    levels.push_back(std::move(l));
    width = width > 1 ? width / 2 : 1;
    height = height > 1 ? height / 2 : 1;
  }
  if (systemMemory || !core->makeCurrent()) return;
  glGenTextures(1, &gl);
  core->bindSpareTexture(gl);
  // Storage only: a level's texels go to OpenGL when its lock ends, or as zeros at the first draw that uses a
  // level never locked, instead of a copy of zeros now and the real texels again later.
  for (size_t i = 0; i < levels.size(); ++i)
    glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, GLsizei(levels[i].width), GLsizei(levels[i].height), 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels.size()) - 1);
  // X8R8G8B8: the top byte is not alpha, so it reads as opaque.
  if (format == D3DFMT_X8R8G8B8) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
}

void Texture::readLevel(UINT level, std::vector<uint8_t>& out) {
  const Level& l = levels[level];
  if (!l.texels.empty()) {
    out = l.texels;
    return;
  }
  out.assign(size_t(l.width) * l.height * 4, 0);
  if (gl && l.inGl && core->makeCurrent()) core->readTexture(this, level, out.data());
}

Texture::~Texture() = default;

void Texture::finalRelease() {
  core->unbind(this);
  if (gl && core->makeCurrent()) {
    core->forgetGlTexture(gl);
    glDeleteTextures(1, &gl);
  }
  gl = 0;
  core->drop();
  bury(this);
}

HRESULT Texture::GetDevice(IDirect3DDevice9** device) { return Device::handOut(core, device); }

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (!desc || level >= levels.size())
    return invalidCall("IDirect3DTexture9::GetLevelDesc", "bad level or description");
  *desc = {format, D3DRTYPE_SURFACE, usage, pool, D3DMULTISAMPLE_NONE, 0, levels[level].width, levels[level].height};
  return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  const char* where = "IDirect3DTexture9::LockRect";
  if (faultInjected(BR_D3D9_FAIL_LOCK)) return invalidCall(where, "lock failure injected");
  if (!locked || level >= levels.size()) return invalidCall(where, "bad level or null out-pointer");
  Level& l = levels[level];
  if (l.locked) return invalidCall(where, "level already locked");
  if (pool == D3DPOOL_DEFAULT && !(usage & D3DUSAGE_DYNAMIC))
    return invalidCall(where, "default-pool textures without D3DUSAGE_DYNAMIC cannot be locked");
  size_t offset;
  if (!lockOffset(rect, l.width, l.height, offset)) return invalidCall(where, "rectangle outside the level");
  if (l.texels.empty()) {
    // The copy went with the last unlock: the texels come back from OpenGL, and a texture rewritten at run
    // time keeps its copy from now on rather than read it back at every lock.
    if (l.inGl) keepCopy = true;
    readLevel(level, l.texels);
  }
  locked->Pitch = INT(l.width * 4);
  locked->pBits = l.texels.data() + offset;
  l.locked = true;
  if (!(flags & D3DLOCK_READONLY)) {
    l.dirty = true;
    anyDirty = true;
  }
  return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT level) {
  if (level >= levels.size() || !levels[level].locked)
    return invalidCall("IDirect3DTexture9::UnlockRect", "level not locked");
  levels[level].locked = false;
  if (gl) core->uploadTexture(this);
  return D3D_OK;
}

// ---- Surfaces ----

Surface::Surface(Core* c, UINT w, UINT h, D3DFORMAT f, D3DPOOL p, bool bb)
    : core(c), width(w), height(h), format(f), pool(p), backBuffer(bb), ownerAlive(bb) {
  core->retain();
  if (!backBuffer) texels.assign(size_t(w) * h * 4, 0);
  if (backBuffer) mRefs = 0;  // the device holds it; GetBackBuffer adds the application's references
}

Surface::~Surface() = default;

void Surface::finalRelease() {
  // The back buffer belongs to the device and lives as long as it does.
  if (backBuffer && ownerAlive) return;
  core->drop();
  bury(this);
}

void Surface::ownerGone() {
  ownerAlive = false;
  if (mRefs == 0) {
    core->drop();
    bury(this);
  }
}

HRESULT Surface::GetDevice(IDirect3DDevice9** device) { return Device::handOut(core, device); }

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
  if (!desc) return invalidCall("IDirect3DSurface9::GetDesc", "null description");
  *desc = {
      format, D3DRTYPE_SURFACE, backBuffer ? DWORD(D3DUSAGE_RENDERTARGET) : 0u, pool, D3DMULTISAMPLE_NONE, 0, width,
      height};
  return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  const char* where = "IDirect3DSurface9::LockRect";
  if (faultInjected(BR_D3D9_FAIL_LOCK)) return invalidCall(where, "lock failure injected");
  if (!locked) return invalidCall(where, "null out-pointer");
  if (backBuffer) return invalidCall(where, "the back buffer cannot be locked");
  if (this->locked) return invalidCall(where, "already locked");
  size_t offset;
  if (!lockOffset(rect, width, height, offset)) return invalidCall(where, "rectangle outside the surface");
  locked->Pitch = INT(width * 4);
  locked->pBits = texels.data() + offset;
  this->locked = true;
  return D3D_OK;
}

HRESULT Surface::UnlockRect() {
  if (!locked) return invalidCall("IDirect3DSurface9::UnlockRect", "not locked");
  locked = false;
  return D3D_OK;
}

}  // namespace brd3d9
