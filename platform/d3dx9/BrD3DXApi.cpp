// The D3DX entry points: buffers, the assembler's face, matrices and saving a surface as BMP.
#include <cstdio>
#include <cstring>

#include "platform/d3dx9/BrD3DXInternal.h"
#include "platform/win32/win32_kernel.h"

namespace brd3dx {
namespace {

class Buffer final : public ID3DXBuffer {
public:
  explicit Buffer(size_t size) : mBytes(size, 0) {}
  ~Buffer() override = default;
  ULONG AddRef() override { return ++mRefs; }
  ULONG Release() override;
  void* GetBufferPointer() override { return mBytes.data(); }
  DWORD GetBufferSize() override { return DWORD(mBytes.size()); }

private:
  std::vector<uint8_t> mBytes;
  ULONG mRefs = 1;
};

struct Graveyard {
  std::vector<Buffer*> dead;
  ~Graveyard() { drainGraveyard(); }
};

Graveyard& graveyard() {
  static Graveyard g;
  return g;
}

ULONG Buffer::Release() {
  // Checked before draining: a buffer released once too often may be in the graveyard itself.
  if (mRefs == 0) return 0;
  drainGraveyard();
  const ULONG left = --mRefs;
  if (left == 0) graveyard().dead.push_back(this);
  return left;
}

}  // namespace

void drainGraveyard() {
  std::vector<Buffer*> batch;
  batch.swap(graveyard().dead);
  for (Buffer* b : batch) delete b;
}

ID3DXBuffer* makeBuffer(const void* data, size_t size) {
  Buffer* b = new Buffer(size);
  if (data && size) std::memcpy(b->GetBufferPointer(), data, size);
  return b;
}

std::vector<uint8_t> encodeBmp24(const uint8_t* texels, uint32_t width, uint32_t height, int32_t pitch) {
  const uint32_t row = (width * 3 + 3) & ~3u;
  const uint32_t imageSize = row * height;
  const uint32_t fileSize = 54 + imageSize;
  std::vector<uint8_t> out(fileSize, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, fileSize);
  put32(10, 54);  // pixel data follows the two headers
  put32(14, 40);  // info header size
  put32(18, width);
  put32(22, height);  // positive: rows bottom-up
  put16(26, 1);       // planes
  put16(28, 24);      // bits per pixel
  put32(34, imageSize);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* src = texels + size_t(height - 1 - y) * size_t(pitch);
    uint8_t* dst = out.data() + 54 + size_t(y) * row;
    for (uint32_t x = 0; x < width; ++x) {
      dst[x * 3 + 0] = src[x * 4 + 0];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4 + 2];
    }
  }
  return out;
}

}  // namespace brd3dx

D3DXMATRIX::D3DXMATRIX(const float* values) : D3DMATRIX() {
  if (values) std::memcpy(m, values, sizeof m);
}

D3DXMATRIX::D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
                       float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44)
    : D3DMATRIX() {
  const float v[16] = {m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44};
  std::memcpy(m, v, sizeof m);
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2) {
  if (!out || !m1 || !m2) return out;
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] =
          m1->m[i][0] * m2->m[0][j] + m1->m[i][1] * m2->m[1][j] + m1->m[i][2] * m2->m[2][j] + m1->m[i][3] * m2->m[3][j];
  *out = r;
  return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
  if (!out || !m) return out;
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = m->m[j][i];
  *out = r;
  return out;
}

HRESULT D3DXCreateBuffer(DWORD size, LPD3DXBUFFER* buffer) {
  brd3dx::drainGraveyard();
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = brd3dx::makeBuffer(nullptr, size);
  return D3D_OK;
}

HRESULT D3DXAssembleShader(LPCSTR source, UINT length, const D3DXMACRO* defines, LPD3DXINCLUDE, DWORD,
                           LPD3DXBUFFER* shader, LPD3DXBUFFER* errors) {
  brd3dx::drainGraveyard();
  if (shader) *shader = nullptr;
  if (errors) *errors = nullptr;
  if (!source || !shader) return D3DERR_INVALIDCALL;
  if (defines && defines[0].Name) {
    static const char kNoMacros[] = "(0): error: macros are not supported";
    if (errors) *errors = brd3dx::makeBuffer(kNoMacros, sizeof kNoMacros);
    return D3DERR_INVALIDCALL;
  }
  std::vector<uint32_t> tokens;
  std::string error;
  if (!brd3dx::assembleVs(source, length, tokens, error)) {
    if (errors) *errors = brd3dx::makeBuffer(error.c_str(), error.size() + 1);
    return D3DXERR_INVALIDDATA;
  }
  *shader = brd3dx::makeBuffer(tokens.data(), tokens.size() * sizeof(uint32_t));
  return D3D_OK;
}

HRESULT D3DXSaveSurfaceToFileA(LPCSTR path, D3DXIMAGE_FILEFORMAT format, LPDIRECT3DSURFACE9 surface,
                               const PALETTEENTRY*, const RECT* rect) {
  brd3dx::drainGraveyard();
  if (!path || !*path || !surface || format != D3DXIFF_BMP) return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC desc;
  if (FAILED(surface->GetDesc(&desc))) return D3DERR_INVALIDCALL;
  D3DLOCKED_RECT locked;
  if (FAILED(surface->LockRect(&locked, rect, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
  const uint32_t w = rect ? uint32_t(rect->right - rect->left) : desc.Width;
  const uint32_t h = rect ? uint32_t(rect->bottom - rect->top) : desc.Height;
  const std::vector<uint8_t> bytes = brd3dx::encodeBmp24(static_cast<const uint8_t*>(locked.pBits), w, h, locked.Pitch);
  surface->UnlockRect();
  // Written beside the target first, then renamed over it.
  const std::string temp = std::string(path) + ".tmp";
  FILE* f = W32fopen(temp.c_str(), "wb");
  if (!f) return D3DERR_INVALIDCALL;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed || !MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temp.c_str());
    return D3DERR_INVALIDCALL;
  }
  return D3D_OK;
}
