// The benchmark's scene, shared by both paths: a world of lit, textured triangles drawn in patches with their
// own world matrices, and batches of alpha-tested, blended sprites that move every frame.
#pragma once

#include <cstdint>
#include <vector>

namespace bench {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kPatches = 100, kTrianglesPerPatch = 200;  // 20,000 world triangles
constexpr int kBatches = 20, kSpritesPerBatch = 150;     // 3,000 sprites
constexpr int kTextures = 4, kTextureSize = 64;

// World vertex: position, normal, colour, texture coordinates (the lit shader's input order).
struct WorldVertex {
  float x, y, z, nx, ny, nz;
  uint32_t color;
  float u, v;
};

// Sprite vertex: pre-transformed position in pixels, colour, texture coordinates.
struct SpriteVertex {
  float x, y, z, rhw;
  uint32_t color;
  float u, v;
};

// One patch of the world: a 10x10 grid of quads (200 triangles), the same for every patch.
void worldPatch(std::vector<WorldVertex>& vertices, std::vector<uint16_t>& indices);
// The world matrix (row-major, row vectors) of patch i: a 10x10 arrangement of patches.
void patchMatrix(int i, float out[16]);
// View x projection (row-major, row vectors) looking down over the world.
void viewProjection(float out[16]);
// The light (position, range) the lit shader reads.
void light(float position[3], float& range);
// The four vertices of every sprite of one frame, batch after batch.
void sprites(int frame, std::vector<SpriteVertex>& out);
// Six indices per quad for one batch.
std::vector<uint16_t> spriteIndices();
// Texel t of texture k (0xAARRGGBB), k < kTextures: world textures are opaque, sprite ones have a round
// alpha cut-out.
uint32_t texel(int k, int x, int y);

// The lit vertex shader of the rendering device and its 2D shader, as the plug-in writes them.
extern const char kShader3d[];
extern const char kShader2d[];
// The plain-OpenGL paths' vertex shader for pre-transformed sprites: pixel positions with the half-pixel offset
// the layer applies, rhw as 1/w; it feeds "color" and "tc" to the fragment stage.
extern const char kSpriteGlsl[];

}  // namespace bench
