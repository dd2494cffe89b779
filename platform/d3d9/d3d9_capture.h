// Bench seam of the Direct3D 9 layer: one frame's work as the layer sent it to OpenGL (programs, textures,
// vertex and index data, states and uniforms of every draw, the clears, the finished picture), so that a bench
// can replay the same draws with plain OpenGL calls and compare. Off unless armed; an unarmed layer pays one
// pointer test a draw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A program the layer linked: the texts of its two stages. Uniforms follow the layer's names: "c" (vec4
// array of the shader's constant registers), "brFix", "brTFactor", "brAlphaRef", samplers "brTex0", "brTex1".
struct BrD3D9CapturedProgram {
  std::string vertexGlsl;
  std::string fragmentGlsl;
  uint32_t constantRegisters = 0;  // c[0] .. c[constantRegisters - 1] are read
};

// A texture as it was when first drawn with in the frame: every level, 4 bytes a texel in OpenGL's BGRA
// order (GL_UNSIGNED_INT_8_8_8_8_REV), rows in the order the layer uploads them.
struct BrD3D9CapturedTexture {
  struct Level {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> texels;
  };
  std::vector<Level> levels;
  bool opaque = false;  // alpha reads as one (an X8R8G8B8 texture)
};

// One stage's sampling, in OpenGL's values.
struct BrD3D9CapturedSampler {
  int32_t wrapS = 0, wrapT = 0, magFilter = 0, minFilter = 0;
  float lodBias = 0, minLod = 0;
  float border[4] = {0, 0, 0, 0};
  bool operator==(const BrD3D9CapturedSampler& o) const {
    return wrapS == o.wrapS && wrapT == o.wrapT && magFilter == o.magFilter && minFilter == o.minFilter &&
           lodBias == o.lodBias && minLod == o.minLod && border[0] == o.border[0] && border[1] == o.border[1] &&
           border[2] == o.border[2] && border[3] == o.border[3];
  }
};

// The fixed-function raster state of a draw, in OpenGL's values (blend factors mean nothing while blend is 0).
struct BrD3D9CapturedRaster {
  int32_t depthTest = 0, depthMask = 0, blend = 0, cull = 0;
  uint32_t depthFunc = 0, blendSrc = 0, blendDst = 0, blendEquation = 0, cullFace = 0, frontFace = 0;
  uint32_t colorMask = 0xF;  // bit 0 red .. bit 3 alpha
  uint32_t polygonMode = 0;
  int32_t viewport[4] = {0, 0, 0, 0};  // x, y from the bottom left, width, height
  double depthNear = 0, depthFar = 1;
};

// One vertex attribute as glVertexAttribPointer takes it; offset is within one vertex of its stream.
struct BrD3D9CapturedAttribute {
  uint32_t location = 0, stream = 0;
  int32_t size = 0;  // 1..4 or GL_BGRA
  uint32_t type = 0;
  bool normalized = false;
  uint32_t offset = 0;
};

// The vertices one draw reads from one stream, its first used vertex first (stride bytes each).
struct BrD3D9CapturedStream {
  uint32_t stream = 0, stride = 0;
  std::vector<uint8_t> bytes;
};

// A clear or a draw, in the order the frame made them.
struct BrD3D9CapturedCall {
  bool isDraw = false;
  // A clear: OpenGL's mask and values; a scissor box (x, y from the bottom left, width, height) when it did
  // not cover the whole frame.
  uint32_t clearMask = 0;
  float clearColor[4] = {0, 0, 0, 0};
  double clearDepth = 1;
  int32_t clearStencil = 0;
  bool scissor = false;
  int32_t scissorBox[4] = {0, 0, 0, 0};
  // A draw: the program and its uniforms, textures (-1: the layer's opaque white) and samplers of the two
  // stages, the raster state, the vertex layout and data, and the primitives. Indices are rebased so that the
  // first used vertex is 0; vertexCount vertices are in each stream.
  int32_t program = -1;
  std::vector<float> constants;  // 4 floats a register
  float fix[4] = {0, 0, 0, 0}, textureFactor[4] = {0, 0, 0, 0};
  int32_t alphaRef = 0;
  int32_t textures[2] = {-1, -1};
  BrD3D9CapturedSampler samplers[2];
  BrD3D9CapturedRaster raster;
  std::vector<BrD3D9CapturedAttribute> attributes;
  std::vector<BrD3D9CapturedStream> streams;
  uint32_t mode = 0, count = 0, vertexCount = 0;
  uint32_t indexSize = 0;  // 0: not indexed; 2 or 4 bytes an index
  std::vector<uint8_t> indices;
};

// A whole frame, from the first call after arming to the Present that ends it.
struct BrD3D9FrameCapture {
  bool complete = false;  // the Present came
  uint32_t width = 0, height = 0;
  bool toWindow = false;      // drawn straight into the window's frame buffer (else off screen, copied at Present)
  uint32_t skippedDraws = 0;  // draws the capture could not keep (a stream of stride 0)
  std::vector<BrD3D9CapturedProgram> programs;
  std::vector<BrD3D9CapturedTexture> textures;
  std::vector<BrD3D9CapturedCall> calls;
  std::vector<uint32_t> picture;  // the finished frame before Present: 0x00RRGGBB, top row first
};

// Arms the capture of the next frame into *into (cleared now, complete after the next Present); null disarms.
// The layer writes to *into until that Present, so it must outlive the frame.
void brD3D9TestCaptureNextFrame(BrD3D9FrameCapture* into);
