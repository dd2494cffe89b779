// Test seam of the Direct3D 9 layer: makes chosen checks and calls fail, replaces the mode list and the
// capabilities, and tells why the last call was refused. For tests of the layer and of its callers.
#pragma once

#include "platform/d3d9/d3d9types.h"

struct SDL_Window;

// Checks and calls the seam can make fail. While a bit is set, every call of that kind fails.
enum BrD3D9Check : uint32_t {
  BR_D3D9_FAIL_ADAPTER_IDENTIFIER = 1u << 0,    // GetAdapterIdentifier: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_ADAPTER_DISPLAY_MODE = 1u << 1,  // GetAdapterDisplayMode: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_ENUM_ADAPTER_MODES = 1u << 2,    // EnumAdapterModes: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_DEVICE_CAPS = 1u << 3,           // GetDeviceCaps (both): D3DERR_INVALIDCALL
  BR_D3D9_FAIL_CHECK_DEVICE_TYPE = 1u << 4,     // CheckDeviceType: D3DERR_NOTAVAILABLE
  BR_D3D9_FAIL_CHECK_DEVICE_FORMAT = 1u << 5,   // CheckDeviceFormat: D3DERR_NOTAVAILABLE
  BR_D3D9_FAIL_CHECK_DEPTH_MATCH = 1u << 6,     // CheckDepthStencilMatch: D3DERR_NOTAVAILABLE
  BR_D3D9_FAIL_CREATE_DEVICE = 1u << 7,         // CreateDevice: D3DERR_NOTAVAILABLE
  BR_D3D9_FAIL_RESET = 1u << 8,                 // IDirect3DDevice9::Reset: D3DERR_DEVICELOST
  BR_D3D9_FAIL_CREATE_VERTEX_BUFFER = 1u << 9,  // D3DERR_OUTOFVIDEOMEMORY
  BR_D3D9_FAIL_CREATE_INDEX_BUFFER = 1u << 10,  // D3DERR_OUTOFVIDEOMEMORY
  BR_D3D9_FAIL_CREATE_TEXTURE = 1u << 11,       // D3DERR_OUTOFVIDEOMEMORY
  BR_D3D9_FAIL_CREATE_SHADER = 1u << 12,        // CreateVertexShader: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_CREATE_DECLARATION = 1u << 13,   // CreateVertexDeclaration: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_LOCK = 1u << 14,                 // every Lock and LockRect: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_SAMPLER_STATE = 1u << 15,        // SetSamplerState: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_CLEAR = 1u << 16,                // Clear: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_END_SCENE = 1u << 17,            // EndScene: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_PRESENT = 1u << 18,              // Present: D3DERR_DEVICELOST
  BR_D3D9_FAIL_DRAW = 1u << 19,                 // DrawPrimitive and DrawIndexedPrimitive: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_OFFSCREEN_SURFACE = 1u << 20,    // CreateOffscreenPlainSurface: D3DERR_OUTOFVIDEOMEMORY
  BR_D3D9_FAIL_FRONT_BUFFER = 1u << 21,         // GetFrontBufferData: D3DERR_INVALIDCALL
  BR_D3D9_FAIL_BACK_BUFFER = 1u << 22,          // GetBackBuffer: D3DERR_INVALIDCALL
};

// Sets the checks that fail (a mask of BrD3D9Check); 0 lets everything through again.
void brD3D9TestSetFailures(uint32_t checks);
// Makes the format checks refuse (or accept again) one format, whatever the other arguments.
void brD3D9TestRefuseFormat(D3DFORMAT format, bool refuse);
// Replaces the adapter's mode list (all modes, any formats); count 0 restores the real list.
void brD3D9TestSetModes(const D3DDISPLAYMODE* modes, UINT count);
// Replaces the capabilities both GetDeviceCaps report; null restores the real ones.
void brD3D9TestSetCaps(const D3DCAPS9* caps);
// Undoes every setting of the seam.
void brD3D9TestReset();
// Resolves window handles to SDL windows through fn instead of the windowing layer (null restores it).
void brD3D9TestSetWindowResolver(SDL_Window* (*fn)(HWND));
// Reports the window surface as width x height whatever its real size (0 x 0 restores it): a window system
// that did not carry out a size change the device asked for, or made another.
void brD3D9TestSetSurfaceSize(int width, int height);
// What the layer has sent OpenGL since the last brD3D9TestReset, for tests of redundant work.
struct BrD3D9TestCounts {
  uint32_t constantRegisters;   // shader constant registers uploaded
  uint32_t vertexInputStates;   // vertex input states (vertex array objects) made
  uint32_t frameCopies;         // frame-sized copies at Present (off-screen frame to window, front-buffer copies)
  uint32_t textureUnitChanges;  // active texture unit switches
  uint32_t scissorChanges;      // scissor test switched on or off
  uint32_t presentWaits;      // Presents that held the frame before last to be finished (two frames in flight at most)
  uint32_t textureReadBacks;  // texture levels read back from OpenGL (their system-memory copy had gone)
  uint32_t draws;             // draw calls sent to OpenGL
};
BrD3D9TestCounts brD3D9TestGetCounts();
// Why the last refused call of the layer was refused ("" before any).
const char* brD3D9LastError();
