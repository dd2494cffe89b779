// Test support for the Direct3D 9 layer: window, device, read-back and golden images.
#include "tests/platform/d3d9/D3D9TestSupport.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32/win32_user.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace d3d9test {
namespace {

LRESULT testWndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcA(hwnd, msg, w, l); }

const char* windowClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = testWndProc;
    wc.lpszClassName = "BrD3D9Test";
    registered = RegisterClassExA(&wc) != 0;
  }
  return "BrD3D9Test";
}

// The folder is built in, so the test finds its images from any working folder, inside CTest or not.
std::string goldenPath(const std::string& name) { return std::string(D3D9_GOLDEN_DIR) + "/" + name + ".png"; }

}  // namespace

TestDevice::TestDevice(UINT w, UINT h, bool depth) : width(w), height(h) {
  hwnd = CreateWindowExA(0, windowClass(), "d3d9 test", 0, 0, 0, int(w), int(h), nullptr, nullptr, nullptr, nullptr);
  if (!hwnd) {
    mWhy = "no window";
    return;
  }
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d) {
    mWhy = "no Direct3D object";
    return;
  }
  D3DPRESENT_PARAMETERS pp;
  std::memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = w;
  pp.BackBufferHeight = h;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.BackBufferCount = 1;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = hwnd;
  pp.Windowed = TRUE;
  pp.EnableAutoDepthStencil = depth ? TRUE : FALSE;
  pp.AutoDepthStencilFormat = D3DFMT_D24X8;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  const HRESULT hr = d3d->CreateDevice(0, D3DDEVTYPE_HAL, hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device);
  if (FAILED(hr)) {
    device = nullptr;
    mWhy = std::string("CreateDevice failed: ") + brD3D9LastError();
  }
}

TestDevice::~TestDevice() {
  releaseAll(device);
  releaseAll(d3d);
  if (hwnd) DestroyWindow(hwnd);
}

std::vector<uint32_t> presentAndRead(TestDevice& t) {
  std::vector<uint32_t> pixels;
  EXPECT_EQ(D3D_OK, t.device->Present(nullptr, nullptr, nullptr, nullptr));
  IDirect3DSurface9* surface = nullptr;
  if (FAILED(t.device->CreateOffscreenPlainSurface(t.width, t.height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                                   nullptr))) {
    ADD_FAILURE() << "no surface: " << brD3D9LastError();
    return pixels;
  }
  EXPECT_EQ(D3D_OK, t.device->GetFrontBufferData(0, surface));
  D3DLOCKED_RECT locked;
  if (SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    EXPECT_EQ(INT(t.width * 4), locked.Pitch);
    pixels.resize(size_t(t.width) * t.height);
    for (UINT y = 0; y < t.height; ++y)
      std::memcpy(&pixels[size_t(y) * t.width], static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch,
                  size_t(t.width) * 4);
    surface->UnlockRect();
  }
  releaseAll(surface);
  return pixels;
}

IDirect3DVertexShader9* makeShader(IDirect3DDevice9* device, const char* text) {
  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  const HRESULT hr = D3DXAssembleShader(text, UINT(std::strlen(text)), nullptr, nullptr, 0, &code, &errors);
  if (FAILED(hr)) {
    ADD_FAILURE() << "assembly failed: " << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
    if (errors) errors->Release();
    return nullptr;
  }
  IDirect3DVertexShader9* shader = nullptr;
  if (FAILED(device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader))) {
    ADD_FAILURE() << "CreateVertexShader failed: " << brD3D9LastError();
    shader = nullptr;
  }
  code->Release();
  return shader;
}

::testing::AssertionResult matchesGolden(const std::vector<uint32_t>& frame, UINT width, UINT height,
                                         const std::string& name, int tolerance, int maxBadPixels) {
  if (frame.size() != size_t(width) * height) return ::testing::AssertionFailure() << "no frame";
  const std::string path = goldenPath(name);
  std::vector<uint8_t> rgba(frame.size() * 4);
  for (size_t i = 0; i < frame.size(); ++i) {
    rgba[i * 4 + 0] = uint8_t(frame[i] >> 16);
    rgba[i * 4 + 1] = uint8_t(frame[i] >> 8);
    rgba[i * 4 + 2] = uint8_t(frame[i]);
    rgba[i * 4 + 3] = 255;
  }
  const char* update = std::getenv("BR_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    if (!stbi_write_png(path.c_str(), int(width), int(height), 4, rgba.data(), int(width * 4)))
      return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess() << "wrote " << path;
  }
  int w = 0, h = 0, comp = 0;
  stbi_uc* golden = stbi_load(path.c_str(), &w, &h, &comp, 4);
  if (!golden) return ::testing::AssertionFailure() << "no golden image " << path;
  if (w != int(width) || h != int(height)) {
    stbi_image_free(golden);
    return ::testing::AssertionFailure() << "golden image size differs";
  }
  int bad = 0;
  size_t firstBad = 0;
  for (size_t i = 0; i < frame.size(); ++i) {
    bool differs = false;
    for (int c = 0; c < 3; ++c)
      differs = differs || std::abs(int(rgba[i * 4 + c]) - int(golden[i * 4 + c])) > tolerance;
    if (differs && bad++ == 0) firstBad = i;
  }
  if (bad > maxBadPixels) {
    // Keep what was rendered beside the build for a look.
    const std::string actual = "/tmp/" + name + ".actual.png";
    stbi_write_png(actual.c_str(), int(width), int(height), 4, rgba.data(), int(width * 4));
    const size_t i = firstBad;
    auto result = ::testing::AssertionFailure()
                  << bad << " pixels differ from " << path << "; first at (" << i % width << ", " << i / width
                  << "): got " << int(rgba[i * 4]) << "," << int(rgba[i * 4 + 1]) << "," << int(rgba[i * 4 + 2])
                  << " want " << int(golden[i * 4]) << "," << int(golden[i * 4 + 1]) << "," << int(golden[i * 4 + 2])
                  << " (rendered frame: " << actual << ")";
    stbi_image_free(golden);
    return result;
  }
  stbi_image_free(golden);
  return ::testing::AssertionSuccess();
}

}  // namespace d3d9test
