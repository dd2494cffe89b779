// d3d9bench: draws a busy frame (20,000 lit world triangles in 100 draws, 3,000 sprites in 20 batches) at
// 1024x768 through the Direct3D 9 layer and with plain OpenGL, alternately, and prints the frame rates,
// their ratio and how far the two pictures differ. Usage: d3d9bench [frames per run, default 200].
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/win32_user.h"
#include "tools/d3d9bench/BenchPaths.h"
#include "tools/d3d9bench/BenchScene.h"

namespace {

LRESULT proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcA(hwnd, msg, w, l); }

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  WNDCLASSEXA wc;
  std::memset(&wc, 0, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = "BrD3D9Bench";
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(0, "BrD3D9Bench", "d3d9bench", 0, 0, 0, bench::kWidth, bench::kHeight, nullptr,
                                nullptr, nullptr, nullptr);
  if (!window) {
    std::fprintf(stderr, "d3d9bench: no window\n");
    return 1;
  }
  double bestLayer = 0, bestGL = 0, cpuLayer = 0, cpuGL = 0;
  bench::Result layer, gl;
  // Alternate the paths and keep each one's best run, so that none gains from running later. Plain OpenGL
  // runs twice a round, into the window and into a frame buffer object; the faster is the baseline. The
  // processor-time rates do not depend on what else the machine runs.
  for (int round = 0; round < 3; ++round) {
    layer = bench::runLayer(window, frames);
    if (!layer.ok) {
      std::fprintf(stderr, "d3d9bench: %s\n", layer.error.c_str());
      return 1;
    }
    std::printf("round %d: layer %.1f fps (%.1f per processor second, calls %.2f ms a frame)\n", round + 1,
                layer.framesPerSecond, layer.framesPerCpuSecond, layer.submitMsPerFrame);
    bestLayer = std::max(bestLayer, layer.framesPerSecond);
    cpuLayer = std::max(cpuLayer, layer.framesPerCpuSecond);
    for (bool viaFbo : {false, true}) {
      gl = bench::runPlainGL(window, frames, viaFbo);
      if (!gl.ok) {
        std::fprintf(stderr, "d3d9bench: %s\n", gl.error.c_str());
        return 1;
      }
      std::printf("         plain OpenGL %s %.1f fps (%.1f per processor second, calls %.2f ms a frame)\n",
                  viaFbo ? "via FBO:  " : "to window:", gl.framesPerSecond, gl.framesPerCpuSecond, gl.submitMsPerFrame);
      bestGL = std::max(bestGL, gl.framesPerSecond);
      cpuGL = std::max(cpuGL, gl.framesPerCpuSecond);
    }
  }
  long differing = 0, maxDiff = 0;
  for (size_t i = 0; i < layer.lastFrame.size() && i < gl.lastFrame.size(); ++i) {
    long worst = 0;
    for (int c = 0; c < 3; ++c)
      worst = std::max(worst, std::labs(long((layer.lastFrame[i] >> (8 * c)) & 0xFF) - long((gl.lastFrame[i] >> (8 * c)) & 0xFF)));
    if (worst > 2) ++differing;
    maxDiff = std::max(maxDiff, worst);
  }
  std::printf("Direct3D 9 layer: %.1f fps\n", bestLayer);
  std::printf("plain OpenGL:     %.1f fps\n", bestGL);
  std::printf("ratio (layer / plain OpenGL): %.3f\n", bestLayer / bestGL);
  std::printf("ratio per processor second: %.3f\n", cpuLayer / cpuGL);
  std::printf("pictures: %ld of %zu pixels differ by more than 2 (largest difference %ld)\n", differing,
              layer.lastFrame.size(), maxDiff);
  DestroyWindow(window);
  return 0;
}
