// The draw path of the OpenGL core: programs from the shader and the texture stages, vertex inputs from
// the declaration and streams, and the render and sampler states, each sent only when it changed.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Resources.h"

namespace brd3d9 {
namespace {

bool primitive(D3DPRIMITIVETYPE type, UINT n, GLenum& mode, UINT& count) {
  switch (type) {
    case D3DPT_POINTLIST:
      mode = GL_POINTS;
      count = n;
      return true;
    case D3DPT_LINELIST:
      mode = GL_LINES;
      count = 2 * n;
      return true;
    case D3DPT_LINESTRIP:
      mode = GL_LINE_STRIP;
      count = n + 1;
      return true;
    case D3DPT_TRIANGLELIST:
      mode = GL_TRIANGLES;
      count = 3 * n;
      return true;
    case D3DPT_TRIANGLESTRIP:
      mode = GL_TRIANGLE_STRIP;
      count = n + 2;
      return true;
    case D3DPT_TRIANGLEFAN:
      mode = GL_TRIANGLE_FAN;
      count = n + 2;
      return true;
    default: return false;
  }
}

GLenum compareFunc(DWORD f) {
  switch (f) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLenum blendFactor(DWORD b) {
  switch (b) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
  }
}

GLenum blendEquation(DWORD op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLint wrapMode(DWORD a) {
  switch (a) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    default: return GL_REPEAT;
  }
}

}  // namespace

bool brAttribFormat(BYTE type, GLint& size, GLenum& glType, GLboolean& normalized) {
  normalized = GL_FALSE;
  switch (type) {
    case D3DDECLTYPE_FLOAT1:
      size = 1;
      glType = GL_FLOAT;
      return true;
    case D3DDECLTYPE_FLOAT2:
      size = 2;
      glType = GL_FLOAT;
      return true;
    case D3DDECLTYPE_FLOAT3:
      size = 3;
      glType = GL_FLOAT;
      return true;
    case D3DDECLTYPE_FLOAT4:
      size = 4;
      glType = GL_FLOAT;
      return true;
    // Bytes B, G, R, A in memory: OpenGL's BGRA size reorders them to RGBA.
    case D3DDECLTYPE_D3DCOLOR:
      size = GL_BGRA;
      glType = GL_UNSIGNED_BYTE;
      normalized = GL_TRUE;
      return true;
    case D3DDECLTYPE_UBYTE4:
      size = 4;
      glType = GL_UNSIGNED_BYTE;
      return true;
    case D3DDECLTYPE_UBYTE4N:
      size = 4;
      glType = GL_UNSIGNED_BYTE;
      normalized = GL_TRUE;
      return true;
    case D3DDECLTYPE_SHORT2:
      size = 2;
      glType = GL_SHORT;
      return true;
    case D3DDECLTYPE_SHORT4:
      size = 4;
      glType = GL_SHORT;
      return true;
    case D3DDECLTYPE_SHORT2N:
      size = 2;
      glType = GL_SHORT;
      normalized = GL_TRUE;
      return true;
    case D3DDECLTYPE_SHORT4N:
      size = 4;
      glType = GL_SHORT;
      normalized = GL_TRUE;
      return true;
    case D3DDECLTYPE_USHORT2N:
      size = 2;
      glType = GL_UNSIGNED_SHORT;
      normalized = GL_TRUE;
      return true;
    case D3DDECLTYPE_USHORT4N:
      size = 4;
      glType = GL_UNSIGNED_SHORT;
      normalized = GL_TRUE;
      return true;
    case D3DDECLTYPE_FLOAT16_2:
      size = 2;
      glType = GL_HALF_FLOAT;
      return true;
    case D3DDECLTYPE_FLOAT16_4:
      size = 4;
      glType = GL_HALF_FLOAT;
      return true;
    default: return false;
  }
}

BrD3D9CapturedSampler brSamplerValues(const DWORD* sp) {
  BrD3D9CapturedSampler v;
  v.wrapS = wrapMode(sp[D3DSAMP_ADDRESSU]);
  v.wrapT = wrapMode(sp[D3DSAMP_ADDRESSV]);
  const bool magLinear = sp[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
  const bool minLinear = sp[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
  v.magFilter = magLinear ? GL_LINEAR : GL_NEAREST;
  v.minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
  if (sp[D3DSAMP_MIPFILTER] == D3DTEXF_POINT)
    v.minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  else if (sp[D3DSAMP_MIPFILTER] >= D3DTEXF_LINEAR)
    v.minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  float bias;
  std::memcpy(&bias, &sp[D3DSAMP_MIPMAPLODBIAS], 4);
  v.lodBias = bias == bias ? bias : 0.0f;
  v.minLod = float(sp[D3DSAMP_MAXMIPLEVEL] & 0xFFFF);
  const DWORD c = sp[D3DSAMP_BORDERCOLOR];
  v.border[0] = float((c >> 16) & 0xFF) / 255.0f;
  v.border[1] = float((c >> 8) & 0xFF) / 255.0f;
  v.border[2] = float(c & 0xFF) / 255.0f;
  v.border[3] = float(c >> 24) / 255.0f;
  return v;
}

size_t Core::KeyHash::operator()(const ProgramKey& k) const {
  size_t h = FsHash()(k.fs);
  return h ^ (size_t(k.shaderId) * 0x9E3779B97F4A7C15ull) ^ (k.pretransformed << 1);
}

namespace {

// A key's bytes eight at a time: the input key is looked up at most draws, and a byte at a time its 200 bytes
// were a chain of 200 dependent multiplies per draw.
size_t hashBytes(const void* key, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(key);
  uint64_t h = 1469598103934665603ull;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    h = (h ^ w) * 1099511628211ull;
    h ^= h >> 29;
  }
  for (; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return size_t(h ^ (h >> 32));
}

}  // namespace

size_t Core::InputHash::operator()(const InputKey& k) const {
  static_assert(offsetof(InputKey, streams) == 3 * sizeof(uint32_t) && sizeof(InputKey::Stream) == 12,
                "the key's fields in use lie together, without padding");
  return hashBytes(&k, offsetof(InputKey, streams) + k.used * sizeof(InputKey::Stream));
}

size_t Core::FsHash::operator()(const FsKey& k) const { return hashBytes(&k, sizeof k); }

GLuint Core::compileShader(GLenum type, const std::string& text, std::string& error) {
  GLuint s = glCreateShader(type);
  const char* src = text.c_str();
  glShaderSource(s, 1, &src, nullptr);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {0};
    glGetShaderInfoLog(s, sizeof log - 1, nullptr, log);
    error = std::string("GLSL compile failed: ") + log;
    glDeleteShader(s);
    return 0;
  }
  return s;
}

bool Core::selectProgram(std::string& error) {
  VertexShader* shader = state.shader;
  const DWORD* rs = state.rs;
  ProgramKey key;
  std::memset(&key, 0, sizeof key);
  key.shaderId = shader->id;
  key.pretransformed = state.declaration->pretransformed ? 1 : 0;
  key.fs = brFsMakeKey(state.tss, rs[D3DRS_ALPHATESTENABLE] != 0, rs[D3DRS_ALPHAFUNC]);
  if (mCurrent && key == mCurrentKey) return true;
  auto it = mPrograms.find(key);
  if (it == mPrograms.end()) {
    Program p;
    GLuint& vs = shader->glShader[key.pretransformed];
    if (!vs)
      vs = compileShader(GL_VERTEX_SHADER, brVsEmitGlsl(shader->program, mConv, key.pretransformed, false), error);
    GLuint& fs = mFragmentShaders[key.fs];
    if (!fs) fs = compileShader(GL_FRAGMENT_SHADER, brFsEmitGlsl(key.fs), error);
    if (vs && fs) {
      p.program = glCreateProgram();
      glAttachShader(p.program, vs);
      glAttachShader(p.program, fs);
      glLinkProgram(p.program);
      GLint ok = 0;
      glGetProgramiv(p.program, GL_LINK_STATUS, &ok);
      if (!ok) {
        char log[1024] = {0};
        glGetProgramInfoLog(p.program, sizeof log - 1, nullptr, log);
        error = std::string("GLSL link failed: ") + log;
        glDeleteProgram(p.program);
        p.program = 0;
      }
    }
    if (p.program) {
      // Each register's own location, so a change of a few registers uploads only those.
      for (int r = 0; r <= shader->program.maxConstant; ++r)
        p.locC.push_back(glGetUniformLocation(p.program, ("c[" + std::to_string(r) + "]").c_str()));
      p.locFix = glGetUniformLocation(p.program, "brFix");
      p.locTFactor = glGetUniformLocation(p.program, "brTFactor");
      p.locAlphaRef = glGetUniformLocation(p.program, "brAlphaRef");
      glUseProgram(p.program);
      glUniform1i(glGetUniformLocation(p.program, "brTex0"), 0);
      glUniform1i(glGetUniformLocation(p.program, "brTex1"), 1);
    }
    it = mPrograms.emplace(key, p).first;
  }
  if (!it->second.program) {
    if (error.empty()) error = "the shader could not be linked";
    mCurrent = nullptr;
    return false;
  }
  glUseProgram(it->second.program);
  mCurrent = &it->second;
  mCurrentKey = key;
  return true;
}

bool Core::compileVertexShader(VertexShader* shader, std::string& error) {
  if (!makeCurrent()) return error = "the context cannot be made current", false;
  for (uint32_t pre = 0; pre < 2; ++pre) {
    GLuint& vs = shader->glShader[pre];
    if (!vs) vs = compileShader(GL_VERTEX_SHADER, brVsEmitGlsl(shader->program, mConv, pre != 0, false), error);
    if (!vs) return false;
  }
  return true;
}

void Core::forgetShader(VertexShader* shader) {
  makeCurrent();
  for (auto it = mInputStates.begin(); it != mInputStates.end();) {
    if (it->first.shaderId == shader->id) {
      if (mInput == &it->second) {
        mInput = nullptr;
        glBindVertexArray(mVao);
      }
      glDeleteVertexArrays(1, &it->second.vao);
      it = mInputStates.erase(it);
    } else {
      ++it;
    }
  }
  for (auto it = mPrograms.begin(); it != mPrograms.end();) {
    if (it->first.shaderId == shader->id) {
      if (mCurrent == &it->second) {
        mCurrent = nullptr;
        glUseProgram(0);
      }
      if (it->second.program) glDeleteProgram(it->second.program);
      it = mPrograms.erase(it);
    } else {
      ++it;
    }
  }
  for (GLuint& s : shader->glShader)
    if (s) {
      glDeleteShader(s);
      s = 0;
    }
}

void Core::setupInputs() {
  InputKey key;
  key.shaderId = state.shader->id;
  key.declId = state.declaration->id;
  const VertexDeclaration* decl = state.declaration;
  for (const VsInput& in : state.shader->program.inputs) {
    const D3DVERTEXELEMENT9* e = decl->find(in.usage, in.usageIndex);
    if (!e || e->Stream >= kStreams) continue;
    const StreamBinding& b = state.streams[e->Stream];
    key.streams[e->Stream] = {b.buffer ? b.buffer->store.gl : 0, b.offset, b.stride};
    key.used = std::max<uint32_t>(key.used, uint32_t(e->Stream) + 1);
  }
  auto it = mInputStates.find(key);
  if (it == mInputStates.end()) {
    InputState made;
    glGenVertexArrays(1, &made.vao);
    ++testCounts().vertexInputStates;
    glBindVertexArray(made.vao);
    for (const VsInput& in : state.shader->program.inputs) {
      const D3DVERTEXELEMENT9* e = decl->find(in.usage, in.usageIndex);
      if (!e) continue;  // unfed inputs read (0, 0, 0, 1), as in Direct3D
      const StreamBinding& b = state.streams[e->Stream];
      GLint size;
      GLenum type;
      GLboolean normalized;
      if (!brAttribFormat(e->Type, size, type, normalized)) continue;
      if (!b.buffer) {
        made.inputs.push_back({e->Stream, 0});  // caught by the range check
        continue;
      }
      glBindBuffer(GL_ARRAY_BUFFER, b.buffer->store.gl);
      glVertexAttribPointer(in.reg, size, type, normalized, GLsizei(b.stride),
                            reinterpret_cast<const void*>(uintptr_t(b.offset) + e->Offset));
      glEnableVertexAttribArray(in.reg);
      made.inputs.push_back({e->Stream, UINT(e->Offset) + brDeclTypeSize(e->Type)});
    }
    it = mInputStates.emplace(key, std::move(made)).first;
  } else if (mInput != &it->second) {
    glBindVertexArray(it->second.vao);
  }
  mInput = &it->second;
}

bool Core::checkVertexRange(int64_t first, int64_t last) const {
  if (first < 0 || last < first || !mInput) return false;
  for (const auto& in : mInput->inputs) {
    const StreamBinding& b = state.streams[in.first];
    if (!b.buffer) return false;
    const int64_t end = int64_t(b.offset) + last * int64_t(b.stride) + in.second;
    if (end > int64_t(b.buffer->size)) return false;
  }
  return true;
}

void Core::applyRaster() {
  const DWORD* rs = state.rs;
  GlRaster& g = mGl;
  const int depthTest = (mHasDepth && rs[D3DRS_ZENABLE] != D3DZB_FALSE) ? 1 : 0;
  if (depthTest != g.depthTest) {
    depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    g.depthTest = depthTest;
  }
  const int depthMask = rs[D3DRS_ZWRITEENABLE] ? 1 : 0;
  if (depthMask != g.depthMask) {
    glDepthMask(depthMask ? GL_TRUE : GL_FALSE);
    g.depthMask = depthMask;
  }
  const GLenum depthFunc = compareFunc(rs[D3DRS_ZFUNC]);
  if (depthFunc != g.depthFunc) {
    glDepthFunc(depthFunc);
    g.depthFunc = depthFunc;
  }
  const int blend = rs[D3DRS_ALPHABLENDENABLE] ? 1 : 0;
  if (blend != g.blend) {
    blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    g.blend = blend;
  }
  if (blend) {
    GLenum src = blendFactor(rs[D3DRS_SRCBLEND]), dst = blendFactor(rs[D3DRS_DESTBLEND]);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) {
      src = GL_SRC_ALPHA;
      dst = GL_ONE_MINUS_SRC_ALPHA;
    } else if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) {
      src = GL_ONE_MINUS_SRC_ALPHA;
      dst = GL_SRC_ALPHA;
    }
    if (src != g.blendSrc || dst != g.blendDst) {
      glBlendFunc(src, dst);
      g.blendSrc = src;
      g.blendDst = dst;
    }
    const GLenum eq = blendEquation(rs[D3DRS_BLENDOP]);
    if (eq != g.blendEq) {
      glBlendEquation(eq);
      g.blendEq = eq;
    }
  }
  if (g.cull == -1) glFrontFace(mConv.frontFaceClockwise ? GL_CW : GL_CCW);
  const int cull = rs[D3DRS_CULLMODE] == D3DCULL_NONE ? 0 : 1;
  if (cull != g.cull) {
    cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
    g.cull = cull;
  }
  // D3DCULL_CCW drops counter-clockwise (back) faces, D3DCULL_CW clockwise (front) ones.
  const GLenum face = rs[D3DRS_CULLMODE] == D3DCULL_CW ? GL_FRONT : GL_BACK;
  if (cull && face != g.cullFace) {
    glCullFace(face);
    g.cullFace = face;
  }
  const int mask = int(rs[D3DRS_COLORWRITEENABLE] & 0xF);
  if (mask != g.colorMask) {
    glColorMask(mask & 1 ? GL_TRUE : GL_FALSE, mask & 2 ? GL_TRUE : GL_FALSE, mask & 4 ? GL_TRUE : GL_FALSE,
                mask & 8 ? GL_TRUE : GL_FALSE);
    g.colorMask = mask;
  }
  const GLenum fill = rs[D3DRS_FILLMODE] == D3DFILL_POINT       ? GL_POINT
                      : rs[D3DRS_FILLMODE] == D3DFILL_WIREFRAME ? GL_LINE
                                                                : GL_FILL;
  if (fill != g.polygonMode) {
    glPolygonMode(GL_FRONT_AND_BACK, fill);
    g.polygonMode = fill;
  }
}

void Core::applyViewport() {
  const D3DVIEWPORT9& vp = state.viewport;
  glViewport(GLint(vp.X), GLint(mParams.BackBufferHeight) - GLint(vp.Y + vp.Height), GLsizei(vp.Width),
             GLsizei(vp.Height));
  glDepthRange(vp.MinZ, vp.MaxZ);
}

void Core::uploadTexture(Texture* t) {
  if (!t->gl || !makeCurrent()) return;
  bool bound = false;
  t->anyDirty = false;
  for (size_t i = 0; i < t->levels.size(); ++i) {
    Texture::Level& l = t->levels[i];
    if (l.locked) {
      t->anyDirty = t->anyDirty || l.dirty || !l.inGl;
      continue;
    }
    if (l.dirty || !l.inGl) {
      if (!bound) bindSpareTexture(t->gl);
      bound = true;
      // A level never locked reads as zeros, as Direct3D's new textures do.
      std::vector<uint8_t> zeros;
      if (l.texels.empty()) zeros.assign(size_t(l.width) * l.height * 4, 0);
      glTexSubImage2D(GL_TEXTURE_2D, GLint(i), 0, 0, GLsizei(l.width), GLsizei(l.height), GL_BGRA,
                      GL_UNSIGNED_INT_8_8_8_8_REV, l.texels.empty() ? zeros.data() : l.texels.data());
      l.dirty = false;
      l.inGl = true;
    }
    if (!t->keepCopy) std::vector<uint8_t>().swap(l.texels);
  }
}

void Core::readTexture(Texture* t, UINT level, uint8_t* out) {
  bindSpareTexture(t->gl);
  ++testCounts().textureReadBacks;
  glGetTexImage(GL_TEXTURE_2D, GLint(level), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, out);
}

void Core::applyTextures() {
  for (uint32_t s = 0; s < kFsStages; ++s) {
    Texture* t = state.textures[s];
    if (t && t->anyDirty) uploadTexture(t);
    const GLuint name = (t && t->gl) ? t->gl : mWhite;
    if (name != mBoundTexture[s]) {
      activeUnit(GL_TEXTURE0 + s);
      glBindTexture(GL_TEXTURE_2D, name);
      mBoundTexture[s] = name;
    }
    if (!(dirtySamplers & (1u << s))) continue;
    const BrD3D9CapturedSampler v = brSamplerValues(state.samp[s]);
    const GLuint smp = mSamplers[s];
    glSamplerParameteri(smp, GL_TEXTURE_WRAP_S, v.wrapS);
    glSamplerParameteri(smp, GL_TEXTURE_WRAP_T, v.wrapT);
    glSamplerParameteri(smp, GL_TEXTURE_MAG_FILTER, v.magFilter);
    glSamplerParameteri(smp, GL_TEXTURE_MIN_FILTER, v.minFilter);
    glSamplerParameterf(smp, GL_TEXTURE_LOD_BIAS, v.lodBias);
    glSamplerParameterf(smp, GL_TEXTURE_MIN_LOD, v.minLod);
    glSamplerParameterfv(smp, GL_TEXTURE_BORDER_COLOR, v.border);
  }
  dirtySamplers &= ~((1u << kFsStages) - 1);
  dirtyTextures &= ~((1u << kFsStages) - 1);
}

void Core::fixedUniforms(float fix[4], float textureFactor[4], GLint& alphaRef) const {
  const D3DVIEWPORT9& vp = state.viewport;
  fix[0] = 1.0f / float(vp.Width ? vp.Width : 1);
  fix[1] = 1.0f / float(vp.Height ? vp.Height : 1);
  fix[2] = float(vp.X);
  fix[3] = float(vp.Y);
  const DWORD tf = state.rs[D3DRS_TEXTUREFACTOR];
  textureFactor[0] = float((tf >> 16) & 0xFF) / 255.0f;
  textureFactor[1] = float((tf >> 8) & 0xFF) / 255.0f;
  textureFactor[2] = float(tf & 0xFF) / 255.0f;
  textureFactor[3] = float(tf >> 24) / 255.0f;
  alphaRef = GLint(state.rs[D3DRS_ALPHAREF] & 0xFF);
}

HRESULT Core::prepare(const char* where) {
  if (!makeCurrent()) return refuse(D3DERR_DEVICELOST, where, "the context cannot be made current");
  mPacer.settle();
  if (!state.shader) return invalidCall(where, "no vertex shader is set (this device has no fixed-function pipeline)");
  if (!state.declaration) return invalidCall(where, "no vertex declaration is set");
  if (!pendingBuffers.empty()) uploadPendingBuffers();
  if (dirty & kDirtyProgram) {
    std::string error;
    if (!selectProgram(error)) return invalidCall(where, error.c_str());
    dirty &= ~kDirtyProgram;
  }
  if (!mCurrent) return invalidCall(where, "no program");
  Program& p = *mCurrent;
  if (p.constSerial != constSerial) {
    // Only the registers changed since this program last took its constants, in runs of neighbours.
    const int count = int(p.locC.size());
    for (int r = 0; r < count;) {
      if (constRegSerial[r] <= p.constSerial || p.locC[size_t(r)] < 0) {
        ++r;
        continue;
      }
      int end = r + 1;
      while (end < count && constRegSerial[end] > p.constSerial && p.locC[size_t(end)] == p.locC[size_t(r)] + (end - r))
        ++end;
      glUniform4fv(p.locC[size_t(r)], end - r, state.constants + size_t(r) * 4);
      testCounts().constantRegisters += uint32_t(end - r);
      r = end;
    }
    p.constSerial = constSerial;
  }
  if (p.fixedSerial != fixedSerial) {
    float fix[4], textureFactor[4];
    GLint alphaRef;
    fixedUniforms(fix, textureFactor, alphaRef);
    glUniform4fv(p.locFix, 1, fix);
    if (p.locTFactor >= 0) glUniform4fv(p.locTFactor, 1, textureFactor);
    if (p.locAlphaRef >= 0) glUniform1i(p.locAlphaRef, alphaRef);
    p.fixedSerial = fixedSerial;
  }
  if (dirty & kDirtyInputs) {
    setupInputs();
    dirty &= ~kDirtyInputs;
  }
  if (dirty & kDirtyRaster) {
    applyRaster();
    dirty &= ~kDirtyRaster;
  }
  if (dirty & kDirtyViewport) {
    applyViewport();
    dirty &= ~kDirtyViewport;
  }
  // A clear of part of the frame leaves the scissor on; draws are never cut by it.
  disableScissor();
  applyTextures();
  return D3D_OK;
}

HRESULT Core::draw(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  GLenum mode;
  UINT count;
  if (!primitive(type, primitiveCount, mode, count)) return invalidCall("DrawPrimitive", "unknown primitive type");
  const HRESULT hr = prepare("DrawPrimitive");
  if (FAILED(hr)) return hr;
  if (primitiveCount == 0) return D3D_OK;
  if (!checkVertexRange(startVertex, int64_t(startVertex) + count - 1))
    return invalidCall("DrawPrimitive", "the vertices run past a stream's buffer (or a stream has none)");
  if (gCapture) captureDraw(mode, count, startVertex, count, nullptr, 0);
  ++testCounts().draws;
  glDrawArrays(mode, GLint(startVertex), GLsizei(count));
  return D3D_OK;
}

HRESULT Core::drawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT numVertices, UINT startIndex,
                          UINT primitiveCount) {
  GLenum mode;
  UINT count;
  if (!primitive(type, primitiveCount, mode, count))
    return invalidCall("DrawIndexedPrimitive", "unknown primitive type");
  IndexBuffer* ib = state.indices;
  if (!ib) return invalidCall("DrawIndexedPrimitive", "no index buffer is set");
  const UINT isz = ib->indexSize();
  if (uint64_t(startIndex) + count > ib->size / isz)
    return invalidCall("DrawIndexedPrimitive", "the indices run past the index buffer");
  const HRESULT hr = prepare("DrawIndexedPrimitive");
  if (FAILED(hr)) return hr;
  if (primitiveCount == 0) return D3D_OK;
  const int64_t first = int64_t(baseVertex) + minIndex;
  if (numVertices == 0 || !checkVertexRange(first, first + numVertices - 1))
    return invalidCall("DrawIndexedPrimitive", "the vertex range runs past a stream's buffer (or a stream has none)");
  // The element buffer belongs to the bound vertex input state.
  if (mInput->indexBuffer != ib->store.gl) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->store.gl);
    mInput->indexBuffer = ib->store.gl;
  }
  dirty &= ~kDirtyIndices;
  if (gCapture) captureDraw(mode, count, baseVertex, 0, ib->store.bytes.data() + size_t(startIndex) * isz, isz);
  ++testCounts().draws;
  glDrawElementsBaseVertex(mode, GLsizei(count), isz == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                           reinterpret_cast<const void*>(uintptr_t(startIndex) * isz), baseVertex);
  return D3D_OK;
}

}  // namespace brd3d9
