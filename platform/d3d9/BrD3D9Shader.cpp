// Vertex shaders (decoded tokens, compiled to GLSL on first draw) and vertex declarations.
#include <cstring>

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Device.h"
#include "platform/d3d9/BrD3D9Resources.h"

namespace brd3d9 {
namespace {
uint32_t gNextId = 1;
}

UINT brDeclTypeSize(BYTE type) {
  switch (type) {
    case D3DDECLTYPE_FLOAT1: return 4;
    case D3DDECLTYPE_FLOAT2: return 8;
    case D3DDECLTYPE_FLOAT3: return 12;
    case D3DDECLTYPE_FLOAT4: return 16;
    case D3DDECLTYPE_D3DCOLOR:
    case D3DDECLTYPE_UBYTE4:
    case D3DDECLTYPE_UBYTE4N:
    case D3DDECLTYPE_SHORT2:
    case D3DDECLTYPE_SHORT2N:
    case D3DDECLTYPE_USHORT2N:
    case D3DDECLTYPE_FLOAT16_2: return 4;
    case D3DDECLTYPE_SHORT4:
    case D3DDECLTYPE_SHORT4N:
    case D3DDECLTYPE_USHORT4N:
    case D3DDECLTYPE_FLOAT16_4: return 8;
    default: return 0;
  }
}

// ---- Vertex shaders ----

VertexShader::VertexShader(Core* c, std::vector<DWORD> t, VsProgram p)
    : core(c), id(gNextId++), tokens(std::move(t)), program(std::move(p)) {
  core->retain();
}

VertexShader::~VertexShader() = default;

void VertexShader::finalRelease() {
  core->unbind(this);
  core->forgetShader(this);
  core->drop();
  bury(this);
}

HRESULT VertexShader::GetDevice(IDirect3DDevice9** device) { return Device::handOut(core, device); }

HRESULT VertexShader::GetFunction(void* data, UINT* size) {
  if (!size) return invalidCall("IDirect3DVertexShader9::GetFunction", "null size");
  const UINT bytes = UINT(tokens.size() * sizeof(DWORD));
  if (data) {
    if (*size < bytes) return invalidCall("IDirect3DVertexShader9::GetFunction", "buffer too small");
    std::memcpy(data, tokens.data(), bytes);
  }
  *size = bytes;
  return D3D_OK;
}

// ---- Vertex declarations ----

VertexDeclaration::VertexDeclaration(Core* c, std::vector<D3DVERTEXELEMENT9> e)
    : core(c), id(gNextId++), elements(std::move(e)), pretransformed(false) {
  core->retain();
  for (const D3DVERTEXELEMENT9& el : elements)
    if (el.Usage == D3DDECLUSAGE_POSITIONT) pretransformed = true;
}

VertexDeclaration::~VertexDeclaration() = default;

void VertexDeclaration::finalRelease() {
  core->unbind(this);
  core->drop();
  bury(this);
}

HRESULT VertexDeclaration::GetDevice(IDirect3DDevice9** device) { return Device::handOut(core, device); }

HRESULT VertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* out, UINT* count) {
  if (!count) return invalidCall("IDirect3DVertexDeclaration9::GetDeclaration", "null count");
  if (out) {
    std::memcpy(out, elements.data(), elements.size() * sizeof(D3DVERTEXELEMENT9));
    const D3DVERTEXELEMENT9 end = D3DDECL_END();
    out[elements.size()] = end;
  }
  *count = UINT(elements.size() + 1);
  return D3D_OK;
}

const D3DVERTEXELEMENT9* VertexDeclaration::find(uint32_t usage, uint32_t usageIndex) const {
  for (const D3DVERTEXELEMENT9& e : elements)
    if (e.Usage == usage && e.UsageIndex == usageIndex) return &e;
  // A shader's position input takes pre-transformed positions when the declaration has those.
  if (usage == D3DDECLUSAGE_POSITION)
    for (const D3DVERTEXELEMENT9& e : elements)
      if (e.Usage == D3DDECLUSAGE_POSITIONT && e.UsageIndex == usageIndex) return &e;
  return nullptr;
}

}  // namespace brd3d9
