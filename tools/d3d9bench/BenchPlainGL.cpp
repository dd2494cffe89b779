// The benchmark scene drawn with plain OpenGL 3.3 calls: the same buffers, uploads, states and draws as the
// layer makes, written directly, into the window's frame buffer or into a frame buffer object copied to it.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstring>
#include <ctime>

#include "platform/win32/win32_user.h"
#include "tools/d3d9bench/BenchGL.h"
#include "tools/d3d9bench/BenchPaths.h"
#include "tools/d3d9bench/BenchScene.h"

namespace bench {
namespace {

const char kWorldVS[] = R"(#version 330 core
layout(location = 0) in vec3 pos;
layout(location = 2) in vec4 col;
layout(location = 3) in vec2 uv;
uniform mat4 viewProj;
uniform mat4 world;
uniform vec4 lightPos;
uniform float range;
uniform vec2 invSize;
out vec4 color;
out vec2 tc;
void main() {
  vec4 wp = world * vec4(pos, 1.0);
  vec4 p = viewProj * wp;
  float k = 1.0 - min(length(lightPos.xyz - wp.xyz) / range, 1.0);
  color = vec4(k, k, k, 1.0);
  tc = uv;
  gl_Position = vec4(p.x + p.w * invSize.x, p.y - p.w * invSize.y, 2.0 * p.z - p.w, p.w);
})";

const char kFS[] = R"(#version 330 core
in vec4 color;
in vec2 tc;
uniform sampler2D tex;
out vec4 outColor;
void main() {
  vec4 t = texture(tex, tc);
  vec4 c = clamp(vec4(t.rgb * color.rgb, color.a * t.a), 0.0, 1.0);
  if (int(c.a * 255.0 + 0.5) < 1) discard;
  outColor = c;
})";

GLuint program(const char* vsText, const char* fsText) { return linkProgram(vsText, fsText); }

}  // namespace

Result runPlainGL(HWND hwnd, int frames, bool viaFbo, int ahead) {
  Result result;
  PlainContext context(ahead);
  if (!context.open(brW32GetSDLWindow(hwnd), result.error)) return result;
  const GLuint worldProg = program(kWorldVS, kFS), spriteProg = program(kSpriteGlsl, kFS);
  if (!worldProg || !spriteProg) return result.error = "shaders failed", result;
  GLuint tex[kTextures];
  std::vector<uint32_t> texels(size_t(kTextureSize) * kTextureSize);
  for (int k = 0; k < kTextures; ++k) {
    for (int y = 0; y < kTextureSize; ++y)
      for (int x = 0; x < kTextureSize; ++x) texels[size_t(y) * kTextureSize + x] = texel(k, x, y);
    tex[k] = makeTexture({{kTextureSize, kTextureSize, texels.data()}}, false, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, -1.0f);
  }
  std::vector<WorldVertex> wv;
  std::vector<uint16_t> wi;
  worldPatch(wv, wi);
  GLuint vao[2], buf[4];
  glGenVertexArrays(2, vao);
  glGenBuffers(4, buf);
  glBindVertexArray(vao[0]);
  glBindBuffer(GL_ARRAY_BUFFER, buf[0]);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(wv.size() * sizeof(WorldVertex)), wv.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buf[1]);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(wi.size() * 2), wi.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(WorldVertex), nullptr);
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(WorldVertex), reinterpret_cast<void*>(24));
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, sizeof(WorldVertex), reinterpret_cast<void*>(28));
  const GLsizeiptr spriteBytes = GLsizeiptr(kBatches) * kSpritesPerBatch * 4 * sizeof(SpriteVertex);
  const GLsizeiptr batchBytes = GLsizeiptr(kSpritesPerBatch) * 4 * sizeof(SpriteVertex);
  const std::vector<uint16_t> si = spriteIndices();
  glBindVertexArray(vao[1]);
  glBindBuffer(GL_ARRAY_BUFFER, buf[2]);
  glBufferData(GL_ARRAY_BUFFER, spriteBytes, nullptr, GL_DYNAMIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buf[3]);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(si.size() * 2), si.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(SpriteVertex), nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(SpriteVertex), reinterpret_cast<void*>(16));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(SpriteVertex), reinterpret_cast<void*>(20));

  float vp[16], world[16], lightPos[3], range;
  viewProjection(vp);
  light(lightPos, range);
  const GLint wVP = glGetUniformLocation(worldProg, "viewProj"), wWorld = glGetUniformLocation(worldProg, "world");
  glUseProgram(worldProg);
  glUniform4f(glGetUniformLocation(worldProg, "lightPos"), lightPos[0], lightPos[1], lightPos[2], 0);
  glUniform1f(glGetUniformLocation(worldProg, "range"), range);
  glUniform2f(glGetUniformLocation(worldProg, "invSize"), 1.0f / kWidth, 1.0f / kHeight);
  glUseProgram(spriteProg);
  glUniform2f(glGetUniformLocation(spriteProg, "invSize"), 1.0f / kWidth, 1.0f / kHeight);
  glViewport(0, 0, kWidth, kHeight);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glClearColor(0x10 / 255.0f, 0x18 / 255.0f, 0x20 / 255.0f, 1.0f);
  glClearDepth(1.0);

  // With viaFbo the frame is drawn off-screen and copied to the window, as the layer presents it; on some
  // drivers (Mesa's software one among them) that is the faster way.
  OffscreenTarget target;
  if (viaFbo && !target.make(kWidth, kHeight)) return result.error = "no frame buffer", result;
  const GLuint fbo = target.fbo;
  std::vector<SpriteVertex> sv;
  const int warmup = 10;
  Uint64 start = 0;
  double cpuStart = 0, threadStart = 0;
  for (int f = 0; f < warmup + frames; ++f) {
    if (f == warmup) {
      start = SDL_GetPerformanceCounter();
      cpuStart = cpuSeconds();
      threadStart = threadSeconds();
    }
    sprites(f, sv);
    context.frameBegins();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(worldProg);
    glUniformMatrix4fv(wVP, 1, GL_FALSE, vp);
    glBindVertexArray(vao[0]);
    glBindTexture(GL_TEXTURE_2D, tex[0]);
    for (int i = 0; i < kPatches; ++i) {
      patchMatrix(i, world);
      glUniformMatrix4fv(wWorld, 1, GL_FALSE, world);
      glDrawElements(GL_TRIANGLES, kTrianglesPerPatch * 3, GL_UNSIGNED_SHORT, nullptr);
    }
    glUseProgram(spriteProg);
    glBindVertexArray(vao[1]);
    glBindBuffer(GL_ARRAY_BUFFER, buf[2]);
    for (int b = 0; b < kBatches; ++b) {
      // The first batch of a frame orphans the buffer; later ones append without synchronising.
      const void* src = &sv[size_t(b) * kSpritesPerBatch * 4];
      if (b == 0) {
        glBufferData(GL_ARRAY_BUFFER, spriteBytes, nullptr, GL_DYNAMIC_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, batchBytes, src);
      } else {
        void* p = glMapBufferRange(GL_ARRAY_BUFFER, b * batchBytes, batchBytes,
                                   GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
        std::memcpy(p, src, size_t(batchBytes));
        glUnmapBuffer(GL_ARRAY_BUFFER);
      }
      glBindTexture(GL_TEXTURE_2D, tex[1 + b % 3]);
      glDrawElementsBaseVertex(GL_TRIANGLES, kSpritesPerBatch * 6, GL_UNSIGNED_SHORT, nullptr,
                               b * kSpritesPerBatch * 4);
    }
    if (f == warmup + frames - 1) result.lastFrame = readPicture(fbo, kWidth, kHeight);
    if (viaFbo) {
      glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
      glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
      glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
      context.swap();
      glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    } else {
      context.swap();
    }
  }
  glFinish();
  if (frames > 0) {
    const double seconds = double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
    result.framesPerSecond = frames / seconds;
    result.framesPerCpuSecond = frames / (cpuSeconds() - cpuStart);
    result.submitMsPerFrame = (threadSeconds() - threadStart) * 1000.0 / frames;
    result.ok = true;
  }
  return result;
}

}  // namespace bench
