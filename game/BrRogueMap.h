// BrRogueMap: the game's dungeon map: rooms, caverns and tunnels dug from a seed, then populated by difficulty.
#pragma once

#include <cstdint>

#include "adventure/world/BrRAGMap.h"
#include "templates/TDArray.h"

class BrDemoEntity;
class BrRAGLevelInfo;

// The map class the game application names ("BrRogueMap"). Every new game, level change and loaded game builds
// its level through Init: object configuration, level information, a grid dug from a seed, the player, the
// population, then geometry and collision. All randomness goes through the project's generator, seeded once per
// level, so a level is reproduced from its seed and configuration.
class BrRogueMap : public BrRAGMap {
  BR_DECLARE_CLASS(BrRogueMap)
public:
  // Attempts a placement gets before its tests relax (enemy distance, edge cells) rather than loop for ever.
  static const int ciMaxPlaceAttempts = 4000;
  // Fresh seeds tried when a seed digs nothing at all, before a small fallback room is dug.
  static const int ciMaxEmptySeeds = 16;
  // Most rooms, and most caverns, a level digs: the level information is clamped to it and a save holding more
  // is refused, so that digging and population stay bounded.
  static constexpr unsigned int ciMaxAreaCount = 500;
  // The deepest level a dungeon without any level information goes to.
  static constexpr unsigned int ciMaxLevelWithoutInfo = 1000;
  // The widest grid a level is dug in, cells a side: the most rooms and caverns at the shipped density need 309.
  static constexpr int ciMaxGridSide = 512;

  // 3 rooms, 2 caverns, rooms 6 x 6 varying by 2, caverns of radius 4 varying by 2, density 75.
  BrRogueMap();
  ~BrRogueMap() override;

  // The grid map's stream, then room and cavern counts and sizes and the random pickup list. Loading fails
  // (logged) when either count is above ciMaxAreaCount, or when the level is not one of the dungeon's (HasLevel).
  void Serialize(BrBin& bin) override;
  // Whether some level information of the loaded configuration covers level (any level from 1 to
  // ciMaxLevelWithoutInfo when the configuration has none).
  bool HasLevel(unsigned int level) const;
  // Builds the level at the stored level (1 for a new game): see the class comment. True.
  bool Init() override;
  // Rebuilds the level when a level change is pending, steps the hints, then the objects.
  void Step(float dt) override;
  // Releases the grid, the geometry and the pickup list, then the grid map's Destroy.
  void Destroy() override;
  // The grid map's debug drawing only.
  void DebugDraw(BrRenderBase* render) override;

  // Digs a new grid for the level from the seed. A seed that digs nothing is followed by the next seed.
  void Regenerate(unsigned int seed, unsigned int level) override;
  // Floor and wall triangles of every occupied cell, then the vertex and index buffers.
  void BuildGeometry() override;
  // Side of the square grid that holds the rooms and caverns at the given fill percentage; a density of 0 or
  // less is taken as 75 (logged).
  int CalculateGridSize(float density) override;
  // Marks the cell an exit hole (floor type 7): its floor is not built.
  void SkipFloor(int x, int y) override;
  // Floor effectors, music, counts, density, wall scale and hint from the level information.
  void ProcessLevelInfo(BrRAGLevelInfo* info) override;
  // True when the cell exists and is an exit hole.
  bool IsExitHole(int x, int y) override;
  // Writes the grid as a TGA image into the media folder's Maps folder.
  void ExportTestMap() override;
  // Fills the configuration-file list from [RAG] Configs of the media folder's Config\main.cfg.
  bool LoadConfigList() override;
  // Monsters, widgets and items by difficulty, then every monster re-equips.
  void PopulateMap() override;
  // Spawns the first level information whose level range holds the current level (null when none) and hands
  // it to ProcessLevelInfo.
  virtual BrRAGLevelInfo* GenerateLevelInfo();

  // Plain stores of the digging parameters; Regenerate resets the sizes and variances before it digs.
  void SetRoomCount(unsigned int count) { m_uiRoomCount = count; }
  void SetCavernCount(unsigned int count) { m_uiCavernCount = count; }
  void SetRoomSize(unsigned int width, unsigned int height, unsigned int variance) {
    m_uiRoomWidth = width;
    m_uiRoomHeight = height;
    m_uiRoomVariance = variance;
  }
  void SetCavernSize(unsigned int radius, unsigned int variance) {
    m_uiCavernRadius = radius;
    m_uiCavernVariance = variance;
  }
  // Rooms and caverns to dig, or (after Regenerate) the numbers really dug.
  unsigned int GetRoomCount() const { return m_uiRoomCount; }
  unsigned int GetCavernCount() const { return m_uiCavernCount; }
  // Percentage of the grid that rooms and caverns should fill (not stored with the map).
  float GetDensity() const { return m_fDensity; }
  void SetDensity(float density) { m_fDensity = density; }
  // Tunnels dug by the last Regenerate.
  unsigned int GetTunnelCount() const { return m_uiTunnelsDug; }
  // The seed the last Regenerate dug its grid from (the next seed when the given one dug nothing).
  unsigned int GetLastSeed() const { return m_uiLastSeed; }
  // Object-type indices SpawnRandomPickup draws from.
  TDArray<int32_t>& RandomPickups() { return m_RandomPickups; }

  // Spawns a random pickup of the random pickup list at the position (by rarity); nothing for an empty list.
  void SpawnRandomPickup(const BrVector& position);
  // Timed tutorial hints of the first six levels.
  void StepHints(float dt);

  // TEST SEAM: every later Init digs from this seed instead of the clock, until ClearSeedForTests.
  static void SetSeedForTests(unsigned int seed);
  static void ClearSeedForTests();

protected:
  // Dig the room and cavern counts at random places; after count x 1000 failed attempts the counts become the
  // numbers dug.
  void PlaceRooms();
  void PlaceCaverns();
  // Joins areas with straight tunnels until count are dug or count x 1000 attempts failed.
  void PlaceTunnels(unsigned int count);
  // Digs the cells strictly between the two ends (a column when x1 == x2, else a row).
  void DigTunnel(int x1, int x2, int y1, int y2);
  // Draw a size, then dig when the area and a margin of one cell are free; whether it was dug.
  bool DigRoom(int x, int y);
  bool DigCavern(int x, int y);
  // Every rarity-0 monster once, then count random ones (probability 1 - rarity a draw).
  void GenerateMonsters(int count, TDArray<BrDemoEntity*>* monsters);
  // The indexes of the kinds eligible on this level whose native class passes isBase, in table order.
  void EligibleTypes(bool (*isBase)(const char*), TDArray<int32_t>& candidates);
  // Spawns the kind and places it at a random cell (appended to placed); false when it could
  // not be spawned (logged with the caller's name).
  bool SpawnAndPlace(const _RAGObjSpawnDef& def, const char* caller, TDArray<BrDemoEntity*>* placed);
  // Spawns and places every kind of rarity 0 among the candidates once.
  void SpawnRarityZero(const TDArray<int32_t>& candidates, const char* caller, TDArray<BrDemoEntity*>* placed);
  // Every staircase and chest kind of the level once, away from the edge of the dug area.
  void GenerateWidgets();
  // Every rarity-0 item once, then count random ones (probability rarity a draw); items go to monsters that can
  // carry them.
  void GenerateItems(int count, TDArray<BrDemoEntity*>* items, TDArray<BrDemoEntity*>* monsters);
  // Puts the entity on a random floor point (or cell centre) clear of others; adds it to the map when it has no
  // id. False (logged) only when the grid has no usable floor cell at all.
  bool PlaceEntityAtRandomPos(BrDemoEntity* entity, bool atCellCentre);
  // True when a cell of the 3 x 3 block around the position's cell exists and is not occupied.
  bool IsEdgeCell(const BrVector& position);

private:
  // One dig of the whole grid from the current generator state: rooms, caverns, tunnels. The number of cells
  // marked by the dig. A grid cut to ciMaxGridSide is logged when tell is set.
  int DigGrid(bool tell);
  // The vertices the floors and walls of the dug grid will take.
  int64_t GeometryVertices();
  // Marks one cell dug with the floor type.
  void DigCell(int x, int y, unsigned int floorType);
  // Shared by PlaceRooms and PlaceCaverns.
  void PlaceAreas(unsigned int& count, bool rooms);
  // Digs a small room in the middle of the grid when no seed dug anything.
  void DigFallback();

  uint32_t m_uiRoomCount;
  uint32_t m_uiCavernCount;
  uint32_t m_uiRoomWidth;
  uint32_t m_uiRoomHeight;
  uint32_t m_uiRoomVariance;
  uint32_t m_uiCavernRadius;
  uint32_t m_uiCavernVariance;
  float m_fDensity;
  TDArray<int32_t> m_RandomPickups;
  float m_fHintTimer;
  uint32_t m_uiTunnelsDug;
  uint32_t m_uiLastSeed;
};
