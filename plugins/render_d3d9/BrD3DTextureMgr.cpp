// BrD3DTextureMgr: loading, reloading and creating textures, and their lookup by name and id.
#include "plugins/render_d3d9/BrD3DTextureMgr.h"

#include <cstdio>

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrMediaPath.h"
#include "platform/d3dx9/d3dx9.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

namespace {

BrD3DRenDev* engineDevice() { return dynamic_cast<BrD3DRenDev*>(Engine().Render()); }

IDirect3DDevice9* engineD3D() {
  BrD3DRenDev* device = engineDevice();
  return device ? device->GetDevice() : nullptr;
}

// A name that already begins with the media folder (the default font's) is not prefixed a second time.
BrStringT<char> mediaPath(const BrStringT<char>& name) { return brMediaPath(name); }

const char* text(const BrStringT<char>& s) { return s.c_str() ? s.c_str() : ""; }

// Loads the file into a new texture; false when it cannot be had. Mip levels are made only when the device
// filters between them: without that filter nothing ever samples them.
bool loadFile(IDirect3DDevice9* d3d, const BrStringT<char>& path, IDirect3DTexture9*& out) {
  out = nullptr;
  BrD3DRenDev* device = engineDevice();
  const UINT levels = device && !device->UsesMipLevels() ? 1 : D3DX_DEFAULT;
  if (!d3d ||
      FAILED(D3DXCreateTextureFromFileExA(d3d, text(path), D3DX_DEFAULT, D3DX_DEFAULT, levels, 0, D3DFMT_UNKNOWN,
                                          D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &out)) ||
      !out) {
    out = nullptr;
    return false;
  }
  return true;
}

void takeSize(BrD3DTexture& texture) {
  D3DSURFACE_DESC desc;
  if (texture.Texture() && SUCCEEDED(texture.Texture()->GetLevelDesc(0, &desc)))
    texture.SetSize(desc.Width, desc.Height);
}

}  // namespace

BrD3DTextureMgr::~BrD3DTextureMgr() {
  UnloadCache(eTextureStatic);
  UnloadCache(eTextureDynamic);
}

int BrD3DTextureMgr::CachedTextureCount(eTextureType type) {
  if (type == eTextureStatic) return m_Statics.GetCount();
  if (type == eTextureDynamic) return m_Dynamics.GetCount();
  return -1;
}

void BrD3DTextureMgr::UnloadCache(eTextureType type) {
  if (type == eTextureStatic) {
    for (int i = 0; i < m_Statics.GetCount(); ++i) m_Statics[i].ReleaseTexture();
    m_Statics.Clear();
  } else if (type == eTextureDynamic) {
    UnlinkDynamics();
    m_Handles.Clear();
  }
}

void BrD3DTextureMgr::UnlinkDynamics() {
  for (int i = 0; i < m_Dynamics.GetCount(); ++i) m_Dynamics[i].ReleaseTexture();
  m_Dynamics.Clear();
  m_Handles.Clear();
}

void BrD3DTextureMgr::ReloadStatics() {
  for (int i = 0; i < m_Statics.GetCount(); ++i) {
    BrStringT<char> name = m_Statics[i].Name();
    Load(name);
  }
}

bool BrD3DTextureMgr::LoadFile(IDirect3DDevice9* d3d, const BrStringT<char>& path, IDirect3DTexture9*& out) {
  if (loadFile(d3d, path, out)) return true;
  // Callers that hold no texture ask again on every frame they draw: the log names each missing file once
  // instead of growing by a line a frame for as long as the game runs.
  bool reported = false;
  for (int i = 0; i < m_Missing.GetCount() && !reported; ++i) reported = m_Missing[i] == path;
  if (!reported) {
    GLog.printf("WARNING: Failed to load %s texture", text(path));
    m_Missing.Add(path);
  }
  return false;
}

unsigned int BrD3DTextureMgr::Load(BrStringT<char> name) {
  IDirect3DDevice9* d3d = engineD3D();
  const BrStringT<char> path = mediaPath(name);
  for (int i = 0; i < m_Statics.GetCount(); ++i) {
    if (!(m_Statics[i].Name() == name)) continue;
    // A cached name is loaded again in its own slot: its id stays what callers hold. Without a device, or when
    // the file cannot be read, the cached texture stays as it was.
    IDirect3DTexture9* fresh = nullptr;
    if (!LoadFile(d3d, path, fresh)) return d3d ? 0 : (unsigned int)i;
    m_Statics[i].ReleaseTexture();
    m_Statics[i].Texture() = fresh;
    takeSize(m_Statics[i]);
    // The device may still have the old texture bound under this id: the next bind of it must reach Direct3D.
    if (BrD3DRenDev* device = engineDevice()) device->ForgetBoundTexture(i);
    return (unsigned int)i;
  }

  BrD3DTexture loaded;
  const bool ok = LoadFile(d3d, path, loaded.Texture());
  // Slot 0 belongs to the first load, the fallback, even when its file is missing: no later texture may take
  // the id that every failed load answers with. Any other failed load takes no slot.
  if (!ok && m_Statics.GetCount() > 0) return 0;
  loaded.Name() = name;
  takeSize(loaded);
  const int index = m_Statics.Add(loaded);
  return ok ? (unsigned int)index : 0;
}

BrStringT<char> BrD3DTextureMgr::NextDynamicName() const {
  char buf[32];
  const int n = m_Dynamics.GetCount();
  if (n < 10)
    std::snprintf(buf, sizeof(buf), "manual_0%i", n);
  else
    std::snprintf(buf, sizeof(buf), "manual_%i", n);
  return BrStringT<char>(buf);
}

int BrD3DTextureMgr::CreateTexture(unsigned int width, unsigned int height, eResFormat format, unsigned int levels) {
  BrD3DRenDev* device = engineDevice();
  const bool anySize = device && device->NonPow2Textures();
  if (!anySize && (!brIsPowerOf2(width) || !brIsPowerOf2(height))) return -1;
  BrStringT<char> name = NextDynamicName();
  IDirect3DDevice9* d3d = device ? device->GetDevice() : nullptr;
  if (!d3d) return -1;
  BrD3DTexture texture;
  if (FAILED(d3d->CreateTexture(width, height, levels, 0, (D3DFORMAT)format, D3DPOOL_MANAGED, &texture.Texture(),
                                nullptr)) ||
      !texture.Texture()) {
    GLog.DebugPrintf("WARNING: Failed to create %s dynamic texture %ix%i", brD3DFormatName((D3DFORMAT)format),
                     (int)width, (int)height);
    return -1;
  }
  texture.Name() = name;
  texture.SetSize(width, height);
  const int index = m_Dynamics.Add(texture);
  m_Handles.Add(index);
  GLog.DebugPrintf("DYNAMIC TEXTURE: Created dynamic %s", text(name));
  return index;
}

unsigned int BrD3DTextureMgr::GetTexture(const BrStringT<char>& name) {
  if (name.Length() == 0) return 0;
  for (int i = 0; i < m_Statics.GetCount(); ++i)
    if (m_Statics[i].Name() == name) return (unsigned int)i;
  return Load(name);
}

BrTextureBase* BrD3DTextureMgr::GetTexture(int id) {
  if (id >= 0 && id < m_Statics.GetCount()) return &m_Statics[id];
  GLog.DebugPrintf("RENDER: Failed to get texture %i from cache of %i surfaces", id, (int)m_Statics.GetCount());
  return nullptr;
}

bool BrD3DTextureMgr::GetDynamic(unsigned int handle, int& index) {
  if (m_Handles.GetCount() > 0 && handle <= (unsigned int)(m_Handles.GetCount() - 1) && m_Handles[(int)handle] != -1) {
    index = m_Handles[(int)handle];
    return true;
  }
  index = -1;
  return false;
}

BrTextureBase* BrD3DTextureMgr::GetDynamic(unsigned int handle) {
  int index = -1;
  if (!GetDynamic(handle, index) || index < 0 || index >= m_Dynamics.GetCount()) return nullptr;
  return &m_Dynamics[index];
}

void** BrD3DTextureMgr::GetTextureInterface(int id, eTextureType type) {
  if (type == eTextureStatic) {
    if (id >= 0 && id < m_Statics.GetCount()) return reinterpret_cast<void**>(&m_Statics[id].Texture());
    GLog.DebugPrintf("RENDER: Failed to get texture %i from cache of %i surfaces", id, (int)m_Statics.GetCount());
    return nullptr;
  }
  if (type == eTextureDynamic) {
    if (id >= 0 && id < m_Dynamics.GetCount()) return reinterpret_cast<void**>(&m_Dynamics[id].Texture());
    GLog.DebugPrintf("RENDER: Failed to get texture %i from dynamic cache of %i surfaces", id,
                     (int)m_Dynamics.GetCount());
    return nullptr;
  }
  GLog.DebugWriteLine(
      "ERROR: BrD3DTextureMgr::GetTextureInterface(...) was passed an invalid texture type enumeration");
  return nullptr;
}
