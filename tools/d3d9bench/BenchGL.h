// The benchmarks' one plain-OpenGL helper: the context a plain path draws on, its programs, textures, off-screen
// frame buffer, frame pacing and picture, so that every reference path (d3d9bench's two frames, brgamebench's
// replay) builds them the same way.
#pragma once

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/d3d9/BrFramePacer.h"

namespace bench {

// Links a program from vertex and fragment GLSL; 0 on failure, with the compiler's or linker's log in *log.
inline GLuint linkProgram(const char* vertexText, const char* fragmentText, std::string* log = nullptr) {
  auto compile = [log](GLenum type, const char* text) {
    GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &text, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok && log) {
      char text2[1024] = {0};
      glGetShaderInfoLog(s, sizeof text2 - 1, nullptr, text2);
      *log += text2;
    }
    return s;
  };
  const GLuint vs = compile(GL_VERTEX_SHADER, vertexText), fs = compile(GL_FRAGMENT_SHADER, fragmentText);
  const GLuint p = glCreateProgram();
  glAttachShader(p, vs);
  glAttachShader(p, fs);
  glLinkProgram(p);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    if (log) {
      char text[1024] = {0};
      glGetProgramInfoLog(p, sizeof text - 1, nullptr, text);
      *log += text;
    }
    glDeleteProgram(p);
    return 0;
  }
  return p;
}

// An OpenGL 3.3 core context of the plain path's own on a window, current while it lives, without vertical
// sync. Its pacer holds the path to the layer's bound when the bench asks for one (ahead 0: no bound).
class PlainContext {
public:
  explicit PlainContext(int ahead = 0) : pacer(ahead) {}
  ~PlainContext() {
    if (!mContext) return;
    pacer.release();
    SDL_GL_MakeCurrent(mWindow, nullptr);
    SDL_GL_DeleteContext(mContext);
  }
  PlainContext(const PlainContext&) = delete;
  PlainContext& operator=(const PlainContext&) = delete;

  bool open(SDL_Window* window, std::string& error) {
    if (!window) return error = "no window", false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    mContext = SDL_GL_CreateContext(window);
    if (!mContext) return error = std::string("no context: ") + SDL_GetError(), false;
    mWindow = window;
    SDL_GL_MakeCurrent(window, mContext);
    SDL_GL_SetSwapInterval(0);
    return true;
  }
  // Before a frame's first command, as the layer does at its first clear or draw: the fence of the frame
  // before.
  void frameBegins() { pacer.settle(); }
  // Shows the frame, then holds the path to its bound.
  void swap() {
    SDL_GL_SwapWindow(mWindow);
    pacer.presented();
  }

  brd3d9::FramePacer pacer;

private:
  SDL_Window* mWindow = nullptr;
  SDL_GLContext mContext = nullptr;
};

// One level of a texture: 4 bytes a texel in OpenGL's BGRA order (GL_UNSIGNED_INT_8_8_8_8_REV), rows as given.
struct TextureLevel {
  GLsizei width, height;
  const void* texels;
};

// A texture with these levels; opaque reads alpha as one. filter 0 keeps OpenGL's default filters (a sampler
// object decides), else it is both the minifying and the magnifying filter.
inline GLuint makeTexture(const std::vector<TextureLevel>& levels, bool opaque = false, GLint filter = 0) {
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  for (size_t i = 0; i < levels.size(); ++i)
    glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, levels[i].width, levels[i].height, 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, levels[i].texels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels.size()) - 1);
  if (opaque) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  if (filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  }
  return t;
}

// An off-screen frame buffer (colour texture and depth-stencil) of a frame's size, copied to the window as the
// layer presents a back buffer of another size.
struct OffscreenTarget {
  GLuint fbo = 0, color = 0, depth = 0;
  bool make(GLsizei w, GLsizei h) {
    glGenTextures(1, &color);
    glBindTexture(GL_TEXTURE_2D, color);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }
  void release() {
    if (fbo) glDeleteFramebuffers(1, &fbo);
    if (color) glDeleteTextures(1, &color);
    if (depth) glDeleteRenderbuffers(1, &depth);
    fbo = color = depth = 0;
  }
};

// The picture in a frame buffer (0: the window's back buffer) as 0x00RRGGBB, top row first.
inline std::vector<uint32_t> readPicture(GLuint framebuffer, GLsizei w, GLsizei h) {
  std::vector<uint32_t> rows(size_t(w) * size_t(h)), out(rows.size());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  if (!framebuffer) glReadBuffer(GL_BACK);
  glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
  for (GLsizei y = 0; y < h; ++y)
    for (GLsizei x = 0; x < w; ++x)
      out[size_t(y) * size_t(w) + size_t(x)] = rows[size_t(h - 1 - y) * size_t(w) + size_t(x)] & 0xFFFFFFu;
  return out;
}

// Pixels whose channels differ by more than tolerance between two pictures, and the largest difference.
inline size_t differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int tolerance,
                              int& largest) {
  size_t differing = 0;
  largest = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    int worst = 0;
    for (int c = 0; c < 3; ++c)
      worst = std::max(worst, std::abs(int((a[i] >> (8 * c)) & 0xFF) - int((b[i] >> (8 * c)) & 0xFF)));
    if (worst > tolerance) ++differing;
    largest = std::max(largest, worst);
  }
  if (a.size() != b.size()) differing += std::max(a.size(), b.size()) - std::min(a.size(), b.size());
  return differing;
}

}  // namespace bench
