// BrRAGMiniMap: the game's minimap: the grid around the player rendered into a texture, actor icons, frame and level.
#pragma once

#include <cstdint>
#include <vector>

#include "core/BrARGB.h"
#include "core/BrVector.h"
#include "engine/presentation/BrMiniMap.h"

class BrRenderBase;

// A square in the top right corner, rotated with the camera. The cell resolution is how many grid cells it spans
// from side to side; zooming changes it between the minimum and twice the larger grid side.
class BrRAGMiniMap : public BrMiniMap {
  BR_DECLARE_CLASS(BrRAGMiniMap)
public:
  // Cell resolution 18, minimum 15, no explored icon; then Init.
  BrRAGMiniMap();
  BrRAGMiniMap(const BrRAGMiniMap& other);
  BrRAGMiniMap& operator=(const BrRAGMiniMap& other);
  ~BrRAGMiniMap() override;

  // The base's form only.
  void Serialize(BrBin& bin) override;
  // The base's Init, no explored icon, and the frame tint from the player's HUD colour when there is a player.
  bool Init() override;
  // The map (rotated with the camera), the actor icons, the frame, the level number, the explored icon and the
  // "Level" tooltip, for one frame.
  void Draw(BrRenderBase* const render) override;
  // The map texture refreshed and drawn rotated for the view direction dir, then the actor icons.
  virtual void Draw(BrRenderBase* const render, const BrVector& dir);
  // Fewer / more cells across (amount x the zoom rate), kept between the minimum and GetMaxCellResolution().
  void ZoomIn(float amount) override;
  void ZoomOut(float amount) override;
  // The player can see the object; false without an application or player.
  bool IsActorVisible(int id) override;
  // Renders the grid cells of the active region into the dynamic texture (nothing without one), when what the
  // texture would show differs from what it shows: the cells under its texels (the player's place, the zoom) or
  // the state of one of them (a cell explored, seen or left from view). The map shows inside a disc, so that
  // turned with the camera it stays inside the frame.
  void RefreshMap() override;
  // The square of the active region around the player; both corners untouched without a player.
  void GetActiveRegion(BrVector& min, BrVector& max) const override;
  // The icons of the listed actors whose footprint touches the active region.
  void DrawActorList(BrRenderBase* const render, float rotation) override;
  // World size to screen fraction: the active region's width maps to 0.2 of the screen.
  float WorldScaleToRenderScale(float scale) override;
  // World point to its screen point on the minimap (before the aspect correction), rotated with the camera.
  BrVector WorldPosToRenderPos(const BrVector& position) override;

  // Twice the larger grid side of the application's map; 0 without a grid map.
  float GetMaxCellResolution() const;
  // Degrees from +z to dir about the vertical: 0 along +z, 270 along +x.
  float GetCurrentRotation(const BrVector& dir) const;

  float GetCellResolution() const { return mfCellResolution; }
  float GetMinCellResolution() const { return mfMinCellResolution; }

  // The frame's effector, loaded by the first Draw of any minimap; 0 until then.
  static int miFrameFX;
  // The frame's tint: white until a minimap's Init takes the player's HUD colour.
  static BrARGB mCellColour;
  // The surface (dynamic texture handle, -1 for none, and its effector, 0 for none) that every minimap of the
  // run draws into: a new minimap for a new map takes it over instead of making another.
  static int miSharedTexture;
  static int miSharedEffector;

protected:
  // The camera's forward axis flattened to the ground and normalised; +z without an application.
  BrVector GetViewDir() const;
  // Gives the minimap a live texture in its effector again: the run's shared surface when it is still alive,
  // otherwise a new texture in the existing effector, or a new surface only when there is no effector yet.
  void RebuildSurface(BrRenderBase* const render);

  float mfCellResolution;
  float mfMinCellResolution;
  int32_t miExploredIconFX;

private:
  // What the texture shows: the map, the grid cell of each texel column and row, and the state of every cell
  // they meet. Equal keys draw equal textures.
  struct Shown {
    const void* map = nullptr;
    int width = 0, height = 0, columnRow = 0;
    std::vector<int> columns, rows;
    std::vector<uint8_t> states;
    bool operator==(const Shown& o) const {
      return map == o.map && width == o.width && height == o.height && columnRow == o.columnRow &&
             columns == o.columns && rows == o.rows && states == o.states;
    }
  };
  // What the shown key was worked out from: while none of it moves, neither can the key, and the frame need not
  // look a cell up at all.
  struct Source {
    const void* map = nullptr;
    const void* cells = nullptr;
    float minX = 0.0f, minZ = 0.0f, maxX = 0.0f, maxZ = 0.0f, scale = 0.0f;
    int size = 0, width = 0, height = 0;
    uint32_t look = 0;
    bool operator==(const Source& o) const {
      return map == o.map && cells == o.cells && minX == o.minX && minZ == o.minZ && maxX == o.maxX && maxZ == o.maxZ &&
             scale == o.scale && size == o.size && width == o.width && height == o.height && look == o.look;
    }
  };
  Source mShownSource;
  Shown mShown;
  // The key worked out this frame; kept between frames so that its arrays keep their room.
  Shown mNext;
  bool mbShownValid = false;
  // The minimap that last wrote the run's shared surface.
  static const BrRAGMiniMap* spShownBy;
};
