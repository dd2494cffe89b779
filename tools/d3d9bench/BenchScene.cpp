// The benchmark's scene data.
#include "tools/d3d9bench/BenchScene.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "tools/d3d9bench/BenchPaths.h"

namespace bench {

double cpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double residentMiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double threadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

const char kShader3d[] =
    "vs.1.1\ndcl_position v0\ndcl_normal v1\ndcl_color0 v2\ndcl_texcoord0 v8\nm4x4 r0, v0, c4\nm4x4 r1, r0, c0\nmov "
    "oPos, r1\nsub r1.xyz, c9, r0.xyz\ndp3 r1, r1, r1\nrsq r2, r1\nrcp r2, r2\nrcp r3, c10.x\nmul r4, r2, r3\nmin "
    "r5.x, r4.x, c8.x\nsub r5.xyz, c8.x, r5.x\nmul r6.xyz, r5.xyz, c11.xyz\nmov oD0.xyz, r6.xyz\nmov oD0.w, "
    "c8.x\nmov  oT0 , v8\n";
const char kShader2d[] =
    "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos,v0\nmov oD0, v1\nmov oT0, v8\n";

void worldPatch(std::vector<WorldVertex>& vertices, std::vector<uint16_t>& indices) {
  vertices.clear();
  indices.clear();
  for (int z = 0; z <= 10; ++z)
    for (int x = 0; x <= 10; ++x) {
      const float h = 0.3f * std::sin(float(x) * 0.9f) * std::cos(float(z) * 0.7f);
      vertices.push_back({float(x), h, float(z), 0, 1, 0, 0xFFFFFFFFu, float(x) / 4.0f, float(z) / 4.0f});
    }
  for (int z = 0; z < 10; ++z)
    for (int x = 0; x < 10; ++x) {
      const uint16_t a = uint16_t(z * 11 + x), b = uint16_t(a + 1), c = uint16_t(a + 11), d = uint16_t(c + 1);
      // Clockwise as seen from above.
      const uint16_t quad[6] = {a, c, b, b, c, d};
      indices.insert(indices.end(), quad, quad + 6);
    }
}

void patchMatrix(int i, float out[16]) {
  std::memset(out, 0, 16 * sizeof(float));
  out[0] = out[5] = out[10] = out[15] = 1.0f;
  out[12] = float(i % 10) * 10.0f - 50.0f;
  out[14] = float(i / 10) * 10.0f - 20.0f;
}

void viewProjection(float out[16]) {
  // Camera at (0, 40, -45) looking at (0, 0, 30): axes right, up, forward.
  const float eye[3] = {0, 40, -45};
  float f[3] = {0 - eye[0], 0 - eye[1], 30 - eye[2]};
  const float fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
  for (float& c : f) c /= fl;
  float r[3] = {f[2], 0, -f[0]};  // up (0,1,0) x forward
  const float rl = std::sqrt(r[0] * r[0] + r[2] * r[2]);
  for (float& c : r) c /= rl;
  const float u[3] = {f[1] * r[2] - f[2] * r[1], f[2] * r[0] - f[0] * r[2], f[0] * r[1] - f[1] * r[0]};
  float v[16] = {r[0], u[0], f[0], 0, r[1], u[1], f[1], 0, r[2], u[2], f[2], 0, 0, 0, 0, 1};
  v[12] = -(eye[0] * r[0] + eye[1] * r[1] + eye[2] * r[2]);
  v[13] = -(eye[0] * u[0] + eye[1] * u[1] + eye[2] * u[2]);
  v[14] = -(eye[0] * f[0] + eye[1] * f[1] + eye[2] * f[2]);
  const float n = 5.0f, fz = 500.0f;
  const float w = 2.0f * n * std::tan(30.0f / 360.0f * 6.2831855f), h = w * float(kHeight) / float(kWidth);
  float p[16] = {};
  p[0] = 2 * n / w;
  p[5] = 2 * n / h;
  p[10] = fz / (fz - n);
  p[11] = 1;
  p[14] = -n * fz / (fz - n);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += v[i * 4 + k] * p[k * 4 + j];
      out[i * 4 + j] = s;
    }
}

void light(float position[3], float& range) {
  position[0] = 0;
  position[1] = 8;
  position[2] = 25;
  range = 60;
}

void sprites(int frame, std::vector<SpriteVertex>& out) {
  out.resize(size_t(kBatches) * kSpritesPerBatch * 4);
  uint32_t state = 1;
  auto rnd = [&]() {
    state = state * 214013u + 2531011u;
    return float((state >> 16) & 0x7FFF) / 32767.0f;
  };
  for (int s = 0; s < kBatches * kSpritesPerBatch; ++s) {
    const float baseX = rnd() * kWidth, baseY = rnd() * kHeight, speed = 20 + rnd() * 60, size = 16 + rnd() * 24;
    const float x = std::fmod(baseX + speed * float(frame) * 0.05f, float(kWidth)), y = baseY;
    const uint32_t alpha = rnd() < 0.3f ? 0x80u : 0xFFu;
    const uint32_t color = (alpha << 24) | (uint32_t(rnd() * 255) << 16) | 0xC0C0u;
    SpriteVertex* v = &out[size_t(s) * 4];
    const float l = x - 0.5f, t = y - 0.5f, r = x + size - 0.5f, b = y + size - 0.5f;
    v[0] = {l, t, 0.001f, 1, color, 0.001f, 0.001f};
    v[1] = {r, t, 0.001f, 1, color, 0.999f, 0.001f};
    v[2] = {r, b, 0.001f, 1, color, 0.999f, 0.999f};
    v[3] = {l, b, 0.001f, 1, color, 0.001f, 0.999f};
  }
}

std::vector<uint16_t> spriteIndices() {
  std::vector<uint16_t> idx;
  for (int q = 0; q < kSpritesPerBatch; ++q) {
    const uint16_t b = uint16_t(q * 4);
    const uint16_t quad[6] = {b, uint16_t(b + 1), uint16_t(b + 2), b, uint16_t(b + 2), uint16_t(b + 3)};
    idx.insert(idx.end(), quad, quad + 6);
  }
  return idx;
}

uint32_t texel(int k, int x, int y) {
  const int cx = x - kTextureSize / 2, cy = y - kTextureSize / 2;
  const bool inside = cx * cx + cy * cy < (kTextureSize / 2 - 2) * (kTextureSize / 2 - 2);
  const uint32_t rgb = ((x / 8 + y / 8 + k) & 1) ? 0xE0E0E0u : uint32_t(0x4080C0u + uint32_t(k) * 0x203010u);
  return (k == 0 || inside ? 0xFF000000u : 0u) | rgb;
}

const char kSpriteGlsl[] = R"(#version 330 core
layout(location = 0) in vec4 pos;
layout(location = 1) in vec4 col;
layout(location = 2) in vec2 uv;
uniform vec2 invSize;
out vec4 color;
out vec2 tc;
void main() {
  color = col;
  tc = uv;
  float w = pos.w == 0.0 ? 1.0 : 1.0 / pos.w;
  vec2 ndc = vec2((pos.x + 0.5) * 2.0 * invSize.x - 1.0, 1.0 - (pos.y + 0.5) * 2.0 * invSize.y);
  gl_Position = vec4(ndc * w, (2.0 * pos.z - 1.0) * w, w);
})";

}  // namespace bench
