// BrTextureMgrBase: the abstract texture cache of the rendering device; textures are used through integer handles.
#pragma once

#include "engine/presentation/BrRenderTypes.h"
#include "templates/BrStringT.h"

class BrTextureBase;

// Handle 0 is the fallback texture.
class BrTextureMgrBase {
public:
  BrTextureMgrBase() {}
  // Not copied: the cached textures are owned.
  BrTextureMgrBase(const BrTextureMgrBase&) = delete;
  BrTextureMgrBase& operator=(const BrTextureMgrBase&) = delete;
  virtual ~BrTextureMgrBase() {}

  virtual int CachedTextureCount(eTextureType type) = 0;
  virtual void UnloadCache(eTextureType type) = 0;
  // Reloads every static texture in place (before a device reset).
  virtual void ReloadStatics() = 0;
  // Releases the dynamic textures; their owners make them again.
  virtual void UnlinkDynamics() = 0;
  // The static texture id of the image file; 0 on failure.
  virtual unsigned int Load(BrStringT<char> file) = 0;
  // A dynamic texture's handle; -1 on failure.
  virtual int CreateTexture(unsigned int width, unsigned int height, eResFormat format, unsigned int mipLevels) = 0;
  virtual BrTextureBase* GetTexture(int handle) = 0;
  // The handle of the file's texture, loading it when not cached.
  virtual unsigned int GetTexture(const BrStringT<char>& file) = 0;
  // Null when the dynamic texture is gone.
  virtual BrTextureBase* GetDynamic(unsigned int handle) = 0;
  // index -1 when the dynamic texture is lost.
  virtual bool GetDynamic(unsigned int handle, int& index) = 0;
  // The API object of the texture.
  virtual void** GetTextureInterface(int handle, eTextureType type) = 0;
};
