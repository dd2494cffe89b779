// D3DXCreateTextureFromFileA: reads the file through the path layer, decodes it and fills a managed
// texture level by level, making the mip levels the file does not hold.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/d3dx9/BrD3DXInternal.h"
#include "platform/win32/win32_kernel.h"

namespace brd3dx {
namespace {

const long kMaxFileBytes = 64L << 20;

bool readFile(const char* path, std::vector<uint8_t>& bytes) {
  FILE* f = W32fopen(path, "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size > 0 && size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(size_t(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  std::fclose(f);
  return ok;
}

// The next level by averaging 2x2 texels (edges repeat where a size is odd or 1).
std::vector<uint8_t> halve(const std::vector<uint8_t>& src, uint32_t w, uint32_t h) {
  const uint32_t nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
  std::vector<uint8_t> out(size_t(nw) * nh * 4);
  for (uint32_t y = 0; y < nh; ++y)
    for (uint32_t x = 0; x < nw; ++x) {
      const uint32_t x0 = std::min(2 * x, w - 1), x1 = std::min(2 * x + 1, w - 1);
      const uint32_t y0 = std::min(2 * y, h - 1), y1 = std::min(2 * y + 1, h - 1);
      for (int c = 0; c < 4; ++c) {
        const uint32_t sum = src[(size_t(y0) * w + x0) * 4 + c] + src[(size_t(y0) * w + x1) * 4 + c] +
                             src[(size_t(y1) * w + x0) * 4 + c] + src[(size_t(y1) * w + x1) * 4 + c];
        out[(size_t(y) * nw + x) * 4 + c] = uint8_t((sum + 2) / 4);
      }
    }
  return out;
}

}  // namespace
}  // namespace brd3dx

namespace brd3dx {
namespace {

HRESULT createTextureFromFile(LPDIRECT3DDEVICE9 device, LPCSTR path, UINT mipLevels, LPDIRECT3DTEXTURE9* texture) {
  std::vector<uint8_t> bytes;
  if (!readFile(path, bytes)) return D3DXERR_INVALIDDATA;
  Image image;
  std::string error;
  const bool dds = bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0;
  const bool decoded =
      dds ? decodeDds(bytes.data(), bytes.size(), image, error) : decodeStb(bytes.data(), bytes.size(), image, error);
  if (!decoded || image.levels.empty()) return D3DXERR_INVALIDDATA;
  IDirect3DTexture9* tex = nullptr;
  HRESULT hr =
      device->CreateTexture(image.width, image.height, mipLevels, 0, image.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8,
                            D3DPOOL_MANAGED, &tex, nullptr);
  if (FAILED(hr)) return hr;
  const DWORD levels = tex->GetLevelCount();
  uint32_t w = image.width, h = image.height, pw = w, ph = h;
  for (DWORD level = 0; level < levels; ++level) {
    if (level >= image.levels.size()) image.levels.push_back(halve(image.levels[level - 1], pw, ph));
    D3DLOCKED_RECT locked;
    if (FAILED(tex->LockRect(level, &locked, nullptr, 0))) {
      while (tex->Release() > 0) {
      }
      return D3DERR_INVALIDCALL;
    }
    const std::vector<uint8_t>& src = image.levels[level];
    for (uint32_t y = 0; y < h; ++y)
      std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * size_t(locked.Pitch),
                  src.data() + size_t(y) * w * 4, size_t(w) * 4);
    tex->UnlockRect(level);
    pw = w;
    ph = h;
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  *texture = tex;
  return D3D_OK;
}

}  // namespace
}  // namespace brd3dx

HRESULT D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 device, LPCSTR path, LPDIRECT3DTEXTURE9* texture) {
  brd3dx::drainGraveyard();
  if (!device || !path || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  // A file may describe an image too large for memory: that is a failed load, not an exception.
  try {
    return brd3dx::createTextureFromFile(device, path, 0, texture);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE9 device, LPCSTR path, UINT width, UINT height, UINT mipLevels,
                                     DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                     D3DCOLOR colorKey, void* srcInfo, void* palette, LPDIRECT3DTEXTURE9* texture) {
  brd3dx::drainGraveyard();
  if (!device || !path || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  auto chosen = [](UINT v) { return v == 0 || v == D3DX_DEFAULT; };
  if (!chosen(width) || !chosen(height) || usage != 0 || format != D3DFMT_UNKNOWN || pool != D3DPOOL_MANAGED ||
      !chosen(filter) || !chosen(mipFilter) || colorKey != 0 || srcInfo || palette)
    return D3DERR_INVALIDCALL;
  try {
    return brd3dx::createTextureFromFile(device, path, mipLevels == D3DX_DEFAULT ? 0 : mipLevels, texture);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
