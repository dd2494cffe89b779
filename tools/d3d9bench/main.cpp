// d3d9bench: draws two frames at 1024x768 through the Direct3D 9 layer and with plain OpenGL into the same
// window, in interleaved rounds of runs, and prints each path's frames per second (min/median/max), the ratios
// and how far the pictures differ: a busy frame (20,000 lit world triangles in 100 draws, 3,000 sprites in 20
// batches) and the reference frame (one screen-covering draw of 20,000 triangles, 3,000 64x64 alpha sprites
// re-uploaded each frame in 20 batches), the latter against plain OpenGL held to the layer's bound of frames in
// flight and against plain OpenGL without one. Then the time of a layer reset with 50 textures loaded.
// Usage: d3d9bench [frames per run, default 100] [rounds, default 5].
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/d3d9/BrFramePacer.h"
#include "platform/win32/win32_user.h"
#include "tools/d3d9bench/BenchGL.h"
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

using Path = bench::Result (*)(HWND, int);

// Runs the paths of one frame in turn, round after round, and prints each path's rate and, for each plain path,
// the median over the rounds of the layer's rate over its rate (the ratio of each round is taken, so that a
// change in the machine's load between rounds does not favour either side). The last round's results are kept.
bool measure(const char* title, HWND window, int frames, int rounds,
             const std::vector<std::pair<const char*, Path>>& paths, std::vector<bench::Result>& last) {
  std::printf("%s\n", title);
  std::vector<std::vector<double>> fps(paths.size()), ratios(paths.size());
  last.assign(paths.size(), bench::Result());
  for (int i = 0; i < rounds; ++i) {
    std::printf("  round %d:", i + 1);
    for (size_t k = 0; k < paths.size(); ++k) {
      last[k] = paths[k].second(window, frames);
      if (!last[k].ok) {
        std::fprintf(stderr, "d3d9bench: %s\n", last[k].error.c_str());
        return false;
      }
      fps[k].push_back(last[k].framesPerSecond);
      ratios[k].push_back(last[0].framesPerSecond / last[k].framesPerSecond);
      std::printf(" %s %.1f fps%s", paths[k].first, last[k].framesPerSecond, k + 1 < paths.size() ? "," : "\n");
    }
  }
  for (size_t k = 0; k < paths.size(); ++k) summary(paths[k].first, fps[k]);
  for (size_t k = 1; k < paths.size(); ++k)
    std::printf("  layer / %s, per round: min %.3f  median %.3f  max %.3f\n", paths[k].first,
                *std::min_element(ratios[k].begin(), ratios[k].end()), median(ratios[k]),
                *std::max_element(ratios[k].begin(), ratios[k].end()));
  return true;
}

// Compares the last pictures of the layer and of a plain path.
void pictureCheck(const char* name, const bench::Result& layer, const bench::Result& gl) {
  int largest = 0;
  const size_t differing = bench::differingPixels(layer.lastFrame, gl.lastFrame, 2, largest);
  std::printf("%s pictures: %zu of %zu pixels differ by more than 2 (largest difference %d)\n", name, differing,
              layer.lastFrame.size(), largest);
}

bench::Result busyGL(HWND window, int frames) { return bench::runPlainGL(window, frames, false); }
bench::Result referenceBounded(HWND window, int frames) {
  return bench::runPlainGLReference(window, frames, brd3d9::kSwapChainFramesAhead);
}
bench::Result referenceUnbounded(HWND window, int frames) { return bench::runPlainGLReference(window, frames, 0); }

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
  HWND window = CreateWindowExA(0, "BrD3D9Bench", "d3d9bench", 0, 0, 0, bench::kWidth, bench::kHeight, nullptr, nullptr,
                                nullptr, nullptr);
  if (!window) {
    std::fprintf(stderr, "d3d9bench: no window\n");
    return 1;
  }
  std::vector<bench::Result> busy, reference;
  if (!measure("busy frame (lit world in 100 draws, 3,000 sprites in 20 batches):", window, frames, pairs,
               {{"layer", bench::runLayer}, {"plain OpenGL", busyGL}}, busy) ||
      !measure("reference frame (one 20,000-triangle draw, 3,000 64x64 alpha sprites in 20 batches):", window, frames,
               pairs,
               {{"layer", bench::runLayerReference},
                {"plain OpenGL, same bound", referenceBounded},
                {"plain OpenGL, no bound", referenceUnbounded}},
               reference))
    return 1;
  pictureCheck("busy frame", busy[0], busy[1]);
  pictureCheck("reference frame", reference[0], reference[1]);
  pictureCheck("reference frame (no bound)", reference[0], reference[2]);
  std::printf(
      "reference frame, resident memory at the last frame (last round): layer %.0f MiB, plain OpenGL with the "
      "bound %.0f MiB, without %.0f MiB\n",
      reference[0].residentMiB, reference[1].residentMiB, reference[2].residentMiB);
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
