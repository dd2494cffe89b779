// The D3DX subset of our layer: the vs_1_1 assembler and its buffers, texture loading from TGA, BMP,
// JPEG and DDS files, saving a surface as BMP, and the matrix product and transpose.
#pragma once

#include "platform/d3d9/d3d9.h"

#define MAKE_DDHRESULT(code) ((HRESULT)(0x88760000u | (uint32_t)(code)))
#define D3DXERR_INVALIDDATA MAKE_DDHRESULT(2905)

// A 4x4 matrix of row vectors, as Direct3D multiplies them.
struct D3DXMATRIX : public D3DMATRIX {
  D3DXMATRIX() : D3DMATRIX() {}
  explicit D3DXMATRIX(const float* values);
  D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24, float m31,
             float m32, float m33, float m34, float m41, float m42, float m43, float m44);
  float& operator()(UINT row, UINT column) { return m[row][column]; }
  float operator()(UINT row, UINT column) const { return m[row][column]; }
  operator float*() { return &_11; }
  operator const float*() const { return &_11; }
};
typedef D3DXMATRIX* LPD3DXMATRIX;

// out = m1 x m2 (out may be m1 or m2). Returns out.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2);
// out = the transpose of m (out may be m). Returns out.
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);

// A block of bytes handed out by D3DX (assembled tokens, error texts); freed by its last Release.
class ID3DXBuffer : public IUnknown {
public:
  virtual void* GetBufferPointer() = 0;
  virtual DWORD GetBufferSize() = 0;
};
typedef ID3DXBuffer* LPD3DXBUFFER;

// Creates a zero-filled buffer of size bytes.
HRESULT D3DXCreateBuffer(DWORD size, LPD3DXBUFFER* buffer);

struct D3DXMACRO {
  LPCSTR Name;
  LPCSTR Definition;
};

// Include handler of the assembler; this assembler has no #include, so it is never called.
class ID3DXInclude;
typedef ID3DXInclude* LPD3DXINCLUDE;

// Assembles vs_1_1 text ("vs.1.1" or "vs_1_1" first; dcl_ lines; mov add sub mul mad min max dp3 dp4 rcp rsq
// m4x4; registers v, r, c, oPos, oD0, oT0-oT2 with write masks, swizzles and negation; comments after // or ;).
// On success *shader holds the tokens for CreateVertexShader. On failure D3DXERR_INVALIDDATA and, when
// errors is not null, a text "(line): error: reason". Macros are not supported (D3DERR_INVALIDCALL).
HRESULT D3DXAssembleShader(LPCSTR source, UINT length, const D3DXMACRO* defines, LPD3DXINCLUDE include, DWORD flags,
                           LPD3DXBUFFER* shader, LPD3DXBUFFER* errors);

// Loads a TGA (uncompressed or RLE, 24 or 32 bits, either origin), BMP (8, 24 or 32 bits), JPEG or DDS
// (DXT1, DXT3, DXT5 or uncompressed) file into a managed texture with a full mip chain (a DDS file's own
// levels where it has them): A8R8G8B8 when the image has alpha, X8R8G8B8 otherwise. The path goes through
// the windowing layer's path mapping. A missing or malformed file gives D3DXERR_INVALIDDATA and no texture.
HRESULT D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 device, LPCSTR path, LPDIRECT3DTEXTURE9* texture);

// "Let the loader choose" for the sizes and level count of D3DXCreateTextureFromFileExA.
#define D3DX_DEFAULT ((UINT)-1)
// As D3DXCreateTextureFromFileA with a level count: 0 or D3DX_DEFAULT for the full chain, else at most that
// many levels (a DDS file's own levels first). Only the loader's own choices are taken for the rest: sizes
// D3DX_DEFAULT or 0, usage 0, format D3DFMT_UNKNOWN, the managed pool, default filters, no colour key, no
// source information or palette; anything else is D3DERR_INVALIDCALL.
HRESULT D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE9 device, LPCSTR path, UINT width, UINT height, UINT mipLevels,
                                     DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                     D3DCOLOR colorKey, void* srcInfo, void* palette, LPDIRECT3DTEXTURE9* texture);

typedef enum _D3DXIMAGE_FILEFORMAT {
  D3DXIFF_BMP = 0,
  D3DXIFF_JPG = 1,
  D3DXIFF_TGA = 2,
  D3DXIFF_PNG = 3,
  D3DXIFF_DDS = 4,
  D3DXIFF_PPM = 5,
  D3DXIFF_DIB = 6,
  D3DXIFF_HDR = 7,
  D3DXIFF_PFM = 8,
  D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

// Writes a surface (or the rectangle of it) as a 24-bit BMP file; only D3DXIFF_BMP is supported. The file
// is written beside the target and renamed over it, so a failed save leaves any earlier file whole.
HRESULT D3DXSaveSurfaceToFileA(LPCSTR path, D3DXIMAGE_FILEFORMAT format, LPDIRECT3DSURFACE9 surface,
                               const PALETTEENTRY* palette, const RECT* rect);
