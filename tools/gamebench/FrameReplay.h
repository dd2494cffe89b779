// FrameReplay: a captured game frame drawn again with plain OpenGL calls on the current context, the reference
// the game's own frame time is measured against.
#pragma once

#include <epoxy/gl.h>

#include <string>
#include <vector>

#include "platform/d3d9/d3d9_capture.h"
#include "tools/d3d9bench/BenchGL.h"

namespace brbench {

// Everything the frame needs is uploaded once (programs, textures, samplers, vertex and index data packed by
// layout); each replayed frame then binds, sets the state that changes and draws, as a hand-written renderer
// would. The context that was current at Upload must be current for every other call.
class FrameReplay {
public:
  FrameReplay() = default;
  ~FrameReplay();
  FrameReplay(const FrameReplay&) = delete;
  FrameReplay& operator=(const FrameReplay&) = delete;

  // Builds the OpenGL objects for a complete capture; false with a reason.
  bool Upload(const BrD3D9FrameCapture& capture, std::string& error);
  // Draws the frame's calls into its frame buffer (the window's, or an off-screen one of the capture's size
  // copied to the window as the layer does); the caller swaps.
  void Draw();
  // The frame buffer's picture now (0x00RRGGBB, top row first), before the swap.
  std::vector<uint32_t> Picture() const;
  // Around a run of replayed frames between frames of the game on the same context: Enter keeps the OpenGL
  // state the replay changes (the layer tracks what it sent and must find it again) and forgets what the
  // replay last sent; Leave puts the kept state back.
  void Enter();
  void Leave();
  // Draws and the count of pixels whose channels differ from the captured picture by more than tolerance.
  size_t CompareWithCapture(int tolerance, int& largest);
  size_t Draws() const { return m_Draws; }

private:
  struct UniformRun {
    GLint location;
    GLsizei count;
    const float* values;
  };
  struct Call {
    const BrD3D9CapturedCall* source;
    GLuint program = 0, vao = 0;
    GLuint textures[2] = {0, 0}, samplers[2] = {0, 0};
    GLint locFix = -1, locTFactor = -1, locAlphaRef = -1;
    std::vector<UniformRun> constants;  // registers that differ from the program's previous draw
    GLint baseVertex = 0;
    uintptr_t indexOffset = 0;
  };
  struct Program {
    GLuint program = 0;
    std::vector<GLint> locC;
    GLint locFix = -1, locTFactor = -1, locAlphaRef = -1;
  };
  // What the context holds, so that only changes are sent.
  struct Shadow {
    GLuint program = ~0u, vao = ~0u, textures[2] = {~0u, ~0u}, samplers[2] = {~0u, ~0u};
    GLenum unit = 0;
    BrD3D9CapturedRaster raster;
    bool rasterKnown = false;
    int scissor = -1;
    float clearColor[4] = {-1, -1, -1, -1};
    double clearDepth = -1;
    int32_t clearStencil = -1;
  };

  // The context's state as the layer left it, by the queries that give it back.
  struct Saved {
    GLint program, vao, activeUnit, textures[2], samplers[2], drawFb, readFb, readBuffer, arrayBuffer;
    GLboolean depthTest, blend, cull, scissor, depthMask, colorMask[4];
    GLint depthFunc, blendSrc, blendDst, blendEquation, cullFace, frontFace, polygonMode[2], viewport[4], scissorBox[4],
        clearStencil, stencilMask;
    GLfloat clearColor[4];
    GLdouble depthRange[2], clearDepth;
  };

  void SetRaster(const BrD3D9CapturedRaster& r);
  void Bind(const Call& c);
  void Release();

  const BrD3D9FrameCapture* m_Capture = nullptr;
  std::vector<Program> m_Programs;
  std::vector<GLuint> m_Textures, m_Samplers, m_Vaos, m_Buffers;
  std::vector<BrD3D9CapturedSampler> m_SamplerValues;
  GLuint m_White = 0;
  bench::OffscreenTarget m_Target;
  std::vector<Call> m_Calls;
  Shadow m_Gl;
  Saved m_Saved{};
  std::vector<std::vector<float>> m_FixedNow;  // per program: brFix, brTFactor and brAlphaRef as last set
  size_t m_Draws = 0;
};

}  // namespace brbench
