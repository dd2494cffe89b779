// BrRenderBase and BrBBCache: the abstract rendering device that a rendering plug-in implements, and one queued billboard.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "core/BrCoords.h"
#include "core/BrMatrix3.h"
#include "core/BrPlane.h"
#include "core/BrSubSystem.h"
#include "core/BrVector.h"
#include "engine/kernel/BrFrustum.h"
#include "engine/presentation/BrIndexBufferBase.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderTypes.h"
#include "engine/presentation/BrTextureBase.h"
#include "engine/presentation/BrTextureMgrBase.h"
#include "engine/presentation/BrVertexBufferBase.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrSpriteDaemon;
class BrFontMgr;
class BrLightMgr;
class BrEffectorMgr;

// One queued billboard: its world frame, effector and vertex buffer (not owned).
class BrBBCache {
public:
  BrBBCache() : m_uiEffector(0), m_pVB(nullptr) {}
  BrBBCache(const BrBBCache&) = default;
  BrBBCache& operator=(const BrBBCache&) = default;
  ~BrBBCache() {}

  BrCoords m_Coords;
  uint32_t m_uiEffector;
  BrVertexBufferBase* m_pVB;
};

// What the device's SetView records of the camera for the base's projection operations.
struct BrViewRecord {
  float fNear = 5.0f;
  float fFar = 50000.0f;
  float fFOV = 0.0f;          // horizontal field of view, degrees
  float fVerticalFOV = 0.0f;  // degrees
  float fNearWidth = 0.0f;
  float fNearHeight = 0.0f;
  BrMatrix3 Axes;  // the camera axes, rows X, Y, Z
  BrVector Position;
};

// The rendering device. The plug-in derives its device from this class and implements every pure operation;
// the engine creates it through the plug-in's fnGetRenderingDevice, hands it the window, calls Init, and at exit
// Exit and fnDeleteRenderingDevice. The plug-in's Init installs the texture and effector managers first.
class BrRenderBase : public BrSubSystem {
public:
  BrRenderBase();
  // Not copied: a copy would share the owned managers and daemons and delete them a second time.
  BrRenderBase(const BrRenderBase& other) = delete;
  BrRenderBase& operator=(const BrRenderBase& other) = delete;
  // Does not delete the managers (Exit does).
  ~BrRenderBase() override;

  // Creates the sprite daemon, font manager and light manager where absent. False only when the font manager
  // reports that the configured default font could not be made, so that the engine ends the run in order.
  bool Init() override;
  // Deletes the sprite daemon, font manager and light manager; true.
  bool Exit() override;
  // Clears as the flag says and begins the frame; draws the ground grid when its flag is set. Negative: failure.
  virtual int32_t PreRender(ePreRenderClearFlag flag) = 0;
  // Draws the queued sprites, ends the scene and presents.
  virtual int32_t EndRender() = 0;
  virtual bool InitAPI() = 0;
  virtual bool ExitAPI() = 0;
  // (Re)creates the device for the current mode.
  virtual bool Reset() = 0;
  // flip true switches between window and full screen; either way the current mode is applied again.
  virtual bool ToggleFullScreen(bool flip) = 0;
  virtual bool SetAlpha(bool on) = 0;
  virtual void SaveCurrWinPos() = 0;
  // Re-reads the window's client area.
  virtual bool UpdateDimensions() = 0;
  virtual bool CreateVertexBuffer(BrVertexBufferBase** out, unsigned int sizeInBytes, DWORD fvf, eMemPool pool,
                                  eResUsage usage) = 0;
  virtual bool CreateIndexBuffer(BrIndexBufferBase** out, unsigned int sizeInBytes, eIDXFormat format,
                                 eMemPool pool) = 0;
  // Indexed drawing with the current effector.
  virtual int32_t DrawPrimitive(DWORD type, BrVertexBufferBase* vb, BrIndexBufferBase* ib, unsigned int stride,
                                DWORD fvf, int numVertices, int primitiveCount, unsigned int baseVertex,
                                unsigned int startIndex) = 0;
  // Non-indexed drawing from vertex 0.
  virtual int32_t DrawPrimitive(DWORD type, BrVertexBufferBase* vb, unsigned int stride, int primitiveCount) = 0;
  virtual bool SetTexture(unsigned int texture, eTextureType type, unsigned int stage) = 0;
  virtual bool SetEffector(unsigned int effector) = 0;
  virtual void SetTransform(BrCoords* world) = 0;
  virtual void SetView(BrCoords* camera) = 0;
  virtual bool SetStream(unsigned int stream, DWORD stride, BrVertexBufferBase* vb) = 0;
  virtual int GetCurrShader() = 0;
  virtual unsigned int GetWidth() = 0;
  virtual unsigned int GetHeight() = 0;
  virtual float GetAspectRatio() = 0;
  virtual float& NearZ() = 0;
  virtual float& FarZ() = 0;
  // Queues a screen sprite (screen fractions, rotation in degrees) with the sprite daemon and returns what the
  // queue reports. Effector indexes below 3 are refused, and so is every sprite before Init made the daemon.
  virtual bool DrawSprite(float x, float y, float w, float h, unsigned int effector, float z, BrARGB& colour,
                          float rotation, float uLeft, float vTop, float uRight, float vBottom);
  // A circle of 24 lines about the plane's normal; a normal along z still gets a valid starting axis.
  virtual void Draw3DCircle(BrVector* centre, BrPlane* plane, float radius, BrARGB colour);
  // Two circles and the two outline lines seen from the camera; nothing for a null pointer or alpha 0.
  virtual void Draw3DCylinder(BrVector* centre, BrVector* axis, float radius, float height, BrARGB colour);
  // A black whole-screen tile at alpha (clamped to 0..1) x 255, through "ShaderBlackBack" built on first use.
  virtual void DrawFadeTile(float alpha, float z);
  // The same in the colour's r, g, b (its alpha ignored), through "ShaderColourBack".
  virtual void DrawColourTile(float alpha, float z, BrARGB colour);
  virtual bool Draw3DLine(BrVector* from, BrVector* to, BrARGB colour) = 0;
  // Through the font manager; nothing without one.
  virtual void DrawTextA(float x, float y, BrARGB& colour, eFontFormatFlags flags, char* text);
  // Formats into 260 characters, then DrawTextA (the virtual one).
  virtual void DrawTextf(float x, float y, BrARGB& colour, eFontFormatFlags flags, char* format, ...);
  virtual bool CompileShader(BrStringT<char>& source, void** shader, void** declaration) = 0;
  virtual bool SetRenderStates() = 0;
  virtual void SetPolyCullMode(ePolyCullMode mode) = 0;
  // Nothing in the base.
  virtual void takeScreenshot(const BrStringT<char>& file);
  virtual int GetNumResolutions();
  // Width and height of resolution i, truncated; both 0 for an index outside the list.
  virtual void GetResolution(int i, int& width, int& height);
  // Device test drawings.
  virtual void NuDiffuse() = 0;
  virtual void NuDiffuseTex1() = 0;
  virtual void NuDiffuseTex1Unlit() = 0;
  virtual void NuRealDiffuseTex1Scroll(float t) = 0;
  virtual void NuRealDiffuseTex1RotScale() = 0;
  virtual void NuRealDiffuseTex2() = 0;
  virtual void NuCheatEnvMapping() = 0;
  virtual void NuAlphaCheck() = 0;
  virtual void NuBumpMapping() = 0;

  // World point to pixel (or screen fraction) through the application's camera (without an application,
  // through the view SetView recorded); true when inside the screen and in front of the camera. The outputs
  // are written in every case.
  bool Project(const BrVector& point, int& px, int& py);
  bool Project(const BrVector& point, float& sx, float& sy);
  // Unit world-space view direction through pixel (px, py), from the same camera as Project; false, output
  // untouched, outside the screen (px = width and py = height still count as inside).
  bool DeProject(int px, int py, BrVector* direction);
  // The debug grid: a 20000-unit square on y = 0 with its two centre lines, and three 100-unit axis lines.
  void DrawGroundGrid(BrARGB colour);
  // Queues a billboard for drawAllBillboards; the record storage is reused from frame to frame.
  void drawBillboard(const BrBBCache& record);
  // Draws the queued billboards farthest from the camera first, two-sided (a mirrored one shows as well), puts
  // back the culling of counter-clockwise faces and empties the queue.
  void drawAllBillboards();

  BrEffectorMgr* FXMgr() { return m_pFXMgr; }
  BrTextureMgrBase* TextureMgr() { return m_pTextureMgr; }
  BrSpriteDaemon* SpriteDaemon() { return m_pSpriteDaemon; }
  BrFontMgr* FontMgr() { return m_pFontMgr; }
  BrLightMgr* LightMgr() { return m_pLightMgr; }
  BrFrustum& Frustum() { return m_Frustum; }
  BrViewRecord& View() { return m_View; }
  bool& Windowed() { return m_bWindowed; }
  DWORD& WindowStyle() { return m_dwWindowStyle; }
  HWND& ParentHandle() { return m_hParent; }
  bool& UsingZBuffer() { return m_bZBuffer; }
  bool& UsingWBuffer() { return m_bWBuffer; }
  int& DepthBufferBitDepth() { return m_iDepthBits; }
  bool& DrawGroundGrid() { return m_bDrawGroundGrid; }
  BrARGB& GroundGridColour() { return m_GroundGridColour; }
  void SetClientArea(const RECT& rect) { m_ClientArea = rect; }
  RECT GetClientArea() const { return m_ClientArea; }
  void SetSavedWinPos(int x, int y) {
    m_iSavedX = x;
    m_iSavedY = y;
  }
  int GetSavedXPos() const { return m_iSavedX; }
  int GetSavedYPos() const { return m_iSavedY; }
  // The display modes offered; the device fills it when it enumerates modes.
  TDArray<BrRect>& Resolutions() { return m_Resolutions; }

protected:
  // The 25 points Draw3DCircle joins with its 24 lines, the last one back where the first is.
  static void CirclePoints(const BrVector& centre, const BrPlane& plane, float radius, BrVector points[25]);

  BrSpriteDaemon* m_pSpriteDaemon;
  BrFontMgr* m_pFontMgr;
  BrLightMgr* m_pLightMgr;
  DWORD m_dwWindowStyle;
  RECT m_ClientArea;
  HWND m_hParent;
  bool m_bWindowed;
  int32_t m_iSavedX;
  int32_t m_iSavedY;
  bool m_bWBuffer;
  bool m_bZBuffer;
  int32_t m_iDepthBits;
  float m_fNearZ;
  float m_fFarZ;
  BrTextureMgrBase* m_pTextureMgr;  // set and owned by the plug-in
  BrEffectorMgr* m_pFXMgr;          // set and owned by the plug-in
  bool m_bDrawGroundGrid;
  BrARGB m_GroundGridColour;
  BrFrustum m_Frustum;
  TDArray<BrBBCache> m_Billboards;
  TDArray<int32_t> m_BillboardOrder;
  int32_t m_iQueuedBillboards;
  TDArray<BrRect> m_Resolutions;
  BrViewRecord m_View;
  // The whole-screen tiles' effectors, built on first use (0 until then).
  uint32_t m_uiFadeTileFX;
  uint32_t m_uiColourTileFX;
  // True once building a tile effector failed with both managers present: it is not tried on every frame.
  bool m_bFadeTileFailed;
  bool m_bColourTileFailed;
};
