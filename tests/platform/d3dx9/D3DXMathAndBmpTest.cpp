// Matrix product and transpose, and the BMP writer's exact bytes (directly and through a surface).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/d3dx9/BrD3DXInternal.h"
#include "tests/platform/d3d9/D3D9TestSupport.h"

TEST(D3DXMath, MultiplyAndTranspose) {
  D3DXMATRIX a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  D3DXMATRIX b(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1);  // scale, then translate (row vectors)
  D3DXMATRIX r;
  ASSERT_EQ(&r, D3DXMatrixMultiply(&r, &a, &b));
  EXPECT_FLOAT_EQ(1 * 2 + 4 * 1, r(0, 0));
  EXPECT_FLOAT_EQ(2 * 3 + 4 * 2, r(0, 1));
  EXPECT_FLOAT_EQ(3 * 4 + 4 * 3, r(0, 2));
  EXPECT_FLOAT_EQ(4, r(0, 3));
  EXPECT_FLOAT_EQ(15 * 4 + 16 * 3, r(3, 2));
  // A row vector (x, y, z, 1) through b is scaled then moved.
  D3DXMATRIX v(1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  D3DXMatrixMultiply(&v, &v, &b);  // out may be an input
  EXPECT_FLOAT_EQ(3, v(0, 0));
  EXPECT_FLOAT_EQ(5, v(0, 1));
  EXPECT_FLOAT_EQ(7, v(0, 2));
  D3DXMATRIX t;
  D3DXMatrixTranspose(&t, &a);
  for (UINT i = 0; i < 4; ++i)
    for (UINT j = 0; j < 4; ++j) EXPECT_EQ(a(i, j), t(j, i));
  D3DXMatrixTranspose(&a, &a);
  EXPECT_FLOAT_EQ(5, a(0, 1));
  const float* f = t;
  EXPECT_FLOAT_EQ(5, f[1]);
}

TEST(D3DXBmp, WriterBytes) {
  // 3x2 texels, top row first: red, green, blue / white, black, grey.
  const uint32_t texels[6] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u, 0x80808080u};
  const std::vector<uint8_t> bytes = brd3dx::encodeBmp24(reinterpret_cast<const uint8_t*>(texels), 3, 2, 12);
  const std::vector<uint8_t> want = {
      'B', 'M', 78,  0, 0,   0, 0,   0,   0,   0, 54, 0, 0, 0,  // file header: size 54 + 2 rows of 12
      40,  0,   0,   0, 3,   0, 0,   0,   2,   0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,  // info header
      24,  0,   0,   0, 0,   0, 0,   0,   0,   0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,
      255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0,  0,  // bottom row first, padded to 12
      0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0,  0,
  };
  EXPECT_EQ(want, bytes);

  d3d9test::TestDevice t(8, 8);
  ASSERT_TRUE(t.ok()) << t.why();
  IDirect3DSurface9* s = nullptr;
  ASSERT_EQ(D3D_OK, t.device->CreateOffscreenPlainSurface(3, 2, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &s, nullptr));
  D3DLOCKED_RECT r;
  ASSERT_EQ(D3D_OK, s->LockRect(&r, nullptr, 0));
  std::memcpy(r.pBits, texels, sizeof texels);
  s->UnlockRect();
  const std::string path = "d3dx_bmp_test.bmp";
  std::remove(path.c_str());
  EXPECT_EQ(D3DERR_INVALIDCALL, D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, s, nullptr, nullptr));
  ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_BMP, s, nullptr, nullptr));
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(want, file);
  // A rectangle of the surface: the middle column only.
  const RECT rect = {1, 0, 2, 2};
  ASSERT_EQ(D3D_OK, D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_BMP, s, nullptr, &rect));
  std::ifstream in2(path, std::ios::binary);
  const std::vector<uint8_t> part((std::istreambuf_iterator<char>(in2)), std::istreambuf_iterator<char>());
  ASSERT_EQ(54u + 8u, part.size());
  EXPECT_EQ(0, part[54]);    // black, bottom row
  EXPECT_EQ(255, part[59]);  // green's G, top row
  std::remove(path.c_str());
  // A locked surface cannot be saved; nothing is left behind.
  ASSERT_EQ(D3D_OK, s->LockRect(&r, nullptr, 0));
  EXPECT_EQ(D3DERR_INVALIDCALL, D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_BMP, s, nullptr, nullptr));
  s->UnlockRect();
  EXPECT_FALSE(std::ifstream(path).good());
  d3d9test::releaseAll(s);
}
