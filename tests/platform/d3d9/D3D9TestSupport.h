// Test support for the Direct3D 9 layer: a window and device made through the real window layer, frame
// read-back, shader assembly and golden-image comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_testing.h"
#include "platform/d3dx9/d3dx9.h"

namespace d3d9test {

// A window of the windowing layer with a Direct3D object and a device on it (windowed, D24X8 depth,
// immediate presentation). ok() is false when any step failed; why() tells which.
class TestDevice {
public:
  TestDevice(UINT width, UINT height, bool depth = true);
  ~TestDevice();
  bool ok() const { return device != nullptr; }
  const std::string& why() const { return mWhy; }

  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  HWND hwnd = nullptr;
  UINT width, height;

private:
  std::string mWhy;
};

// The rendering device's sprite vertex: a pre-transformed position, a colour and one texture coordinate, with
// its declaration and the built-in shader the device draws it with.
struct SpriteVertex {
  float x, y, z, rhw;
  uint32_t color;
  float u, v;
};
inline const D3DVERTEXELEMENT9 kSpriteDecl[] = {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
                                                {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                                {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                                D3DDECL_END()};
inline const char kShader2d[] =
    "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos,v0\nmov oD0, v1\nmov oT0, v8\n";

// Presents the frame and reads the front buffer back: width * height texels, 0xAARRGGBB, top row first.
std::vector<uint32_t> presentAndRead(TestDevice& t);

// Assembles vs_1_1 text and creates the shader; null (with a test failure) when either step fails.
IDirect3DVertexShader9* makeShader(IDirect3DDevice9* device, const char* text);

// Compares a frame with tests/platform/d3d9/golden/<name>.png: every channel within tolerance, allowing
// up to maxBadPixels pixels beyond it. With BR_UPDATE_GOLDEN=1 in the environment the image is written instead.
::testing::AssertionResult matchesGolden(const std::vector<uint32_t>& frame, UINT width, UINT height,
                                         const std::string& name, int tolerance = 8, int maxBadPixels = 0);

// Releases until the count reaches 0 and returns how many releases that took.
template <class T>
int releaseAll(T*& object) {
  int n = 0;
  if (object) {
    while (object->Release() > 0) ++n;
    ++n;
  }
  object = nullptr;
  return n;
}

}  // namespace d3d9test
