// BrRAGMap: the adventure framework's grid map: cells, level change, geometry, collision, sight, paths and spawning.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "adventure/world/BrRAGCell.h"
#include "adventure/world/BrRAGObjConfig.h"
#include "engine/kernel/BrClassFactory.h"
#include "engine/kernel/BrMap.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrCfgFile;
class BrIndexBufferBase;
class BrRAGLevelInfo;
class BrRenderBase;
class BrVertexBufferBase;

// The world of the framework's games: a width x height grid of square cells (column x, row y, index
// y * width + x) on the horizontal plane, with the grid's centre cell (width/2, height/2) starting at the world
// origin. A game content's map derives from it, builds the grid in Regenerate and fills the hooks.
class BrRAGMap : public BrMap {
  BR_DECLARE_CLASS(BrRAGMap)
public:
  // Grid scale used when the map is made, in world units per cell side.
  static const float cfDefaultGridScale;
  // Wall height used when the map is made, in cells.
  static const float cfDefaultWallHeight;
  // Most indices the map's index buffer holds (the game creates one of this size); Draw never copies more at once.
  static constexpr int ciIndexBufferSize = 10800;
  // Most vertices 16-bit indices can address; a level that would need more is refused.
  static constexpr int ciMaxVertices = 65536;
  // Bounds of what a saved map may hold: floor types drawn, configuration files named, grid scale.
  static constexpr int ciMaxFloorTypes = 255;
  static constexpr int ciMaxConfigFiles = 256;
  static constexpr float cfMaxGridScale = 1.0e4f;
  // Draws of CellRandom before it falls back to scanning the grid.
  static constexpr int ciMaxRandomDraws = 10000;
  // Passes of Trace after the first.
  static constexpr int ciMaxTraceDepth = 10;

  // While one is alive, SpawnScripted reads the configuration files through handles opened once, instead of
  // opening each file again for every object: for building or loading a whole level, during which nothing
  // writes those files. Nests; the handles close when the outermost one ends.
  class ConfigFilesHeld {
  public:
    explicit ConfigFilesHeld(BrRAGMap& map);
    ~ConfigFilesHeld();
    ConfigFilesHeld(const ConfigFilesHeld&) = delete;
    ConfigFilesHeld& operator=(const ConfigFilesHeld&) = delete;

  private:
    BrRAGMap& m_Map;
  };

  // A 0 x 0 grid of scale 128, level 1, wall height 1.5, no geometry.
  BrRAGMap();
  // Every field memberwise, arrays element by element; the copy shares no buffers (it has none).
  BrRAGMap(const BrRAGMap& other);
  BrRAGMap& operator=(const BrRAGMap& other);
  // Destroy, then the grid, the geometry and the lists.
  ~BrRAGMap() override;

  // ---- Replaced operations of the engine map ----
  // The base map's stream, then the grid map's fields (cells as bare objects; see the .cpp for the order).
  void Serialize(BrBin& bin) override;
  // Fill column 0, no level change pending, not explored, level 1; LoadConfigList, which must give true; then
  // the base map's Init.
  bool Init() override;
  // Empties the configuration files and floor effectors, then the base map's Destroy.
  void Destroy() override;
  // With a player: marks what it sees, then draws the visible cells' triangles by floor type; then the base's Draw.
  void Draw(BrRenderBase* render) override;
  // The game object's debug drawing (the base map's is passed over).
  void DebugDraw(BrRenderBase* render) override;
  // Line of sight on the grid (Bresenham from cell to cell); false when either point is off the grid.
  bool CellTrace(const BrVector* from, const BrVector* to) override;
  // True when a sphere at point is free of solid cells (flags 2 or 4) and of colliding entities (flags 1 or 4).
  bool PointCheck(const BrVector& point, float radius, eCollideFlags flags, BrDemoEntity* ignore) override;
  // The swept query: hit receives to moved off the collision walls it grazes, keeping the move's length; depth
  // counts the passes after the first (at most ciMaxTraceDepth). Only flag bit 1 (CollideWorld) tests walls.
  void Trace(const BrVector& from, const BrVector& to, float radius, unsigned int flags, BrVector& hit, int& depth,
             BrDemoEntity* ignore) override;
  // Draws the valid objects drawn by the map whose cell is visible (and that the player can see).
  void DrawObjects(BrRenderBase* render) override;
  // An entity of a configured kind, configured from its section; null (logged) when it cannot be made. The
  // caller adds it to the map.
  BrDemoEntity* SpawnScripted(const BrStringT<char>& type) override;
  // A mutator from "Name" or "Name(args)" (a leading "MUT" is accepted): the class "MUT" + Name; args without a
  // trailing ")" go to params, which is left alone without brackets. Null when no such class is registered.
  BrGameObj* SpawnMutator(const BrStringT<char>& command, BrStringT<char>& params) override;
  // Once per level: tells the player, marks every cell explored and shows the mapped entities on the minimap.
  void RevealAllToMiniMap() override;

  // ---- Operations the grid map adds (in slot order); hooks are for the game content ----
  // Counts the occupied cells, resets the explored count and flag, empties the skipped floor cells. A generator
  // builds its grid first and calls this last.
  virtual void Regenerate(unsigned int seed, unsigned int level);
  // Hook: does nothing.
  virtual void BuildGeometry();
  // The floors (unless skipped) and walls of every occupied cell. A level whose geometry would not fit 16-bit
  // indices is refused whole: logged, nothing of it kept, false.
  bool BuildCellGeometry();
  // Releases and deletes the vertex and index buffers, empties the vertex and index lists, highest floor type 0.
  virtual void DestroyGeometry();
  // (x2 - x1)^2 + (y2 - y1)^2.
  virtual float SqDistBetweenCells(int x1, int y1, int x2, int y2);
  // A random occupied cell: bounded random draws, then a scan; false (x = y = -1, logged) on a grid without one.
  virtual bool CellRandom(int& x, int& y);
  // The cell's centre into *out; false (out untouched) off the grid, otherwise whether the cell is occupied.
  virtual bool CellCentre(int x, int y, BrVector* out);
  // As CellCentre, with a random point of the cell (x drawn before z).
  virtual bool RandomPointInCell(int x, int y, BrVector* out);
  // The cell under a world position, or null.
  virtual BrRAGCell* GetCell(const BrVector* position);
  // The cell at (x, y), or null off the grid (negative coordinates included).
  virtual BrRAGCell* GetCell(int x, int y);
  // With a position, writes its cell's coordinates into x and y (negative left of or above the grid); without,
  // uses x and y as given. The cell, or null.
  virtual BrRAGCell* GetCell(int& x, int& y, const BrVector* position);
  // y * width + x, or -1 (debug line) for coordinates off the grid, negative ones included.
  virtual int GetCellIndex(int x, int y);
  // The column and row of an index; -1, -1 outside the grid.
  virtual void GetCoordsByIndex(int index, int& x, int& y);
  // The cell of an index, or null (debug line) outside the grid.
  virtual BrRAGCell* GetCellByIndex(int index);
  // Keeps the largest 4-connected region of cells whose flags were set above any label; clears every flags value.
  virtual void RemoveIsolatedAreas();
  // Hook: 0.
  virtual int CalculateGridSize(float density);
  // Starts a level change to level: the world-complete dialog at the first level of a world, otherwise the
  // interlude state (see the .cpp).
  virtual void SetLevel(unsigned int level);
  // Clears the game's minimap and marks a level change pending.
  virtual void ResetLevel();
  // Marks the cell's floor as not to be built.
  virtual void SkipFloor(int x, int y);
  // Whether the cell's index was passed to SkipFloor.
  virtual bool ShouldSkipFloor(int x, int y);
  // The native class of a kind into base; false when the table is empty.
  virtual bool GetNativeBaseFor(char* type, BrStringT<char>& base);
  // Hook: empties the floor effectors.
  virtual void ProcessLevelInfo(BrRAGLevelInfo* info);
  // Hook: false.
  virtual bool IsExitHole(int x, int y);
  // Hook: does nothing.
  virtual void ExportTestMap();
  // Hook: false. A game fills the configuration-file list here; without it Init fails.
  virtual bool LoadConfigList();
  // Writes the grid as a 24-bit TGA image, one pixel a cell coloured by floor type; a floor type above 9 (or a
  // failed write) is logged and writes no file.
  virtual void ExportGridToTGA(char* file);
  // The cell's floor quad; the number of triangles added (0 off the grid or past the vertex limit).
  virtual unsigned int AddFloorTris(int x, int y);
  // Wall quads on each side facing the edge or a solid cell; the number of triangles added.
  virtual unsigned int AddWallTris(int x, int y);
  // Raises the highest floor type to that of any triangle of any cell.
  virtual void CalculateMaxFloorType();
  // Hook: does nothing.
  virtual void PopulateMap();
  // Outlines every occupied cell, or every visible occupied cell, with lines.
  virtual void DrawAllCellsWireframe(BrRenderBase* render);
  virtual void DrawVisibleCellsWireframe(BrRenderBase* render);
  // One wall quad on the given side of a cell inside the grid (nothing off the grid or past the vertex limit).
  virtual void AddWallSection(unsigned int x, unsigned int y, eWallSectionType side);

  // The level information of a generated level; null here (the game content's map makes it virtual).
  BrRAGLevelInfo* GenerateLevelInfo();

  // ---- Plain members ----
  int GridWidth() const { return m_iWidth; }
  int GridHeight() const { return m_iHeight; }
  // World units per cell side, writable.
  float& GridScale() { return m_fGridScale; }
  unsigned int GetLevel() const { return m_uiLevel; }
  // A level change is pending (the game content's map rebuilds itself and clears it).
  bool IsChangingLevel() const { return m_bChangingLevel; }
  // Every occupied cell has been seen.
  bool GetExplored() const { return m_bExplored; }
  BrRAGObjConfig& GetObjCfg() { return m_ObjCfg; }
  // Wall height in world units: wall height in cells times the grid scale.
  float GetWallHeight() const { return m_fWallHeight * m_fGridScale; }
  // Sets the wall height in cells (the game content takes it from the level information).
  void SetWallScale(float cells) { m_fWallHeight = cells; }
  // The lower corner of a cell, at height 0.
  BrVector GetCellTopLeft(int x, int y) const;
  // A grid of w x h clear cells (negative sizes give an empty grid, logged).
  void InitGrid(int w, int h);
  // Clears every cell.
  void ZeroGrid();
  // Clears and drops every cell; 0 x 0.
  void DestroyGrid();
  // Crops the grid to the bounding box of its occupied cells, each side rounded up to an even count. A grid
  // without an occupied cell is left as it is, with a log line.
  void ShrinkToFit();
  // The base map's AddObject, after a floor widget has its cell's floor skipped; -1 (logged) for null.
  int AddObject(BrGameObj* object);
  // Calls LoadConfigList, then reads every listed file into the object-type table; the number of kinds (0, with a
  // debug line, without files).
  int LoadObjectConfig();
  // Appends an effector index for the next floor type.
  void AddFloorEffector(unsigned int effector);
  // Flips the debug switches that draw every object, or every occupied cell.
  void ToggleRenderAllObjects() { m_bRenderAllObjects = !m_bRenderAllObjects; }
  void ToggleRenderAllGeometry() { m_bRenderAllGeometry = !m_bRenderAllGeometry; }
  // Marks the cells that cell (x, y) sees within radius visible (and explored).
  void CalcVisibleCells(int x, int y, float radius);
  // Marks the cells on the grid line between two points visible and explored.
  void FlagCellTraceAsVisible(BrVector* from, BrVector* to);
  // The cells of two points, each pair widened outwards by trunc(radius / scale + 0.49999) + 1 cells.
  void GetTraceBounds(int& x1, int& y1, int& x2, int& y2, float radius, const BrVector& from, const BrVector& to);
  // Fills the 4-connected run of cells whose flags equal oldFlags with newFlags (an explicit stack, scanline
  // order), counting the cells changed.
  void FloodFill(int x, int y, int oldFlags, int newFlags, int& count);
  // For a cell inside the border: min <= occupied cells of its 3 x 3 block <= max (0 on the border).
  bool CellIsAdjacentTo(int x, int y, int min, int max);
  // The configuration files the game lists (filled by LoadConfigList).
  TDArray<BrStringT<char>>& ConfigFiles() { return m_ConfigFiles; }
  // Indices of the cells visible this frame.
  const TDArray<int32_t>& VisibleCells() const { return m_VisibleCells; }
  int GetOccupiedCount() const { return m_iOccupiedCount; }
  int GetExploredCount() const { return m_iExploredCount; }
  int GetMaxFloorType() const { return m_iMaxFloorType; }

protected:
  // Why the fields just read from a save cannot be a map's (null when they can).
  const char* LoadedFieldsFault() const;
  // Builds the collision walls of every occupied cell's open sides. Walls are rebuilt, never doubled.
  void BuildCollisionSet();
  // Snaps each path node to its cell's centre at height 32, then the base map's linking.
  bool BuildPaths() override;
  // Counts a cell seen for the first time; tells the player once when the whole level has been seen.
  void MarkSeen(BrRAGCell* cell);
  // Unflags the cells of the visible list and empties it.
  void ClearVisibleCells();
  // CalcVisibleCells and the floor index lists, unless nothing they depend on moved since the last time: the
  // seeing cell, the radius, the draw-everything switch, the grid and the shape of any cell.
  void UpdateVisibleCells(int x, int y, float radius);
  // Appends a vertex of the map's geometry.
  void AddVertex(float x, float y, float z, float u, float v);
  // Whether n more vertices keep every index within 16 bits (noting it when not).
  bool VerticesFit(int n);

  BrRAGObjConfig m_ObjCfg;
  TDArray<BrRAGCell> m_Cells;
  int32_t m_iWidth;
  int32_t m_iHeight;
  float m_fGridScale;
  BrVertexBufferBase* m_pVB;
  BrIndexBufferBase* m_pIB;
  TDArray<uint32_t> m_FloorEffectors;
  TDArray<uint16_t> m_Indices;
  TDArray<int32_t> m_VisibleCells;
  TDArray<BrRAGVertex> m_Vertices;
  int32_t m_iMaxFloorType;
  uint32_t m_uiLevel;
  bool m_bChangingLevel;
  TDArray<int32_t> m_SkipFloorCells;
  TDArray<BrStringT<char>> m_ConfigFiles;
  int32_t m_iFillColumn;
  float m_fWallHeight;
  int32_t m_iOccupiedCount;
  int32_t m_iExploredCount;
  bool m_bRenderAllObjects;
  bool m_bRenderAllGeometry;
  bool m_bExplored;
  // The vertex limit was met while building this level's geometry.
  bool m_bVertexLimitMet;
  // What UpdateVisibleCells last computed from, and the floor index lists it built (one per floor type).
  struct VisibleKey {
    bool valid = false;
    int x = 0;
    int y = 0;
    int reach = 0;  // the radius in whole cells, as CalcVisibleCells rounds it (-1 for none)
    bool all = false;
    int cells = 0;
    int width = 0;
    float scale = 0.0f;
    uint32_t shape = 0;
    bool operator==(const VisibleKey& o) const {
      return valid && o.valid && x == o.x && y == o.y && reach == o.reach && all == o.all && cells == o.cells &&
             width == o.width && scale == o.scale && shape == o.shape;
    }
  };
  VisibleKey m_VisibleKey;
  std::vector<std::vector<uint16_t>> m_FloorIndices;

private:
  // A configuration file opened for SpawnScripted while ConfigFilesHeld is alive; file is null when the path
  // could not be opened.
  struct HeldConfig {
    BrStringT<char> path;
    std::unique_ptr<BrCfgFile> file;
  };
  // The open configuration file of path: a held one, or file opened now.
  BrCfgFile* ConfigFileFor(const BrStringT<char>& path, BrCfgFile& file);

  // Live ConfigFilesHeld scopes, and the files opened under them. Never copied: they belong to a scope.
  int m_iConfigHolds = 0;
  std::vector<HeldConfig> m_HeldConfigs;
  // Kinds a spawn asked for that no configuration file holds, each logged once since the kinds were last read.
  std::vector<std::string> m_UnknownKinds;
};
