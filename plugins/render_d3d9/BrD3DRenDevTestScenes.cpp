// BrD3DRenDev: the device test scenes, each one hard-wired quad drawn straight on the device.
#include <cmath>
#include <cstring>

#include "core/brcr.h"
#include "plugins/render_d3d9/BrD3DRenDev.h"
#include "plugins/render_d3d9/BrD3DVertexBuffer.h"

namespace {

typedef BrNuScene SceneCache;

// The quad's corners at plus or minus 100 on z = 0, red, green, blue and white, with texture corners.
void corner(int i, float& x, float& y, uint32_t& colour, float& u, float& v) {
  static const float xs[4] = {-100.0f, 100.0f, 100.0f, -100.0f};
  static const float ys[4] = {-100.0f, -100.0f, 100.0f, 100.0f};
  static const uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
  static const float us[4] = {0.0f, 1.0f, 1.0f, 0.0f};
  static const float vs[4] = {1.0f, 1.0f, 0.0f, 0.0f};
  x = xs[i];
  y = ys[i];
  colour = colours[i];
  u = us[i];
  v = vs[i];
}

// Four vertices in the order of the vertex format's components: position, normal, colour, texture sets.
void buildQuad(DWORD fvf, unsigned char* out, unsigned int stride) {
  for (int i = 0; i < 4; ++i) {
    float x, y, u, v;
    uint32_t colour;
    // The corners are walked backwards, clockwise as the camera sees them: counter-clockwise faces are culled.
    corner(i == 0 ? 0 : 4 - i, x, y, colour, u, v);
    unsigned char* p = out + i * stride;
    const float pos[3] = {x, y, 0.0f};
    std::memcpy(p, pos, 12);
    p += 12;
    if (fvf & D3DFVF_NORMAL) {
      const float normal[3] = {0.0f, 0.0f, -1.0f};
      std::memcpy(p, normal, 12);
      p += 12;
    }
    std::memcpy(p, &colour, 4);
    p += 4;
    const int sets = (fvf & D3DFVF_TEX2) ? 2 : ((fvf & D3DFVF_TEX1) ? 1 : 0);
    for (int s = 0; s < sets; ++s) {
      const float uv[2] = {u, v};
      std::memcpy(p, uv, 8);
      p += 8;
    }
  }
}

}  // namespace

namespace brd3dscene {

// Makes the scene's buffer and shader once, then binds them; false when either cannot be had.
bool bind(BrD3DRenDev& dev, SceneCache& cache, DWORD fvf, unsigned int bytes, const char* text) {
  IDirect3DDevice9* d3d = dev.GetDevice();
  if (!d3d) return false;
  const unsigned int stride = bytes / 4;
  if (!cache.made) {
    cache.made = true;
    if (dev.CreateVertexBuffer(&cache.vb, bytes, fvf, eMemPoolSystem, eResUsageStatic)) {
      unsigned char data[256];
      std::memset(data, 0, sizeof(data));
      buildQuad(fvf, data, stride);
      cache.vb->Populate(0, data, bytes);
    }
    BrStringT<char> source(text);
    if (!dev.CompileShader(source, &cache.shader, &cache.decl)) {
      cache.shader = nullptr;
      cache.decl = nullptr;
    }
  }
  BrD3DVertexBuffer* vb = dynamic_cast<BrD3DVertexBuffer*>(cache.vb);
  if (!vb || !vb->Buffer() || !cache.shader) return false;
  d3d->SetStreamSource(0, vb->Buffer(), 0, stride);
  d3d->SetVertexShader(static_cast<IDirect3DVertexShader9*>(cache.shader));
  d3d->SetVertexDeclaration(static_cast<IDirect3DVertexDeclaration9*>(cache.decl));
  return true;
}

// Stages beyond what the device binds at once are left out. The id is looked up once: a file that is missing
// would otherwise be searched for (and warned about) on every frame.
void texture(BrD3DRenDev& dev, SceneCache& cache, int slot, const char* name, unsigned int stage) {
  if (!dev.TextureMgr() || stage >= dev.SimultaneousTextures()) return;
  if (cache.textures[slot] < 0) cache.textures[slot] = (int)dev.TextureMgr()->GetTexture(BrStringT<char>(name));
  dev.SetTexture((unsigned int)cache.textures[slot], eTextureStatic, stage);
}

void constant(BrD3DRenDev& dev, UINT reg, float a, float b, float c, float d) {
  const float v[4] = {a, b, c, d};
  if (dev.GetDevice()) dev.GetDevice()->SetVertexShaderConstantF(reg, v, 1);
}

void draw(BrD3DRenDev& dev) {
  if (dev.GetDevice()) dev.GetDevice()->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2);
}

// The common lit-scene constants: light direction in c12, colour in c11.
void light(BrD3DRenDev& dev) {
  constant(dev, 12, 0.0f, 0.0f, -1.0f, 0.0f);
  constant(dev, 11, 0.0f, 0.0f, 1.0f, 0.0f);
}

}  // namespace brd3dscene

using namespace brd3dscene;

void BrD3DRenDev::NuDiffuse() {
  SceneCache& cache = m_NuScenes[0];
  if (!bind(*this, cache, 0x42, 64, "vs_1_1\ndcl_position v0\ndcl_color0 v1\nm4x4 oPos, v0, c0\nmov oD0, v1\n")) return;
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuDiffuseTex1() {
  SceneCache& cache = m_NuScenes[1];
  if (!bind(*this, cache, 0x142, 96,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_texcoord0 v8\nm4x4 oPos, v0, c0\nmov oD0, v1\nmov oT0, v8\n"))
    return;
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  texture(*this, cache, 0, "Media\\Textures\\gothic_floor\\metalbridge06_pent.jpg", 0);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuDiffuseTex1Unlit() {
  SceneCache& cache = m_NuScenes[2];
  if (!bind(*this, cache, 0x152, 144,
            "vs_1_1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 oPos, v0, c0\ndp3  r0, "
            "v1, c11\nmul  oD0, r0.x, v2\nmov oT0, v8\n"))
    return;
  constant(*this, 11, 0.0f, 0.0f, -1.0f, 0.0f);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  texture(*this, cache, 0, "Media\\Textures\\gothic_floor\\metalbridge06_pent.jpg", 0);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuRealDiffuseTex1Scroll(float) {
  SceneCache& cache = m_NuScenes[3];
  static float u = 0.0f, v = 0.0f;
  // The offset moves with every call, drawn or not, so the scroll keeps time with the frames.
  u += 0.016f;
  v += 0.008f;
  if (!bind(*this, cache, 0x152, 144,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, "
            "v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nadd r3, v3, c10\nmov  oT0, r3\n"))
    return;
  light(*this);
  constant(*this, 10, u, v, 0.0f, 0.0f);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  texture(*this, cache, 0, "Media\\Textures\\gothic_floor\\metalbridge06_pent.jpg", 0);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuRealDiffuseTex1RotScale() {
  SceneCache& cache = m_NuScenes[4];
  static float angle = 0.0f;
  if (!bind(*this, cache, 0x152, 144,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, "
            "v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nmul r3, v3, c6\nm4x4 r4, r3, c8\nadd r4, "
            "r4, c7\nmov  oT0, r4\n"))
    return;
  angle += 0.01f;
  const float c = std::cos(angle), s = std::sin(angle);
  constant(*this, 6, 2.0f, 2.0f, 1.0f, 1.0f);
  constant(*this, 8, c, -s, 0.0f, 0.0f);
  constant(*this, 9, s, c, 0.0f, 0.0f);
  constant(*this, 10, 0.0f, 0.0f, 1.0f, 0.0f);
  constant(*this, 11, 0.0f, 0.0f, 0.0f, 1.0f);
  constant(*this, 7, 0.5f, 0.5f, 0.0f, 0.0f);
  constant(*this, 12, 0.0f, 0.0f, -1.0f, 0.0f);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  texture(*this, cache, 0, "Media\\Textures\\gothic_floor\\metalbridge06_pent.jpg", 0);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuRealDiffuseTex2() {
  SceneCache& cache = m_NuScenes[5];
  if (!bind(*this, cache, 0x252, 176,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\ndcl_texcoord1 v4\nm4x4 oPos, "
            "v0, c0\ndp3  r0, v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nmov  oT0, v3\nadd r3, v4, "
            "c7\nmov  oT1, r3\n"))
    return;
  light(*this);
  constant(*this, 7, 0.0f, 0.0f, 0.0f, 0.0f);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
  m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
  texture(*this, cache, 0, "Media\\Textures\\gothic_floor\\metalbridge06_pent.jpg", 0);
  texture(*this, cache, 1, "C:\\lmap01.tga", 1);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuCheatEnvMapping() {
  SceneCache& cache = m_NuScenes[6];
  if (!bind(*this, cache, 0x152, 144,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, "
            "v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nadd r3, v0, -c13\ndp3 r3.w, r3, r3\nrsq "
            "r3.w, r3.w\nmul r3, r3, r3.w\nm4x4 r4, r3, c4\nmov  oT0, v3\nmov  oT1, r4\n"))
    return;
  constant(*this, 13, m_View.Position.x, m_View.Position.y, m_View.Position.z, 1.0f);
  light(*this);
  constant(*this, 8, 1.0f, 1.0f, 0.0f, 0.5f);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  m_pd3dDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
  texture(*this, cache, 0, "Media\\Textures\\base_wall\\bluemetalsupport.jpg", 0);
  texture(*this, cache, 1, "Media\\Textures\\Q3A\\textures\\effects\\envmapblue.jpg", 1);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuAlphaCheck() {
  SceneCache& cache = m_NuScenes[7];
  if (!bind(*this, cache, 0x152, 144,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, "
            "v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nadd r3, v0, -c13\ndp3 r3.w, r3, r3\nrsq "
            "r3.w, r3.w\nmul r3, r3, r3.w\nmov  oT0, v3\nmov  oT1, r3\n"))
    return;
  constant(*this, 13, m_View.Position.x, m_View.Position.y, m_View.Position.z, 1.0f);
  light(*this);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  texture(*this, cache, 0, "Media\\Textures\\quill\\bluemetalsupport3.tga", 0);
  texture(*this, cache, 1, "Media\\Textures\\Q3A\\textures\\quill\\envmapblue.tga", 1);
  draw(*this);
  texture(*this, cache, 2, "Media\\Textures\\Q3A\\textures\\quill\\lmap.bmp", 0);
  draw(*this);
  ForgetBoundState();
}

void BrD3DRenDev::NuBumpMapping() {
  SceneCache& cache = m_NuScenes[8];
  if (!bind(*this, cache, 0x152, 144,
            "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\nm4x4 oPos, v0, c0\ndp3  r0, "
            "v2, c12\nmul  r1, r0, c11\nmul r2, r0, v1\nadd oD0, r1, r2\nmov  oT0, v3\nmov  oT1, v3\nmov  oT2, v3\n"))
    return;
  constant(*this, 13, m_View.Position.x, m_View.Position.y, m_View.Position.z, 1.0f);
  constant(*this, 12, 0.0f, 0.0f, -1.0f, 0.0f);
  constant(*this, 11, 0.5f, 0.5f, 0.5f, 0.0f);
  D3DCAPS9 caps;
  std::memset(&caps, 0, sizeof(caps));
  m_pd3dDevice->GetDeviceCaps(&caps);
  const bool bump = (caps.TextureOpCaps & (D3DTEXOPCAPS_BUMPENVMAP | D3DTEXOPCAPS_BUMPENVMAPLUMINANCE)) != 0;
  const float one = 1.0f, zero = 0.0f;
  DWORD oneBits, zeroBits;
  std::memcpy(&oneBits, &one, 4);
  std::memcpy(&zeroBits, &zero, 4);
  // Without bump-environment mapping the stage-1 matrix means nothing to the device.
  if (bump) {
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_BUMPENVMAT00, oneBits);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_BUMPENVMAT01, zeroBits);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_BUMPENVMAT10, zeroBits);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_BUMPENVMAT11, oneBits);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_BUMPENVLSCALE, oneBits);
    m_pd3dDevice->SetTextureStageState(1, D3DTSS_BUMPENVLOFFSET, zeroBits);
  }
  texture(*this, cache, 0, "Media\\Textures\\floor.tga", 0);
  texture(*this, cache, 1, "C:\\normal.jpg", 1);
  texture(*this, cache, 2, "Media\\Textures\\quill\\floor_s.tga", 2);
  draw(*this);
  ForgetBoundState();
}
