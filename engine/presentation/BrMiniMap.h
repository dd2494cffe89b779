// BrMiniMap: the base of the game's map overview, drawn on a dynamic texture, with the list of actors it shows.
#pragma once

#include <cstdint>

#include "core/BrVector.h"
#include "engine/kernel/BrClassFactory.h"
#include "templates/TDArray.h"

class BrRenderBase;

// One actor shown on the minimap: its object id (-1: a free record), its icon effector and its state.
struct BrMiniMapActor {
  int32_t id = -1;
  uint32_t icon = 0;
  int32_t state = 0;  // 1 added, 2 revealed
};

// The framework's minimap fills in drawing, zoom and the conversions; the base keeps the actor list and makes the
// surface.
class BrMiniMap : public BrObject {
  BR_DECLARE_CLASS(BrMiniMap)
public:
  // No texture (-1), effector 0, a 128-texel surface, scale 40, no actors.
  BrMiniMap();
  BrMiniMap(const BrMiniMap& other);
  BrMiniMap& operator=(const BrMiniMap& other);
  ~BrMiniMap() override;

  // The BrObject part only.
  void Serialize(BrBin& bin) override;
  // Empties the actor list; true.
  bool Init() override;
  // Empties the actor list.
  void Destroy() override;

  // Nothing in the base.
  virtual void Draw(BrRenderBase* const render);
  virtual void ZoomIn(float amount);
  virtual void ZoomOut(float amount);
  // Enters the actor with its icon (reusing a free record); an actor already entered is revealed on the map
  // instead (once) and takes the new icon.
  virtual void AddActor(int id, unsigned int icon);
  // Frees the actor's record; the list keeps its length.
  virtual void RemoveActor(int id);
  // False in the base.
  virtual bool IsActorVisible(int id);
  virtual void RefreshMap();
  virtual void GetActiveRegion(BrVector& min, BrVector& max) const;
  virtual void DrawActorList(BrRenderBase* const render, float scale);
  // The argument unchanged in the base.
  virtual float WorldScaleToRenderScale(float scale);
  virtual BrVector WorldPosToRenderPos(const BrVector& position);

  int GetTexture() const { return m_iTexture; }
  int GetEffector() const { return m_iEffector; }
  int GetNumActorRecords() const { return m_Actors.GetCount(); }
  // The record at i; null outside the list.
  const BrMiniMapActor* GetActorRecord(int i) const;

protected:
  // Makes the square dynamic texture and the effector "MiniMapFX" that draws it; false (keeping nothing) when
  // either cannot be made.
  bool CreateSurface(BrRenderBase* const render);

  int32_t m_iTexture;
  int32_t m_iEffector;
  float m_fSurfaceSize;
  float m_fScale;
  TDArray<BrMiniMapActor> m_Actors;
};
