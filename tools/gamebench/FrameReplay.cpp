// FrameReplay: uploads a captured frame once and draws it with direct OpenGL calls, sending only what changes.
#include "tools/gamebench/FrameReplay.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "tools/d3d9bench/BenchGL.h"

namespace brbench {
namespace {

// Vertex data of every draw of one layout, packed stream by stream; a draw finds its vertices by base vertex.
struct Layout {
  std::vector<BrD3D9CapturedAttribute> attributes;
  std::vector<BrD3D9CapturedStream> streams;  // bytes of all draws, one stream after another
  GLint vertices = 0;
  GLuint vao = 0;
};

std::string LayoutKey(const BrD3D9CapturedCall& c) {
  std::string key;
  for (const BrD3D9CapturedAttribute& a : c.attributes)
    key += std::to_string(a.location) + ":" + std::to_string(a.stream) + ":" + std::to_string(a.size) + ":" +
           std::to_string(a.type) + ":" + std::to_string(a.normalized) + ":" + std::to_string(a.offset) + ";";
  for (const BrD3D9CapturedStream& s : c.streams)
    key += "s" + std::to_string(s.stream) + ":" + std::to_string(s.stride);
  return key;
}

}  // namespace

FrameReplay::~FrameReplay() { Release(); }

void FrameReplay::Release() {
  for (Program& p : m_Programs)
    if (p.program) glDeleteProgram(p.program);
  if (!m_Textures.empty()) glDeleteTextures(GLsizei(m_Textures.size()), m_Textures.data());
  if (!m_Samplers.empty()) glDeleteSamplers(GLsizei(m_Samplers.size()), m_Samplers.data());
  if (!m_Vaos.empty()) glDeleteVertexArrays(GLsizei(m_Vaos.size()), m_Vaos.data());
  if (!m_Buffers.empty()) glDeleteBuffers(GLsizei(m_Buffers.size()), m_Buffers.data());
  if (m_White) glDeleteTextures(1, &m_White);
  m_Target.release();
  m_Programs.clear();
  m_Textures.clear();
  m_Samplers.clear();
  m_Vaos.clear();
  m_Buffers.clear();
  m_White = 0;
  m_Calls.clear();
}

bool FrameReplay::Upload(const BrD3D9FrameCapture& capture, std::string& error) {
  Release();
  if (!capture.complete) return error = "the capture has no frame", false;
  m_Capture = &capture;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);

  for (const BrD3D9CapturedProgram& cp : capture.programs) {
    Program p;
    std::string log;
    p.program = bench::linkProgram(cp.vertexGlsl.c_str(), cp.fragmentGlsl.c_str(), &log);
    if (!p.program) return error = "a captured program does not link: " + log, false;
    for (uint32_t r = 0; r < cp.constantRegisters; ++r)
      p.locC.push_back(glGetUniformLocation(p.program, ("c[" + std::to_string(r) + "]").c_str()));
    p.locFix = glGetUniformLocation(p.program, "brFix");
    p.locTFactor = glGetUniformLocation(p.program, "brTFactor");
    p.locAlphaRef = glGetUniformLocation(p.program, "brAlphaRef");
    glUseProgram(p.program);
    glUniform1i(glGetUniformLocation(p.program, "brTex0"), 0);
    glUniform1i(glGetUniformLocation(p.program, "brTex1"), 1);
    m_Programs.push_back(std::move(p));
  }
  m_FixedNow.assign(m_Programs.size(), std::vector<float>(9, -1e30f));

  const uint32_t white = 0xFFFFFFFFu;
  m_White = bench::makeTexture({{1, 1, &white}});
  for (const BrD3D9CapturedTexture& ct : capture.textures) {
    std::vector<bench::TextureLevel> levels;
    for (const BrD3D9CapturedTexture::Level& l : ct.levels)
      levels.push_back({GLsizei(l.width), GLsizei(l.height), l.texels.data()});
    m_Textures.push_back(bench::makeTexture(levels, ct.opaque));
  }

  // Layouts, their packed vertices, and one index buffer for every draw.
  std::map<std::string, Layout> layouts;
  std::vector<uint8_t> indices;
  std::vector<std::pair<const BrD3D9CapturedCall*, Layout*>> drawLayouts;
  for (const BrD3D9CapturedCall& c : capture.calls) {
    Call call;
    call.source = &c;
    if (c.isDraw) {
      Layout& l = layouts[LayoutKey(c)];
      if (l.streams.empty()) {
        l.attributes = c.attributes;
        for (const BrD3D9CapturedStream& s : c.streams) l.streams.push_back({s.stream, s.stride, {}});
      }
      call.baseVertex = l.vertices;
      for (size_t s = 0; s < c.streams.size(); ++s)
        l.streams[s].bytes.insert(l.streams[s].bytes.end(), c.streams[s].bytes.begin(), c.streams[s].bytes.end());
      l.vertices += GLint(c.vertexCount);
      if (c.indexSize) {
        indices.resize((indices.size() + 3) & ~size_t(3));
        call.indexOffset = indices.size();
        indices.insert(indices.end(), c.indices.begin(), c.indices.end());
      }
      const Program& p = m_Programs[size_t(c.program)];
      call.program = p.program;
      call.locFix = p.locFix;
      call.locTFactor = p.locTFactor;
      call.locAlphaRef = p.locAlphaRef;
      for (int s = 0; s < 2; ++s) {
        call.textures[s] = c.textures[s] >= 0 ? m_Textures[size_t(c.textures[s])] : m_White;
        size_t k = 0;
        while (k < m_SamplerValues.size() && !(m_SamplerValues[k] == c.samplers[s])) ++k;
        if (k == m_SamplerValues.size()) {
          const BrD3D9CapturedSampler& v = c.samplers[s];
          GLuint smp = 0;
          glGenSamplers(1, &smp);
          glSamplerParameteri(smp, GL_TEXTURE_WRAP_S, v.wrapS);
          glSamplerParameteri(smp, GL_TEXTURE_WRAP_T, v.wrapT);
          glSamplerParameteri(smp, GL_TEXTURE_MAG_FILTER, v.magFilter);
          glSamplerParameteri(smp, GL_TEXTURE_MIN_FILTER, v.minFilter);
          glSamplerParameterf(smp, GL_TEXTURE_LOD_BIAS, v.lodBias);
          glSamplerParameterf(smp, GL_TEXTURE_MIN_LOD, v.minLod);
          glSamplerParameterfv(smp, GL_TEXTURE_BORDER_COLOR, v.border);
          m_Samplers.push_back(smp);
          m_SamplerValues.push_back(v);
        }
        call.samplers[s] = m_Samplers[k];
      }
      drawLayouts.push_back({&c, &l});
    }
    m_Calls.push_back(std::move(call));
  }
  // Filled through the copy binding: no vertex array (the layer's included) is touched.
  GLuint indexBuffer = 0;
  glGenBuffers(1, &indexBuffer);
  m_Buffers.push_back(indexBuffer);
  glBindBuffer(GL_COPY_WRITE_BUFFER, indexBuffer);
  glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(indices.size()), indices.data(), GL_STATIC_DRAW);
  for (auto& [key, l] : layouts) {
    glGenVertexArrays(1, &l.vao);
    m_Vaos.push_back(l.vao);
    glBindVertexArray(l.vao);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    for (const BrD3D9CapturedStream& s : l.streams) {
      GLuint b = 0;
      glGenBuffers(1, &b);
      m_Buffers.push_back(b);
      glBindBuffer(GL_ARRAY_BUFFER, b);
      glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(s.bytes.size()), s.bytes.data(), GL_STATIC_DRAW);
      for (const BrD3D9CapturedAttribute& a : l.attributes) {
        if (a.stream != s.stream) continue;
        glVertexAttribPointer(a.location, a.size, a.type, a.normalized ? GL_TRUE : GL_FALSE, GLsizei(s.stride),
                              reinterpret_cast<const void*>(uintptr_t(a.offset)));
        glEnableVertexAttribArray(a.location);
      }
    }
  }
  size_t d = 0;
  for (Call& call : m_Calls)
    if (call.source->isDraw) call.vao = drawLayouts[d++].second->vao;
  m_Draws = d;

  // Uniforms: each draw sends the registers that differ from its program's draw before it, counting round
  // the frame, since each frame follows the one before. The programs start as the frame leaves them.
  std::vector<const std::vector<float>*> now(m_Programs.size(), nullptr);
  for (const Call& call : m_Calls)
    if (call.source->isDraw) now[size_t(call.source->program)] = &call.source->constants;
  for (size_t p = 0; p < m_Programs.size(); ++p) {
    if (!now[p] || now[p]->empty()) continue;
    glUseProgram(m_Programs[p].program);
    for (size_t r = 0; r < m_Programs[p].locC.size(); ++r)
      if (m_Programs[p].locC[r] >= 0) glUniform4fv(m_Programs[p].locC[r], 1, now[p]->data() + r * 4);
  }
  for (Call& call : m_Calls) {
    if (!call.source->isDraw) continue;
    const Program& p = m_Programs[size_t(call.source->program)];
    const std::vector<float>& before = *now[size_t(call.source->program)];
    const std::vector<float>& after = call.source->constants;
    const size_t n = p.locC.size();
    for (size_t r = 0; r < n;) {
      if (p.locC[r] < 0 || std::memcmp(&before[r * 4], &after[r * 4], 16) == 0) {
        ++r;
        continue;
      }
      size_t end = r + 1;
      while (end < n && p.locC[end] == p.locC[r] + GLint(end - r) &&
             std::memcmp(&before[end * 4], &after[end * 4], 16) != 0)
        ++end;
      call.constants.push_back({p.locC[r], GLsizei(end - r), after.data() + r * 4});
      r = end;
    }
    now[size_t(call.source->program)] = &after;
  }

  if (!capture.toWindow && !m_Target.make(GLsizei(capture.width), GLsizei(capture.height)))
    return error = "no frame buffer", false;
  m_Gl = Shadow();
  if (glGetError() != GL_NO_ERROR) return error = "OpenGL refused part of the upload", false;
  return true;
}

void FrameReplay::Enter() {
  Saved& s = m_Saved;
  glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &s.vao);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &s.activeUnit);
  for (GLint unit = 0; unit < 2; ++unit) {
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.textures[unit]);
    glGetIntegerv(GL_SAMPLER_BINDING, &s.samplers[unit]);
  }
  glActiveTexture(GLenum(s.activeUnit));
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &s.drawFb);
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &s.readFb);
  glGetIntegerv(GL_READ_BUFFER, &s.readBuffer);
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &s.arrayBuffer);
  s.depthTest = glIsEnabled(GL_DEPTH_TEST);
  s.blend = glIsEnabled(GL_BLEND);
  s.cull = glIsEnabled(GL_CULL_FACE);
  s.scissor = glIsEnabled(GL_SCISSOR_TEST);
  glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
  glGetBooleanv(GL_COLOR_WRITEMASK, s.colorMask);
  glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
  glGetIntegerv(GL_BLEND_SRC_RGB, &s.blendSrc);
  glGetIntegerv(GL_BLEND_DST_RGB, &s.blendDst);
  glGetIntegerv(GL_BLEND_EQUATION_RGB, &s.blendEquation);
  glGetIntegerv(GL_CULL_FACE_MODE, &s.cullFace);
  glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
  glGetIntegerv(GL_POLYGON_MODE, s.polygonMode);
  glGetIntegerv(GL_VIEWPORT, s.viewport);
  glGetIntegerv(GL_SCISSOR_BOX, s.scissorBox);
  glGetIntegerv(GL_STENCIL_CLEAR_VALUE, &s.clearStencil);
  glGetIntegerv(GL_STENCIL_WRITEMASK, &s.stencilMask);
  glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clearColor);
  glGetDoublev(GL_DEPTH_RANGE, s.depthRange);
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, &s.clearDepth);
  m_Gl = Shadow();
}

void FrameReplay::Leave() {
  const Saved& s = m_Saved;
  glUseProgram(GLuint(s.program));
  glBindVertexArray(GLuint(s.vao));
  for (GLuint unit = 0; unit < 2; ++unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, GLuint(s.textures[unit]));
    glBindSampler(unit, GLuint(s.samplers[unit]));
  }
  glActiveTexture(GLenum(s.activeUnit));
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(s.drawFb));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(s.readFb));
  glReadBuffer(GLenum(s.readBuffer));
  glBindBuffer(GL_ARRAY_BUFFER, GLuint(s.arrayBuffer));
  s.depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
  s.blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
  s.cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
  s.scissor ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
  glDepthMask(s.depthMask);
  glColorMask(s.colorMask[0], s.colorMask[1], s.colorMask[2], s.colorMask[3]);
  glDepthFunc(GLenum(s.depthFunc));
  glBlendFunc(GLenum(s.blendSrc), GLenum(s.blendDst));
  glBlendEquation(GLenum(s.blendEquation));
  glCullFace(GLenum(s.cullFace));
  glFrontFace(GLenum(s.frontFace));
  glPolygonMode(GL_FRONT_AND_BACK, GLenum(s.polygonMode[0]));
  glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
  glScissor(s.scissorBox[0], s.scissorBox[1], s.scissorBox[2], s.scissorBox[3]);
  glClearStencil(s.clearStencil);
  glStencilMask(GLuint(s.stencilMask));
  glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
  glDepthRange(s.depthRange[0], s.depthRange[1]);
  glClearDepth(s.clearDepth);
}

void FrameReplay::SetRaster(const BrD3D9CapturedRaster& r) {
  BrD3D9CapturedRaster& g = m_Gl.raster;
  const bool all = !m_Gl.rasterKnown;
  m_Gl.rasterKnown = true;
  if (all || r.depthTest != g.depthTest) r.depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
  if (all || r.depthMask != g.depthMask) glDepthMask(r.depthMask ? GL_TRUE : GL_FALSE);
  if (all || r.depthFunc != g.depthFunc) glDepthFunc(r.depthFunc);
  if (all || r.blend != g.blend) r.blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
  if (r.blend && (all || r.blendSrc != g.blendSrc || r.blendDst != g.blendDst)) glBlendFunc(r.blendSrc, r.blendDst);
  if (r.blend && (all || r.blendEquation != g.blendEquation)) glBlendEquation(r.blendEquation);
  if (all || r.frontFace != g.frontFace) glFrontFace(r.frontFace);
  if (all || r.cull != g.cull) r.cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
  if (r.cull && (all || r.cullFace != g.cullFace)) glCullFace(r.cullFace);
  if (all || r.colorMask != g.colorMask)
    glColorMask(r.colorMask & 1 ? GL_TRUE : GL_FALSE, r.colorMask & 2 ? GL_TRUE : GL_FALSE,
                r.colorMask & 4 ? GL_TRUE : GL_FALSE, r.colorMask & 8 ? GL_TRUE : GL_FALSE);
  if (all || r.polygonMode != g.polygonMode) glPolygonMode(GL_FRONT_AND_BACK, r.polygonMode);
  if (all || std::memcmp(r.viewport, g.viewport, sizeof r.viewport) != 0)
    glViewport(r.viewport[0], r.viewport[1], r.viewport[2], r.viewport[3]);
  if (all || r.depthNear != g.depthNear || r.depthFar != g.depthFar) glDepthRange(r.depthNear, r.depthFar);
  // Blend factors that were not sent stay as the context holds them.
  const uint32_t src = g.blendSrc, dst = g.blendDst, eq = g.blendEquation, face = g.cullFace;
  g = r;
  if (!r.blend) g.blendSrc = src, g.blendDst = dst, g.blendEquation = eq;
  if (!r.cull) g.cullFace = face;
}

void FrameReplay::Bind(const Call& c) {
  if (c.program != m_Gl.program) {
    glUseProgram(c.program);
    m_Gl.program = c.program;
  }
  for (const UniformRun& u : c.constants) glUniform4fv(u.location, u.count, u.values);
  const BrD3D9CapturedCall& s = *c.source;
  float* fixed = m_FixedNow[size_t(s.program)].data();
  if (std::memcmp(fixed, s.fix, 16) != 0) {
    glUniform4fv(c.locFix, 1, s.fix);
    std::memcpy(fixed, s.fix, 16);
  }
  if (c.locTFactor >= 0 && std::memcmp(fixed + 4, s.textureFactor, 16) != 0) {
    glUniform4fv(c.locTFactor, 1, s.textureFactor);
    std::memcpy(fixed + 4, s.textureFactor, 16);
  }
  if (c.locAlphaRef >= 0 && fixed[8] != float(s.alphaRef)) {
    glUniform1i(c.locAlphaRef, s.alphaRef);
    fixed[8] = float(s.alphaRef);
  }
  if (c.vao != m_Gl.vao) {
    glBindVertexArray(c.vao);
    m_Gl.vao = c.vao;
  }
  for (GLuint unit = 0; unit < 2; ++unit) {
    if (c.textures[unit] != m_Gl.textures[unit]) {
      if (m_Gl.unit != GL_TEXTURE0 + unit) glActiveTexture(m_Gl.unit = GL_TEXTURE0 + unit);
      glBindTexture(GL_TEXTURE_2D, c.textures[unit]);
      m_Gl.textures[unit] = c.textures[unit];
    }
    if (c.samplers[unit] != m_Gl.samplers[unit]) {
      glBindSampler(unit, c.samplers[unit]);
      m_Gl.samplers[unit] = c.samplers[unit];
    }
  }
  SetRaster(s.raster);
  if (m_Gl.scissor != 0) {
    glDisable(GL_SCISSOR_TEST);
    m_Gl.scissor = 0;
  }
}

void FrameReplay::Draw() {
  glBindFramebuffer(GL_FRAMEBUFFER, m_Target.fbo);
  for (const Call& c : m_Calls) {
    const BrD3D9CapturedCall& s = *c.source;
    if (s.isDraw) {
      Bind(c);
      if (s.indexSize)
        glDrawElementsBaseVertex(s.mode, GLsizei(s.count), s.indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                 reinterpret_cast<const void*>(c.indexOffset), c.baseVertex);
      else
        glDrawArrays(s.mode, c.baseVertex, GLsizei(s.count));
      continue;
    }
    if ((s.clearMask & GL_COLOR_BUFFER_BIT) && std::memcmp(m_Gl.clearColor, s.clearColor, 16) != 0) {
      glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
      std::memcpy(m_Gl.clearColor, s.clearColor, 16);
    }
    if ((s.clearMask & GL_DEPTH_BUFFER_BIT) && m_Gl.clearDepth != s.clearDepth)
      glClearDepth(m_Gl.clearDepth = s.clearDepth);
    if ((s.clearMask & GL_STENCIL_BUFFER_BIT) && m_Gl.clearStencil != s.clearStencil)
      glClearStencil(m_Gl.clearStencil = s.clearStencil);
    // A clear writes through the masks: open the ones it needs.
    if ((s.clearMask & GL_COLOR_BUFFER_BIT) && (!m_Gl.rasterKnown || m_Gl.raster.colorMask != 0xF)) {
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      m_Gl.raster.colorMask = 0xF;
    }
    if ((s.clearMask & GL_DEPTH_BUFFER_BIT) && (!m_Gl.rasterKnown || m_Gl.raster.depthMask != 1)) {
      glDepthMask(GL_TRUE);
      m_Gl.raster.depthMask = 1;
    }
    if (s.clearMask & GL_STENCIL_BUFFER_BIT) glStencilMask(0xFF);
    if (m_Gl.scissor != int(s.scissor)) {
      s.scissor ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
      m_Gl.scissor = int(s.scissor);
    }
    if (s.scissor) glScissor(s.scissorBox[0], s.scissorBox[1], s.scissorBox[2], s.scissorBox[3]);
    glClear(s.clearMask);
  }
  if (m_Target.fbo) {
    const GLint w = GLint(m_Capture->width), h = GLint(m_Capture->height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_Target.fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (m_Gl.scissor != 0) {
      glDisable(GL_SCISSOR_TEST);
      m_Gl.scissor = 0;
    }
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }
}

std::vector<uint32_t> FrameReplay::Picture() const {
  return bench::readPicture(m_Target.fbo, GLsizei(m_Capture->width), GLsizei(m_Capture->height));
}

size_t FrameReplay::CompareWithCapture(int tolerance, int& largest) {
  Draw();
  return bench::differingPixels(Picture(), m_Capture->picture, tolerance, largest);
}

}  // namespace brbench
