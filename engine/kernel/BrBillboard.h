// BrBillboard: a textured unit quad that turns towards the camera, the icon of entities and mutators.
#pragma once

#include <cstdint>

#include "engine/kernel/BrGameObj.h"

class BrVertexBufferBase;

// One vertex of the quad: position, normal, diffuse colour, texture coordinates (vertex format 338).
struct BrBillboardVertex {
  float x, y, z;
  float nx, ny, nz;
  uint32_t diffuse;
  float u, v;
};
static_assert(sizeof(BrBillboardVertex) == 36, "the billboard vertex format is 36 bytes");

// A quad of six vertices with two effectors (facing the camera or facing away) of which one is drawn.
// Nothing of it is saved.
class BrBillboard : public BrGameObj {
  BR_DECLARE_CLASS(BrBillboard)
public:
  // Vertex format flags of the quad.
  static const uint32_t ciVertexFormat = 338;
  // Style bits: turn freely (also up and down); face the camera (else the followed object's direction).
  static const uint32_t ciStyleFree = 1;
  static const uint32_t ciStyleFaceCamera = 2;

  // Defaults, then Init.
  BrBillboard();
  // A copy with a vertex buffer of its own.
  BrBillboard(const BrBillboard& other);
  // Destroy and Init, then copies the effectors, scales, style, focus and freeze flag.
  BrBillboard& operator=(const BrBillboard& other);
  // Releases the buffer.
  ~BrBillboard() override;

  // Writes and reads nothing.
  void Serialize(BrBin& bin) override;
  // Builds the quad's vertex buffer; false (logged) when it exists already, there is no device or it fails.
  bool Init() override;
  // Releases the vertex buffer; the game object's Destroy is not run.
  void Destroy() override;
  // Queues the quad, turned to the camera, with the device.
  void Draw(BrRenderBase* render) override;
  // The focus's frame when there is a focus.
  BrCoords& GetCoords() override;

  // An index below the effector count becomes current; any other logs and selects 0.
  void SetEffector(unsigned int index);
  // The effector of that name (made from the texture the first time), shown facing away.
  void SetEffector(const BrStringT<char>& name, const BrStringT<char>& texture);
  // The effector shown by FaceCamera; the current one is not changed.
  void SetFacingEffector(const BrStringT<char>& name, const BrStringT<char>& texture);
  void FaceCamera() { m_uiCurrEffector = m_uiFacingEffector; }
  void FaceAway() { m_uiCurrEffector = m_uiEffector; }
  // Mirrors the image.
  void FlipHorizontal() { m_fScaleX = -m_fScaleX; }
  float& ScaleX() { return m_fScaleX; }
  float& ScaleY() { return m_fScaleY; }
  uint32_t& Style() { return m_uiStyle; }
  // Follows object's frame; null is ignored.
  void SetFocus(BrGameObj* object) {
    if (object) m_pFocus = object;
  }
  BrGameObj* GetFocus() const { return m_pFocus; }
  void SetFreezeHorizontalFacing(bool freeze) { m_bFreezeHorizontal = freeze; }
  bool GetFreezeHorizontalFacing() const { return m_bFreezeHorizontal; }
  uint32_t GetCurrentEffector() const { return m_uiCurrEffector; }
  uint32_t GetFacingEffector() const { return m_uiFacingEffector; }
  uint32_t GetEffector() const { return m_uiEffector; }
  BrVertexBufferBase* GetVertexBuffer() const { return m_pVB; }

  // The world frame the quad is drawn with for a camera frame: scaled, turned (unit right and up vectors) and
  // (unless frozen) mirrored. False, world untouched, when the eye the quad turns to is on the billboard (or
  // straight above or below it): then nothing is drawn.
  bool ComputeFrame(const BrCoords& camera, BrCoords& world);
  // As above; without a facing, a frame of zero axes at the billboard's position.
  BrCoords ComputeFrame(const BrCoords& camera);

protected:
  // The effector registered under name, or a new "Shader3d" copy textured with texture; 0 without a device.
  static uint32_t FindOrCreateEffector(const BrStringT<char>& name, const BrStringT<char>& texture);

  BrVertexBufferBase* m_pVB;
  uint32_t m_uiCurrEffector;
  uint32_t m_uiFacingEffector;
  uint32_t m_uiEffector;
  float m_fScaleX;
  float m_fScaleY;
  uint32_t m_uiStyle;
  BrGameObj* m_pFocus;
  bool m_bFreezeHorizontal;
};
