// BrD3DTextureMgr: the Direct3D 9 texture caches: static textures loaded from media files, dynamic ones made empty.
#pragma once

#include "engine/presentation/BrTextureMgrBase.h"
#include "plugins/render_d3d9/BrD3DTexture.h"
#include "templates/TDArray.h"

// Static id 0 is the fallback texture, the first one loaded, and the answer of every failed load; a failed
// load of a new file takes no slot. Dynamic ids index the dynamic list and are lost at every device reset.
// The manager reaches Direct3D through the engine's rendering device and keeps no device of its own.
class BrD3DTextureMgr : public BrTextureMgrBase {
public:
  BrD3DTextureMgr() {}
  BrD3DTextureMgr(const BrD3DTextureMgr&) = delete;
  BrD3DTextureMgr& operator=(const BrD3DTextureMgr&) = delete;
  // Releases every texture of both caches.
  ~BrD3DTextureMgr() override;

  // Static or dynamic textures held; -1 for another type.
  int CachedTextureCount(eTextureType type) override;
  // 1: releases and forgets every static texture; 2: every dynamic texture and handle.
  void UnloadCache(eTextureType type) override;
  // Loads every static texture again in its own slot, so static ids stay valid.
  void ReloadStatics() override;
  // Releases and forgets the dynamic textures; their owners make them again (ids count from 0).
  void UnlinkDynamics() override;
  // The static id of the media file (a path relative to the media folder), reloading a cached name in place;
  // 0 with a warning when it cannot be loaded.
  unsigned int Load(BrStringT<char> name) override;
  // A new dynamic texture (power-of-two sizes unless the device takes any); -1 on failure.
  int CreateTexture(unsigned int width, unsigned int height, eResFormat format, unsigned int levels) override;
  // The static texture of the id; null outside the cache.
  BrTextureBase* GetTexture(int id) override;
  // The id of a cached name, else Load(name); 0 for an empty name.
  unsigned int GetTexture(const BrStringT<char>& name) override;
  BrTextureBase* GetDynamic(unsigned int handle) override;
  bool GetDynamic(unsigned int handle, int& index) override;
  // The address of the texture reference of a static (1) or dynamic (2) id; null outside the cache.
  void** GetTextureInterface(int id, eTextureType type) override;

private:
  // The made-up name of the next dynamic texture: manual_00, manual_01, ..., manual_10, ...
  BrStringT<char> NextDynamicName() const;
  // Loads the file; the first failure of each path is logged, later ones of the same path are not.
  bool LoadFile(IDirect3DDevice9* d3d, const BrStringT<char>& path, IDirect3DTexture9*& out);

  TDArray<BrD3DTexture> m_Statics;
  TDArray<BrD3DTexture> m_Dynamics;
  TDArray<int> m_Handles;
  // Paths whose failed load has been logged (a broken install names a few dozen at most).
  TDArray<BrStringT<char>> m_Missing;
};
