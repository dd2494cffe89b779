// BrD3DRenDev: vs_1_1 shaders and their declarations, cached by source text, and the four built-in effectors.
#include <cstring>

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "platform/d3dx9/d3dx9.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"

namespace {

bool contains(const BrStringT<char>& text, const char* what) {
  return text.c_str() && std::strstr(text.c_str(), what) != nullptr;
}

struct BuiltIn {
  const char* name;
  uint32_t flags;
  const char* text;
};

// The effectors every other part relies on, in the order that gives them ids 0 to 3.
const BuiltIn kBuiltIns[4] = {
    {"ShaderDefault", 0,
     "vs.1.1\ndcl_position v0\ndcl_color0 v1\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 oPos, r0, c0\nmov oD0, "
     "v1\nmov oT0, v8\n"},
    {"Shader3dLine", 4, "vs.1.1\ndcl_position v0\ndcl_color0 v1\nm4x4 oPos, v0, c0\nmov oD0, v1\n"},
    {"Shader2d", 0,
     "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos,v0\nmov oD0, v1\nmov oT0, v8\n"},
    {"Shader3d", 0,
     "vs.1.1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 r1, r0, "
     "c0\nmov oPos, r1\nsub r1.xyz, c9, r0.xyz\ndp3 r1, r1, r1\nrsq r2, r1\nrcp r2, r2\nrcp r3, c10.x\nmul r4, r2, "
     "r3\nmin r5.x, r4.x, c8.x\nsub r5.xyz, c8.x, r5.x\nmul r6.xyz, r5.xyz, c11.xyz\nmov oD0.xyz, r6.xyz\nmov "
     "oD0.w, c8.x\nmov  oT0 , v8\n"},
};

}  // namespace

bool BrD3DRenDev::CompileShader(BrStringT<char>& text, void** shader, void** declaration) {
  if (!shader || !declaration) return false;
  for (int i = 0; i < m_ShaderTexts.GetCount(); ++i) {
    if (m_ShaderTexts[i] == text) {
      *shader = m_Shaders[i];
      *declaration = m_Declarations[i];
      return true;
    }
  }
  if (!m_pd3dDevice) return false;

  const char* source = text.c_str() ? text.c_str() : "";
  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  IDirect3DVertexShader9* made = nullptr;
  bool ok = true;
  if (FAILED(D3DXAssembleShader(source, (UINT)text.Length(), nullptr, nullptr, 0, &code, &errors)) || !code) {
    GLog.DebugPrintf("ERROR: Failed to assemble shader:\n\t%s", source);
    if (errors && errors->GetBufferPointer())
      GLog.DebugPrintf("ERROR: Failed - %s", static_cast<const char*>(errors->GetBufferPointer()));
    ok = false;
  } else if (FAILED(m_pd3dDevice->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &made)) ||
             !made) {
    GLog.DebugPrintf("ERROR: Failed to compile shader:\n\t%s", source);
    made = nullptr;
    ok = false;
  }
  brD3DReleaseAll(code);
  brD3DReleaseAll(errors);

  // A text that failed is not cached: a cached entry would answer later requests with success and no shader,
  // and every effector built on it would draw nothing while reporting that it works.
  if (!ok) return false;
  if (!CreateVertexDecl(text)) {
    brD3DReleaseAll(made);
    return false;
  }
  m_Shaders.Add(made);
  m_ShaderTexts.Add(text);
  *shader = made;
  *declaration = m_Declarations[m_Declarations.GetCount() - 1];
  return true;
}

bool BrD3DRenDev::CreateVertexDecl(const BrStringT<char>& text) {
  D3DVERTEXELEMENT9 elements[8];
  int n = 0;
  WORD offset = 0;
  auto add = [&](BYTE type, BYTE usage, BYTE usageIndex, WORD size) {
    elements[n].Stream = 0;
    elements[n].Offset = offset;
    elements[n].Type = type;
    elements[n].Method = D3DDECLMETHOD_DEFAULT;
    elements[n].Usage = usage;
    elements[n].UsageIndex = usageIndex;
    ++n;
    offset = (WORD)(offset + size);
  };
  if (contains(text, "dcl_position0"))
    add(D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT, 0, 16);
  else if (contains(text, "dcl_position"))
    add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0, 12);
  if (contains(text, "dcl_normal")) add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0, 12);
  if (contains(text, "dcl_color0")) add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0, 4);
  if (contains(text, "dcl_texcoord0")) add(D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0, 8);
  if (contains(text, "dcl_texcoord1")) add(D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 1, 8);
  elements[n] = D3DVERTEXELEMENT9 D3DDECL_END();

  IDirect3DVertexDeclaration9* decl = nullptr;
  if (!m_pd3dDevice || FAILED(m_pd3dDevice->CreateVertexDeclaration(elements, &decl)) || !decl) {
    GLog.DebugWriteLine("ERROR: CreateVertexDeclaration failed");
    return false;
  }
  m_Declarations.Add(decl);
  return true;
}

bool BrD3DRenDev::CreateDefaultShaders() {
  if (!m_pTextureMgr || !m_pFXMgr) return false;
  // The manager puts the media folder in front of the name itself.
  m_pTextureMgr->Load(BrStringT<char>("Textures\\noshader.bmp"));
  for (const BuiltIn& builtIn : kBuiltIns) {
    BrEffector* effector = m_pFXMgr->CreateEffector();
    if (!effector) return false;
    BrRenderPass* pass = effector->AddPass(BrStringT<char>(builtIn.text));
    if (!pass) {
      delete effector;
      return false;
    }
    pass->m_iTexture = 0;
    pass->m_uiFlags = builtIn.flags;
    BrStringT<char> name(builtIn.name);
    m_pFXMgr->AddEffector(name, effector);
  }
  return true;
}
