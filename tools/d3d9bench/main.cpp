// d3d9bench: draws two frames at 1024x768 through the Direct3D 9 layer and with plain OpenGL into the same
// window, in interleaved pairs of runs, and prints each side's frames per second (min/median/max) and the
// median ratio: a busy frame (20,000 lit world triangles in 100 draws, 3,000 sprites in 20 batches) and the
// reference frame (one screen-covering draw of 20,000 triangles, 3,000 64x64 alpha sprites re-uploaded each
// frame in 20 batches). Then the time of a layer reset with 50 textures loaded.
// Usage: d3d9bench [frames per run, default 100] [pairs of runs, default 5].
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/win32/win32_user.h"
#include "tools/d3d9bench/BenchPaths.h"
#include "tools/d3d9bench/BenchScene.h"

namespace {

LRESULT proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcA(hwnd, msg, w, l); }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

void summary(const char* name, const std::vector<double>& fps) {
  std::printf("  %-14s min %6.1f  median %6.1f  max %6.1f fps\n", name, *std::min_element(fps.begin(), fps.end()),
              median(fps), *std::max_element(fps.begin(), fps.end()));
}

// Runs pairs of (layer, plain OpenGL) runs of one frame, alternating, and prints the figures. The ratio of
// each pair is taken, so that a change in the machine's load between pairs does not favour either side.
bool measure(const char* title, HWND window, int frames, int pairs, bench::Result (*layer)(HWND, int),
             bench::Result (*gl)(HWND, int), bench::Result* lastLayer, bench::Result* lastGL) {
  std::printf("%s\n", title);
  std::vector<double> layerFps, glFps, ratios;
  for (int i = 0; i < pairs; ++i) {
    const bench::Result a = layer(window, frames);
    const bench::Result b = gl(window, frames);
    if (!a.ok || !b.ok) {
      std::fprintf(stderr, "d3d9bench: %s\n", (!a.ok ? a.error : b.error).c_str());
      return false;
    }
    std::printf("  pair %d: layer %6.1f fps, plain OpenGL %6.1f fps, ratio %.3f\n", i + 1, a.framesPerSecond,
                b.framesPerSecond, a.framesPerSecond / b.framesPerSecond);
    layerFps.push_back(a.framesPerSecond);
    glFps.push_back(b.framesPerSecond);
    ratios.push_back(a.framesPerSecond / b.framesPerSecond);
    if (lastLayer) *lastLayer = a;
    if (lastGL) *lastGL = b;
  }
  summary("layer:", layerFps);
  summary("plain OpenGL:", glFps);
  std::printf("  median ratio (layer / plain OpenGL): %.3f (target 0.9 or more)\n", median(ratios));
  return true;
}

bench::Result busyGL(HWND window, int frames) { return bench::runPlainGL(window, frames, false); }

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  const int pairs = argc > 2 ? std::max(5, std::atoi(argv[2])) : 5;
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
  bench::Result layer, gl;
  if (!measure("busy frame (lit world in 100 draws, 3,000 sprites in 20 batches):", window, frames, pairs,
               bench::runLayer, busyGL, &layer, &gl) ||
      !measure("reference frame (one 20,000-triangle draw, 3,000 64x64 alpha sprites in 20 batches):", window, frames,
               pairs, bench::runLayerReference, bench::runPlainGLReference, nullptr, nullptr))
    return 1;
  long differing = 0, maxDiff = 0;
  for (size_t i = 0; i < layer.lastFrame.size() && i < gl.lastFrame.size(); ++i) {
    long worst = 0;
    for (int c = 0; c < 3; ++c)
      worst = std::max(worst, std::labs(long((layer.lastFrame[i] >> (8 * c)) & 0xFF) - long((gl.lastFrame[i] >> (8 * c)) & 0xFF)));
    if (worst > 2) ++differing;
    maxDiff = std::max(maxDiff, worst);
  }
  std::printf("busy frame pictures: %ld of %zu pixels differ by more than 2 (largest difference %ld)\n", differing,
              layer.lastFrame.size(), maxDiff);
  std::string error;
  const double reset = bench::layerResetMilliseconds(window, 50, error);
  if (reset < 0 || !error.empty()) {
    std::fprintf(stderr, "d3d9bench: %s\n", error.c_str());
    return 1;
  }
  std::printf("reset with 50 textures loaded: %.3f ms (median of 5)\n", reset);
  DestroyWindow(window);
  return 0;
}
