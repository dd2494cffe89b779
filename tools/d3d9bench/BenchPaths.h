// The two ways the benchmark draws its scene: through the Direct3D 9 layer and with plain OpenGL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32types.h"

class IDirect3D9;
class IDirect3DDevice9;

namespace bench {

struct Result {
  bool ok = false;
  std::string error;
  double framesPerSecond = 0;
  double framesPerCpuSecond = 0;    // frames per second of processor time of the whole process (all threads)
  double submitMsPerFrame = 0;      // processor time of the drawing thread alone (the calls, not the rasteriser)
  double residentMiB = 0;           // the process's resident memory as the last frame is submitted
  std::vector<uint32_t> lastFrame;  // 0x00RRGGBB, top row first
};

// The process's resident memory now, in MiB.
double residentMiB();
// Processor time of the process, and of the calling thread, so far, in seconds.
double cpuSeconds();
double threadSeconds();

// A windowed HAL device on the window with the benchmark's back buffer (kWidth x kHeight, D24X8 depth, no
// vertical sync); null on failure.
IDirect3DDevice9* makeBenchDevice(IDirect3D9* d3d, HWND window);
// Draws frames frames (after a warm-up) through Direct3D 9 on the window.
Result runLayer(HWND window, int frames);
// Draws the same frames with OpenGL calls on a context of the window's own, into the window's frame buffer
// or (viaFbo) into a frame buffer object copied to the window at each swap; ahead > 0 holds it to that many
// presented frames in flight, as the layer holds itself.
Result runPlainGL(HWND window, int frames, bool viaFbo, int ahead = 0);

// The reference frame (see BenchReference.cpp) through the layer, and with plain OpenGL into the window.
Result runLayerReference(HWND window, int frames);
Result runPlainGLReference(HWND window, int frames, int ahead);
// The median time of a layer reset with that many 256x256 textures (full mip chains) loaded; -1 on failure.
double layerResetMilliseconds(HWND window, int textures, std::string& error);

}  // namespace bench
