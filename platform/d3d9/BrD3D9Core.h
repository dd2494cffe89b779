// The OpenGL core behind one device: its context and frame buffers, the shadow of the Direct3D state with
// dirty flags, and the flush of that state at each draw.
#pragma once

#include <epoxy/gl.h>

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/d3d9/BrD3D9Conventions.h"
#include "platform/d3d9/BrD3D9Internal.h"
#include "platform/d3d9/BrFramePacer.h"
#include "platform/d3d9/BrFsProgram.h"
#include "platform/d3d9/BrVsProgram.h"
#include "platform/d3d9/d3d9_capture.h"

struct SDL_Window;

namespace brd3d9 {

class Texture;
struct BufferStore;
class VertexBuffer;
class IndexBuffer;
class VertexShader;
class VertexDeclaration;
class Device;

enum : uint32_t {
  kRenderStates = 256,
  kStageStates = 33,
  kSamplerStates = 14,
  kStreams = 16,
};

struct StreamBinding {
  VertexBuffer* buffer = nullptr;
  UINT offset = 0;
  UINT stride = 0;
};

// What the application has set, as Direct3D sees it. Bindings are not counted references.
struct ShadowState {
  DWORD rs[kRenderStates];
  DWORD tss[kDeviceStages][kStageStates];
  DWORD samp[kDeviceStages][kSamplerStates];
  Texture* textures[kDeviceStages];
  StreamBinding streams[kStreams];
  IndexBuffer* indices;
  VertexDeclaration* declaration;
  VertexShader* shader;
  float constants[kVsConstRegisters * 4];
  D3DVIEWPORT9 viewport;
};

// What changed since the last draw.
enum DirtyBits : uint32_t {
  kDirtyProgram = 1u << 0,  // shader, declaration kind, texture-stage operations, alpha test
  kDirtyInputs = 1u << 1,   // shader inputs, declaration, streams
  kDirtyRaster = 1u << 2,   // depth, blending, culling, colour mask, fill mode
  kDirtyIndices = 1u << 3,
  kDirtyViewport = 1u << 4,
  kDirtyAll = 0xFFFFFFFFu,
};

// The frame being captured for a bench (d3d9_capture.h); null, costing one test a draw, when none is armed.
struct CaptureRecorder;
inline CaptureRecorder* gCapture = nullptr;

// A stage's sampler states (indexed by D3DSAMP_*) as OpenGL's sampler parameters.
BrD3D9CapturedSampler brSamplerValues(const DWORD* samplerStates);
// The OpenGL attribute format of a declaration type; false for a type the layer does not take.
bool brAttribFormat(BYTE type, GLint& size, GLenum& glType, GLboolean& normalized);

class Core final : public Buried {
public:
  // Creates the context on the window and the frame buffers for the parameters; null with a reason.
  static Core* create(SDL_Window* window, const D3DPRESENT_PARAMETERS& params, std::string& error);
  ~Core() override;

  // Internal references: the device and every resource hold one; the last drop buries the core.
  void retain() { ++mInternalRefs; }
  void drop();
  // Makes the context current on this thread; false when it cannot.
  bool makeCurrent();

  const Conventions& conventions() const { return mConv; }
  Device* device = nullptr;  // the API object, null once the application released it

  // ---- Frame ----
  // Rebuilds the frame buffers for new parameters and returns every state to its default.
  bool configure(const D3DPRESENT_PARAMETERS& params, std::string& error);
  const D3DPRESENT_PARAMETERS& params() const { return mParams; }
  void clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
  bool present();
  // Copies the last presented frame into 32-bit BGRA rows (top row first) of a width x height image.
  void readFront(uint8_t* out, UINT width, UINT height, INT pitch);

  // ---- State (the device records, the draw flushes) ----
  ShadowState state;
  uint32_t dirty = kDirtyAll;
  uint32_t dirtyTextures = 0xFF;  // stages whose binding changed
  uint32_t dirtySamplers = 0xFF;  // stages whose sampler states changed
  uint64_t constSerial = 1;       // bumped by every constant change
  uint64_t fixedSerial = 1;       // bumped when the viewport, texture factor or alpha reference change
  uint64_t constRegSerial[kVsConstRegisters] = {};  // the constSerial of each register's last change
  // Registers start..start+count-1 changed: only they are uploaded to the programs that read them.
  void constantsChanged(UINT start, UINT count) {
    ++constSerial;
    for (UINT r = start; r < start + count && r < kVsConstRegisters; ++r) constRegSerial[r] = constSerial;
  }
  void resetState();

  HRESULT draw(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount);
  HRESULT drawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT numVertices, UINT startIndex,
                      UINT primitiveCount);

  // ---- Resources ----
  // Forgets every binding of a resource that is going away.
  void unbind(const void* resource);
  // Translates a new shader to GLSL and compiles both of its variants (transformed and pre-transformed
  // input), so that a shader OpenGL refuses fails at creation. False with the compiler's reason.
  bool compileVertexShader(VertexShader* shader, std::string& error);
  // Drops the linked programs of a shader that is going away.
  void forgetShader(VertexShader* shader);
  // Binds a texture on the spare unit past the stages, leaving every stage's binding as it is.
  void bindSpareTexture(GLuint name) {
    activeUnit(GL_TEXTURE0 + kFsStages);
    glBindTexture(GL_TEXTURE_2D, name);
  }
  // Sends OpenGL the changed (and never sent) levels of a texture that are not locked, and lets their copies go
  // unless the texture keeps them.
  void uploadTexture(Texture* texture);
  // Reads a level of a texture OpenGL holds into out (width * height * 4 bytes, top row first).
  void readTexture(Texture* texture, UINT level, uint8_t* out);
  // OpenGL names about to be deleted: forget that they are bound, so a reused name binds again.
  void forgetGlTexture(GLuint name) {
    for (GLuint& t : mBoundTexture)
      if (t == name) t = 0;
  }
  // Buffers with bytes OpenGL has not taken yet, sent before the next draw.
  std::vector<BufferStore*> pendingBuffers;
  void uploadPendingBuffers();
  void forgetPending(BufferStore* store);
  // A buffer name about to be deleted: the vertex input states that read it go with it (the name may be
  // reused for another buffer).
  void forgetGlBuffer(GLuint name);

private:
  struct Program {
    GLuint program = 0;
    GLint locFix = -1, locTFactor = -1, locAlphaRef = -1;
    std::vector<GLint> locC;  // the location of each constant register c[i] the shader reads
    uint64_t constSerial = 0, fixedSerial = 0;
  };
  // One vertex input state (an OpenGL vertex array object) per shader, declaration and stream layout, made
  // once and bound again, instead of specifying every attribute at each change.
  // The streams up to the highest one the shader reads, each stream's fields together: a lookup at most draws
  // hashes and compares the few streams in use, in the key's first cache line, not all sixteen.
  struct InputKey {
    struct Stream {
      GLuint buffer = 0;
      UINT offset = 0, stride = 0;
    };
    uint32_t shaderId = 0, declId = 0;
    uint32_t used = 0;  // streams[used] and beyond are all zero
    Stream streams[kStreams] = {};
    bool operator==(const InputKey& o) const {
      return shaderId == o.shaderId && declId == o.declId && used == o.used &&
             std::memcmp(streams, o.streams, used * sizeof(Stream)) == 0;
    }
  };
  struct InputHash {
    size_t operator()(const InputKey& k) const;
  };
  struct InputState {
    GLuint vao = 0;
    GLuint indexBuffer = 0;                         // the element buffer bound in this state
    std::vector<std::pair<uint32_t, UINT>> inputs;  // stream and element end of each attribute read
  };
  struct ProgramKey {
    uint32_t shaderId;
    uint32_t pretransformed;
    FsKey fs;
    bool operator==(const ProgramKey& o) const {
      return shaderId == o.shaderId && pretransformed == o.pretransformed && fs == o.fs;
    }
  };
  struct KeyHash {
    size_t operator()(const ProgramKey& k) const;
  };
  struct FsHash {
    size_t operator()(const FsKey& k) const;
  };
  // The OpenGL state last sent, so that only changes reach OpenGL.
  struct GlRaster {
    int depthTest = -1, depthMask = -1, blend = -1, cull = -1;
    GLenum depthFunc = 0, blendSrc = 0, blendDst = 0, blendEq = 0, cullFace = 0, polygonMode = 0;
    int colorMask = -1;
  };

  Core(SDL_Window* window, void* context);
  HRESULT prepare(const char* where);
  bool selectProgram(std::string& error);
  void setupInputs();
  void applyRaster();
  void applyTextures();
  void applyViewport();
  bool checkVertexRange(int64_t first, int64_t last) const;
  // The values of the program's fixed uniforms: brFix (viewport), brTFactor and brAlphaRef.
  void fixedUniforms(float fix[4], float textureFactor[4], GLint& alphaRef) const;
  // Bench capture (BrD3D9CoreCapture.cpp): a draw about to be made (vertices first..first+count-1 of every
  // stream; indices null when not indexed), a clear about to be made, and the end of the frame.
  void captureDraw(GLenum mode, UINT count, int64_t first, UINT vertexCount, const uint8_t* indices, UINT indexSize);
  void captureClear(GLbitfield mask, bool scissor, const GLint box[4]);
  void captureFrameEnd();
  void destroyFramebuffers();
  // The back buffer's own colour, depth and frame buffer objects, drawn into instead of the window.
  bool makeOffscreenTargets(std::string& error);
  // From the next frame on, draws off screen and scales into the window: its surface no longer fits.
  void leaveWindowSurface();
  GLuint compileShader(GLenum type, const std::string& text, std::string& error);

  SDL_Window* mWindow;
  void* mContext;
  const Conventions mConv = kD3D9OnGL;
  D3DPRESENT_PARAMETERS mParams{};
  uint32_t mInternalRefs = 1;
  bool mHasDepth = false;

  // Drawing goes straight into the window's frame buffer when the back buffer has the window surface's size
  // (mDirect); otherwise into a frame buffer object copied to the window at Present. A copy of the front
  // buffer is kept by a double-buffered window from the start, by a single-buffered surface only once something
  // has read it (a screenshot).
  bool mDirect = false;
  bool mKeepFront = false, mFrontValid = false, mPresented = false;
  // Frames presented and not yet drawn by the driver: at most two, as in a swap chain.
  FramePacer mPacer{kSwapChainFramesAhead};
  void throttle();
  int mSurfaceW = 0, mSurfaceH = 0;  // the window surface as made, where the video driver never resizes it
  GLuint mFbo = 0, mReadFbo = 0, mColor[2] = {0, 0}, mDepth = 0;
  GLuint mFrontFbo = 0, mFrontTex = 0;
  int mBack = 0;
  GLuint mDrawFb = 0;             // the frame buffer drawn into: 0 (the window) or mFbo
  GLuint mBoundFb = 0xFFFFFFFFu;  // what GL_DRAW_FRAMEBUFFER holds, as last set
  GLuint mVao = 0, mWhite = 0, mSamplers[kFsStages] = {0, 0};
  std::unordered_map<InputKey, InputState, InputHash> mInputStates;
  InputState* mInput = nullptr;  // the state bound now
  GLenum mActiveUnit = GL_TEXTURE0;
  bool mScissor = false;
  float mClearColor[4] = {0, 0, 0, 0};
  double mClearDepth = 1.0;
  GLint mClearStencil = 0;
  void bindDrawFramebuffer(GLuint fb);
  void activeUnit(GLenum unit);
  void disableScissor();
  bool surfaceSize(int& w, int& h) const;

  std::unordered_map<ProgramKey, Program, KeyHash> mPrograms;
  std::unordered_map<FsKey, GLuint, FsHash> mFragmentShaders;
  Program* mCurrent = nullptr;
  ProgramKey mCurrentKey{};
  GlRaster mGl;
  GLuint mBoundTexture[kFsStages] = {0, 0};
};

}  // namespace brd3d9
