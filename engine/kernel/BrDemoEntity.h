// BrDemoEntity: a placeable game object configured from an object-configuration section, with icon and minimap presence.
#pragma once

#include <cstdint>

#include "engine/kernel/BrBillboard.h"
#include "engine/presentation/BrAudioID.h"

class BrCfgFile;

// Collision bits of an entity.
enum eEntityCollide { eEntityCollideOther = 1, eEntityCollideWorld = 2, eEntityCollideAlways = 4 };

// The base of actors, pickups, level info, hints and the framework's items.
class BrDemoEntity : public BrGameObj {
  BR_DECLARE_CLASS(BrDemoEntity)
public:
  // Length of the buffers text keys are read into, terminator included.
  static const int ciTextLen = 256;
  // Largest draw size a saved game may hold: larger than anything the configurations size (a few hundred units
  // at most), far smaller than a level.
  static constexpr float cfMaxSize = 1.0e4f;

  // Whether a configured draw size (already scaled) is one a saved game can hold; when not, says so in the log
  // naming the section and key, and the caller keeps the size it had.
  static bool SizeInReach(float size, const char* section, const char* key);

  BrDemoEntity();
  // Copies every field (sounds through their own copy).
  BrDemoEntity(const BrDemoEntity& other);
  BrDemoEntity& operator=(const BrDemoEntity& other);
  ~BrDemoEntity() override;

  // The game object part, draw scale, collide flags, a zero word, minimap flags and minimap scale.
  void Serialize(BrBin& bin) override;
  // Leaves the game's minimap when revealed there (entities of the running map only), then the game object's
  // Destroy.
  void Destroy() override;
  // The portrait when visible; registers on the game's minimap; then the game object's Draw.
  void Draw(BrRenderBase* render) override;
  // With the map's collision display on and the player within 500: the collision cylinder.
  void DebugDraw(BrRenderBase* render) override;

  // Takes the section's name and reads the entity's keys; without a file or script daemon only the name.
  virtual void LoadScript(const char* section, BrCfgFile* cfg);
  // Nothing in the base.
  virtual void DisplayMsg(char* text);
  virtual void DisplayMsgf(char* format, ...);
  // A copy of the tooltip.
  virtual BrStringT<char> GetTooltip();

  // Registers the texture as the HUD icon effector "HUDICON_" + name; an empty name does nothing.
  void SetHUDEffector(const BrStringT<char>& texture);
  // Plays the reveal sound, and the first-reveal sound the first time.
  void MiniMapReveal();
  // The two positions, heights ignored, closer than the sum of both draw-scale widths.
  bool IsTouching(BrDemoEntity* other);

  BrBillboard& Portrait() { return m_Portrait; }
  BrBillboard* GetPortrait() { return &m_Portrait; }
  void SetPortrait(const BrBillboard& portrait) { m_Portrait = portrait; }
  BrVector GetDrawScale() const { return m_DrawScale; }
  void SetDrawScale(const BrVector& scale) { m_DrawScale = scale; }
  int GetHUDEffector() const { return int(m_uiHUDEffector); }
  unsigned int GetMinimapIcon() const { return m_uiMinimapIcon; }
  bool GetShowsOnMiniMap() const { return m_bShowsOnMiniMap; }
  bool GetRevealed() const { return m_bRevealed; }
  // Minimap scale times the draw-scale width.
  float GetMiniMapScale() const { return m_fMiniMapScale * m_DrawScale.x; }
  void SetTooltip(const BrStringT<char>& tooltip) { m_Tooltip = tooltip; }
  bool GetVisible() const { return m_bVisible; }
  void SetVisible(bool visible) { m_bVisible = visible; }
  uint32_t GetCollideFlags() const { return m_uiCollideFlags; }
  BrAudioID& FirstRevealSound() { return m_FirstRevealSound; }
  BrAudioID& RevealSound() { return m_RevealSound; }

protected:
  BrBillboard m_Portrait;
  BrVector m_DrawScale;
  uint32_t m_uiHUDEffector;
  uint32_t m_uiMinimapIcon;
  bool m_bShowsOnMiniMap;
  bool m_bRevealed;
  float m_fMiniMapScale;
  BrAudioID m_FirstRevealSound;
  BrAudioID m_RevealSound;
  BrStringT<char> m_Tooltip;
  bool m_bVisible;
  uint32_t m_uiCollideFlags;
};
