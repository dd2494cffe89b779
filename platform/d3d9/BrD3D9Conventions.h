// The Direct3D 9 conventions the layer reproduces on OpenGL, gathered in one constant structure.
#pragma once

#include <limits>

namespace brd3d9 {

// Where Direct3D 9 and OpenGL differ, and by how much. The device owns one (kD3D9OnGL) and hands it to
// the shader emitters and the state code, so no other file hard-codes a convention.
struct Conventions {
  // Direct3D 9 puts pixel centres at integer coordinates, OpenGL at half-integers: a D3D position lands
  // this many pixels further right and down than the same number would in GL.
  float pixelCenterOffset;
  // Direct3D's window y runs downwards from the top row; OpenGL's upwards from the bottom row.
  bool yDown;
  // Direct3D clip depth runs 0..w, OpenGL's -w..w: z_gl = depthScale * z + depthBias * w.
  float depthScale;
  float depthBias;
  // Clockwise triangles (as seen on the screen) face the viewer in Direct3D. With y flipped by the
  // position fix-up the picture keeps its orientation, so GL's front face is clockwise too.
  bool frontFaceClockwise;
  // Matrices: the shaders multiply row vectors by matrices (m4x4 takes dot products with four constant
  // rows); applications upload transposed matrices, so no reordering happens in the layer.
  bool rowVectors;
  // The value Direct3D 9 gives rcp and rsq of 0.
  float reciprocalOfZero;
};

// The one set of conventions of this layer.
inline constexpr Conventions kD3D9OnGL = {0.5f, true, 2.0f, -1.0f, true, true, std::numeric_limits<float>::infinity()};

}  // namespace brd3d9
