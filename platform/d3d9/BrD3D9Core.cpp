// The OpenGL core of a device: context, frame buffers, clear, present, front-buffer reads and defaults.
#include "platform/d3d9/BrD3D9Core.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/d3d9/BrD3D9Resources.h"

namespace brd3d9 {

Core* Core::create(SDL_Window* window, const D3DPRESENT_PARAMETERS& params, std::string& error) {
  if (!window) {
    error = "no window";
    return nullptr;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    error = std::string("no OpenGL context: ") + SDL_GetError();
    return nullptr;
  }
  if (SDL_GL_MakeCurrent(window, context) != 0 || epoxy_gl_version() < 33) {
    error = "OpenGL 3.3 is not available";
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  Core* core = new Core(window, context);
  // A context made current for the first time has the surface's size as its viewport.
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  core->mSurfaceW = viewport[2];
  core->mSurfaceH = viewport[3];
  if (!core->configure(params, error)) {
    core->drop();
    return nullptr;
  }
  return core;
}

Core::Core(SDL_Window* window, void* context) : mWindow(window), mContext(context) {
  glGenVertexArrays(1, &mVao);
  glBindVertexArray(mVao);
  // Stages without a texture read opaque white, so that untextured geometry shows its vertex colours.
  const uint32_t white = 0xFFFFFFFFu;
  glGenTextures(1, &mWhite);
  glBindTexture(GL_TEXTURE_2D, mWhite);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glGenSamplers(kFsStages, mSamplers);
  for (uint32_t s = 0; s < kFsStages; ++s) glBindSampler(s, mSamplers[s]);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

Core::~Core() {
  if (mContext) {
    makeCurrent();
    SDL_GL_MakeCurrent(mWindow, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
  }
}

void Core::drop() {
  if (mInternalRefs > 0 && --mInternalRefs == 0) {
    // Deleting the context frees every OpenGL object of the core and its resources.
    makeCurrent();
    SDL_GL_MakeCurrent(mWindow, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
    mContext = nullptr;
    mPacer.forget();
    bury(this);
  }
}

bool Core::makeCurrent() {
  if (!mContext) return false;
  if (SDL_GL_GetCurrentContext() == mContext) return true;
  return SDL_GL_MakeCurrent(mWindow, static_cast<SDL_GLContext>(mContext)) == 0;
}

void Core::destroyFramebuffers() {
  if (mFbo) glDeleteFramebuffers(1, &mFbo);
  if (mReadFbo) glDeleteFramebuffers(1, &mReadFbo);
  if (mFrontFbo) glDeleteFramebuffers(1, &mFrontFbo);
  if (mColor[0]) glDeleteTextures(2, mColor);
  if (mFrontTex) glDeleteTextures(1, &mFrontTex);
  if (mDepth) glDeleteRenderbuffers(1, &mDepth);
  mFbo = mReadFbo = mDepth = mFrontFbo = mFrontTex = 0;
  mColor[0] = mColor[1] = 0;
  mFrontValid = false;
  mBoundFb = 0xFFFFFFFFu;
}

bool Core::surfaceSize(int& w, int& h) const {
  if (surfaceSizeSet(w, h)) return true;
  // SDL's offscreen driver draws into a surface made with the window that never follows a resize.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "offscreen") == 0) {
    w = mSurfaceW;
    h = mSurfaceH;
  } else {
    SDL_GL_GetDrawableSize(mWindow, &w, &h);
  }
  return w > 0 && h > 0;
}

void Core::bindDrawFramebuffer(GLuint fb) {
  if (mBoundFb == fb) return;
  glBindFramebuffer(GL_FRAMEBUFFER, fb);
  mBoundFb = fb;
}

void Core::disableScissor() {
  if (!mScissor) return;
  glDisable(GL_SCISSOR_TEST);
  mScissor = false;
  ++testCounts().scissorChanges;
}

void Core::activeUnit(GLenum unit) {
  if (mActiveUnit == unit) return;
  glActiveTexture(unit);
  mActiveUnit = unit;
  ++testCounts().textureUnitChanges;
}

void Core::forgetGlBuffer(GLuint name) {
  for (auto it = mInputStates.begin(); it != mInputStates.end();) {
    bool uses = it->second.indexBuffer == name;
    for (uint32_t i = 0; i < it->first.used; ++i) uses = uses || it->first.streams[i].buffer == name;
    if (uses) {
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
  dirty |= kDirtyInputs | kDirtyIndices;
}

bool Core::configure(const D3DPRESENT_PARAMETERS& params, std::string& error) {
  if (!makeCurrent()) {
    error = "context cannot be made current";
    return false;
  }
  mParams = params;
  destroyFramebuffers();
  const GLsizei w = GLsizei(params.BackBufferWidth), h = GLsizei(params.BackBufferHeight);
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
  if (w <= 0 || h <= 0 || w > maxSize || h > maxSize) {
    error = "back buffer size not supported";
    return false;
  }
  mHasDepth = params.EnableAutoDepthStencil != 0;
  mBoundTexture[0] = mBoundTexture[1] = 0;
  // Straight into the window when the back buffer is the window surface's size and the window has the depth
  // buffer asked for; otherwise off screen and copied (scaled) at Present.
  int sw = 0, sh = 0;
  mDirect = false;
  mPresented = false;
  if (surfaceSize(sw, sh) && sw == w && sh == h) {
    bindDrawFramebuffer(0);
    GLint depthBits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    mDirect = glGetError() == GL_NO_ERROR && (!mHasDepth || depthBits >= 16);
  }
  if (mDirect) {
    mDrawFb = 0;
    // A double-buffered window's front buffer cannot be read back once swapped (what GL_FRONT then holds is
    // undefined: black, white or stale), so such a window keeps a copy of every frame it shows; the first
    // screenshot of a run is then the frame like every other. A single-buffered surface shows its only buffer.
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    if (doubleBuffered) mKeepFront = true;
  } else if (!makeOffscreenTargets(error)) {
    return false;
  }
  glGenFramebuffers(1, &mReadFbo);
  SDL_GL_SetSwapInterval(params.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
  resetState();
  return true;
}

bool Core::makeOffscreenTargets(std::string& error) {
  const GLsizei w = GLsizei(mParams.BackBufferWidth), h = GLsizei(mParams.BackBufferHeight);
  // Two colour buffers: the back buffer drawn into and the front buffer last presented.
  glGenTextures(2, mColor);
  std::vector<uint8_t> black(size_t(w) * size_t(h) * 4, 0);
  for (GLuint tex : mColor) {
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  // The unit those binds went to no longer holds what the draws last bound there.
  for (GLuint& t : mBoundTexture) t = 0;
  glGenFramebuffers(1, &mFbo);
  bindDrawFramebuffer(mFbo);
  mBack = 0;
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mColor[mBack], 0);
  if (mHasDepth) {
    glGenRenderbuffers(1, &mDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, mDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, mDepth);
  }
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    error = "frame buffer incomplete";
    return false;
  }
  mDrawFb = mFbo;
  return true;
}

void Core::leaveWindowSurface() {
  std::string error;
  const bool made = makeOffscreenTargets(error);
  mBoundFb = 0xFFFFFFFFu;
  if (!made) {
    // Still straight into the window, cut or not, rather than into a frame buffer that cannot be drawn.
    if (mFbo) glDeleteFramebuffers(1, &mFbo);
    if (mColor[0]) glDeleteTextures(2, mColor);
    if (mDepth) glDeleteRenderbuffers(1, &mDepth);
    mFbo = mDepth = 0;
    mColor[0] = mColor[1] = 0;
    mDrawFb = 0;
    return;
  }
  mDirect = false;
  bindDrawFramebuffer(mDrawFb);
}

void Core::resetState() {
  ShadowState& s = state;
  s = ShadowState();
  DWORD* rs = s.rs;
  const float one = 1.0f, pointMax = 64.0f;
  rs[D3DRS_ZENABLE] = mHasDepth ? D3DZB_TRUE : D3DZB_FALSE;
  rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
  rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  rs[D3DRS_ZWRITEENABLE] = TRUE;
  rs[D3DRS_LASTPIXEL] = TRUE;
  rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  rs[D3DRS_CULLMODE] = D3DCULL_CCW;
  rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_STENCILFAIL] = rs[D3DRS_STENCILZFAIL] = rs[D3DRS_STENCILPASS] = 1;
  rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_STENCILMASK] = rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
  rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
  rs[D3DRS_CLIPPING] = TRUE;
  rs[D3DRS_LIGHTING] = TRUE;
  rs[D3DRS_COLORVERTEX] = TRUE;
  rs[D3DRS_LOCALVIEWER] = TRUE;
  rs[D3DRS_DIFFUSEMATERIALSOURCE] = 1;
  rs[D3DRS_SPECULARMATERIALSOURCE] = 2;
  std::memcpy(&rs[D3DRS_POINTSIZE], &one, 4);
  std::memcpy(&rs[D3DRS_POINTSIZE_MIN], &one, 4);
  std::memcpy(&rs[D3DRS_POINTSIZE_MAX], &pointMax, 4);
  rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
  rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
  rs[D3DRS_COLORWRITEENABLE] = 0xF;
  rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
  rs[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  rs[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
  for (uint32_t st = 0; st < kDeviceStages; ++st) {
    DWORD* t = s.tss[st];
    t[D3DTSS_COLOROP] = st == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    t[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    t[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    t[D3DTSS_ALPHAOP] = st == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    t[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    t[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    t[D3DTSS_TEXCOORDINDEX] = st;
    t[D3DTSS_COLORARG0] = t[D3DTSS_ALPHAARG0] = t[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    DWORD* sp = s.samp[st];
    sp[D3DSAMP_ADDRESSU] = sp[D3DSAMP_ADDRESSV] = sp[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
    sp[D3DSAMP_MAGFILTER] = sp[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    sp[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    sp[D3DSAMP_MAXANISOTROPY] = 1;
  }
  s.viewport = {0, 0, mParams.BackBufferWidth, mParams.BackBufferHeight, 0.0f, 1.0f};
  dirty = kDirtyAll;
  dirtyTextures = dirtySamplers = 0xFF;
  constantsChanged(0, kVsConstRegisters);
  ++fixedSerial;
  mGl = GlRaster();
  mCurrent = nullptr;
}

void Core::clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
  if (makeCurrent()) mPacer.settle();
  bindDrawFramebuffer(mDrawFb);
  GLbitfield mask = 0;
  // Clear values and write masks reach OpenGL only when they differ from what it holds.
  if (flags & D3DCLEAR_TARGET) {
    const float c[4] = {float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                        float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f};
    if (std::memcmp(c, mClearColor, sizeof c) != 0) {
      glClearColor(c[0], c[1], c[2], c[3]);
      std::memcpy(mClearColor, c, sizeof c);
    }
    if (mGl.colorMask != 0xF) {
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      mGl.colorMask = 0xF;
      dirty |= kDirtyRaster;
    }
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (mHasDepth && (flags & D3DCLEAR_ZBUFFER)) {
    const double depth = z < 0.0f ? 0.0 : (z > 1.0f ? 1.0 : double(z));
    if (depth != mClearDepth) {
      glClearDepth(depth);
      mClearDepth = depth;
    }
    if (mGl.depthMask != 1) {
      glDepthMask(GL_TRUE);
      mGl.depthMask = 1;
      dirty |= kDirtyRaster;
    }
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (mHasDepth && (flags & D3DCLEAR_STENCIL)) {
    if (GLint(stencil & 0xFF) != mClearStencil) {
      mClearStencil = GLint(stencil & 0xFF);
      glClearStencil(mClearStencil);
    }
    glStencilMask(0xFF);
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  if (!mask) return;
  // The clear covers the viewport, cut down to each rectangle when rectangles are given; the scissor is
  // needed only when that is less than the whole back buffer.
  const D3DVIEWPORT9& vp = state.viewport;
  const LONG bw = LONG(mParams.BackBufferWidth), bh = LONG(mParams.BackBufferHeight);
  const DWORD n = rects ? count : 0;
  for (DWORD i = 0; i < (n ? n : 1); ++i) {
    LONG x1 = LONG(vp.X), y1 = LONG(vp.Y), x2 = LONG(vp.X + vp.Width), y2 = LONG(vp.Y + vp.Height);
    if (n) {
      x1 = std::max(x1, rects[i].x1);
      y1 = std::max(y1, rects[i].y1);
      x2 = std::min(x2, rects[i].x2);
      y2 = std::min(y2, rects[i].y2);
    }
    if (x2 <= x1 || y2 <= y1) continue;
    const bool whole = x1 <= 0 && y1 <= 0 && x2 >= bw && y2 >= bh;
    if (whole != !mScissor) {
      whole ? glDisable(GL_SCISSOR_TEST) : glEnable(GL_SCISSOR_TEST);
      mScissor = !whole;
      ++testCounts().scissorChanges;
    }
    if (!whole) glScissor(x1, bh - y2, x2 - x1, y2 - y1);
    if (gCapture) {
      const GLint box[4] = {GLint(x1), GLint(bh - y2), GLint(x2 - x1), GLint(y2 - y1)};
      captureClear(mask, !whole, box);
    }
    glClear(mask);
  }
}

bool Core::present() {
  if (!makeCurrent()) return false;
  if (gCapture) captureFrameEnd();
  if (mDirect) {
    // A front-buffer copy only for a device that has read one: the window keeps no readable front buffer.
    if (mKeepFront) {
      const GLsizei w = GLsizei(mParams.BackBufferWidth), h = GLsizei(mParams.BackBufferHeight);
      if (!mFrontFbo) {
        glGenTextures(1, &mFrontTex);
        glBindTexture(GL_TEXTURE_2D, mFrontTex);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        mBoundTexture[0] = 0;
        glGenFramebuffers(1, &mFrontFbo);
        glBindFramebuffer(GL_FRAMEBUFFER, mFrontFbo);
        mBoundFb = mFrontFbo;
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mFrontTex, 0);
      }
      glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
      glBindFramebuffer(GL_DRAW_FRAMEBUFFER, mFrontFbo);
      disableScissor();
      glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
      ++testCounts().frameCopies;
      mFrontValid = true;
      mBoundFb = 0xFFFFFFFFu;
    }
    SDL_GL_SwapWindow(mWindow);
    throttle();
    mPresented = true;
    // The window surface can leave the back buffer's size behind the device's back: a full-screen switch the
    // window system did not carry out, or carried out at another size. Drawn straight into it, every frame
    // would be cut to its corner; from the next frame on the device draws off screen and scales into it.
    int sw = 0, sh = 0;
    if (surfaceSize(sw, sh) && (UINT(sw) != mParams.BackBufferWidth || UINT(sh) != mParams.BackBufferHeight))
      leaveWindowSurface();
    return true;
  }
  int ww = 0, wh = 0;
  SDL_GL_GetDrawableSize(mWindow, &ww, &wh);
  const GLint bw = GLint(mParams.BackBufferWidth), bh = GLint(mParams.BackBufferHeight);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mFbo);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  mBoundFb = 0xFFFFFFFFu;
  disableScissor();  // a blit is cut by the scissor too
  if (ww > 0 && wh > 0) {
    glBlitFramebuffer(0, 0, bw, bh, 0, 0, ww, wh, GL_COLOR_BUFFER_BIT, (ww == bw && wh == bh) ? GL_NEAREST : GL_LINEAR);
    ++testCounts().frameCopies;
  }
  SDL_GL_SwapWindow(mWindow);
  throttle();
  // The frame just shown becomes the front buffer; the other buffer is drawn next.
  mBack ^= 1;
  bindDrawFramebuffer(mFbo);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mColor[mBack], 0);
  mFrontValid = true;
  return true;
}

// A window on screen holds the application back at its swap; a surface that is never shown (SDL's offscreen
// driver) does not, and the driver would queue frame after frame without bound, running ever further ahead of
// what it has drawn and keeping every frame's commands in memory. Two frames stay in flight, as in a swap
// chain: a frame before last already drawn costs a query, and only a driver really two frames behind is
// waited for, so the software rasteriser keeps a frame to work on while the next is recorded. The fence of a
// frame is placed at the next frame's first clear or draw (FramePacer::settle).
void Core::throttle() {
  if (mPacer.presented()) ++testCounts().presentWaits;
}

void Core::readFront(uint8_t* out, UINT width, UINT height, INT pitch) {
  for (UINT y = 0; y < height; ++y) std::memset(out + size_t(y) * size_t(pitch), 0, size_t(width) * 4);
  if (!makeCurrent()) return;
  const UINT bw = mParams.BackBufferWidth, bh = mParams.BackBufferHeight;
  std::vector<uint8_t> rows(size_t(bw) * bh * 4, 0);
  if (mDirect && !mPresented) {
    // Nothing shown yet: the window holds no frame of this device, and the front buffer reads black. A
    // device that reads its front buffer keeps a copy from its first Present on.
    mKeepFront = true;
  } else if (!mDirect) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mReadFbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mColor[mBack ^ 1], 0);
  } else if (mFrontValid) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFrontFbo);
  } else {
    // The first read of a single-buffered surface (a double-buffered window keeps copies from the start):
    // its only buffer is what it shows. From now on each Present keeps a copy.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    mKeepFront = true;
  }
  if (!mDirect || mPresented) glReadPixels(0, 0, GLsizei(bw), GLsizei(bh), GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
  mBoundFb = 0xFFFFFFFFu;
  bindDrawFramebuffer(mDrawFb);
  // OpenGL's rows run bottom-up; the surface's top-down. The front buffer has no alpha of its own.
  const UINT w = std::min(width, bw), h = std::min(height, bh);
  for (UINT y = 0; y < h; ++y) {
    const uint8_t* src = rows.data() + size_t(bh - 1 - y) * bw * 4;
    uint8_t* dst = out + size_t(y) * size_t(pitch);
    std::memcpy(dst, src, size_t(w) * 4);
    for (UINT x = 0; x < w; ++x) dst[x * 4 + 3] = 0xFF;
  }
}

void Core::unbind(const void* resource) {
  ShadowState& s = state;
  for (uint32_t i = 0; i < kDeviceStages; ++i)
    if (s.textures[i] == resource) {
      s.textures[i] = nullptr;
      dirtyTextures |= 1u << i;
    }
  for (StreamBinding& b : s.streams)
    if (b.buffer == resource) {
      b = StreamBinding();
      dirty |= kDirtyInputs;
    }
  if (s.indices == resource) {
    s.indices = nullptr;
    dirty |= kDirtyIndices;
  }
  if (s.declaration == resource) {
    s.declaration = nullptr;
    dirty |= kDirtyInputs | kDirtyProgram;
  }
  if (s.shader == resource) {
    s.shader = nullptr;
    dirty |= kDirtyInputs | kDirtyProgram;
  }
}

}  // namespace brd3d9
