// BrMap: the world of a running game: its object manager, path network, debug switches and world services.
#pragma once

#include <cstdint>

#include "engine/kernel/BrGameObj.h"
#include "engine/kernel/BrObjectMgr.h"
#include "engine/kernel/BrPathNode.h"
#include "templates/TDArray.h"

class BrDemoEntity;
class BrLevelInfo;

// Collision flags of PointCheck.
enum eCollideFlags { eCollideNone = 0, eCollideOther = 1, eCollideWorld = 2, eCollideAlways = 4 };

// The base map steps and draws its objects; concrete maps supply collision, spawning and paths.
class BrMap : public BrGameObj {
  BR_DECLARE_CLASS(BrMap)
public:
  // Most path nodes a saved map may hold room for; a larger header fails the load.
  static const int32_t ciMaxPathNodes = 1 << 20;

  BrMap();
  // Destroy, then the members.
  ~BrMap() override;

  // The game object part, path nodes, timing flag, the object manager's stream, then the two debug flags. A
  // loaded path-node header claiming more than ciMaxPathNodes fails the archive.
  void Serialize(BrBin& bin) override;
  // The game object's Init, then Destroy and the manager's Init: an empty map; true.
  bool Init() override;
  // Steps every valid object by id; objects added during the pass wait for the next one.
  void Step(float dt) override;
  // Every object destroyed and deleted (the game object's own Destroy is not run).
  void Destroy() override;
  // DrawObjects, then the game object's Draw.
  void Draw(BrRenderBase* render) override;
  // Nothing.
  void PerfDraw(BrRenderBase* render) override;

  // Nothing in the base.
  virtual void Reset();
  // Destroys the objects that are not persistent and collects them.
  virtual void Unload();
  // False in the base.
  virtual bool CellTrace(const BrVector* from, const BrVector* to);
  // False in the base.
  virtual bool PointCheck(const BrVector& point, float radius, eCollideFlags flags, BrDemoEntity* entity);
  // hit = end; with flag bit 0 or 1 the trace repeats until depth reaches 10.
  virtual void Trace(const BrVector& start, const BrVector& end, float radius, unsigned int flags, BrVector& hit,
                     int& depth, BrDemoEntity* entity);
  // Draws every valid object; nothing without a device.
  virtual void DrawObjects(BrRenderBase* render);
  // Null in the base: the factory is used instead.
  virtual BrDemoEntity* SpawnScripted(const BrStringT<char>& name);
  virtual BrGameObj* SpawnMutator(const BrStringT<char>& name, BrStringT<char>& prefix);
  // Nothing in the base.
  virtual void RevealAllToMiniMap();

  // The manager's AddObject: the new id, -1 for null.
  int AddObject(BrGameObj* object) { return m_ObjectMgr.AddObject(object); }
  // The object of the id, or the null object.
  BrGameObj* GetObjectA(int id) { return m_ObjectMgr.GetObjectA(id); }
  // Ids issued so far.
  int NumObjects() const { return m_ObjectMgr.GetNumObjects(); }
  // The level-info object with the lowest id; null when there is none.
  BrLevelInfo* GetLevelInfo();
  // Inverts the timing flag and returns it.
  bool ToggleTimingInfo();
  // "Grid" or "Collision" (exact case) inverts that flag; other names do nothing.
  void ToggleDebugInfo(const BrStringT<char>& name);
  bool IsDebugInfoOn(const BrStringT<char>& name) const;
  TDArray<BrPathNode>& PathNodes() { return m_PathNodes; }
  BrObjectMgr& ObjectMgr() { return m_ObjectMgr; }

protected:
  // Links every node to each node it can see; false when some node got no link.
  virtual bool BuildPaths();
  // Loading: false (the archive failed, logged) when the path-node array's header claims more than
  // ciMaxPathNodes; the archive is left where it was.
  bool PathHeaderFits(BrBin& bin);
  // Drops the excluded nodes, sets the height of the rest to 32 and logs the count.
  virtual void ValidatePaths();

  TDArray<BrPathNode> m_PathNodes;
  bool m_bTimingInfo;
  BrObjectMgr m_ObjectMgr;
  bool m_bGridDebug;
  bool m_bCollisionDebug;
};

// While alive, ids resolve through the given map (its loading and teardown); the previous map is restored after.
class BrWorldMapScope {
public:
  explicit BrWorldMapScope(BrMap* map) : m_pPrevious(BrGameObj::ScopeWorldMap(map)) {}
  ~BrWorldMapScope() { BrGameObj::ScopeWorldMap(m_pPrevious); }
  BrWorldMapScope(const BrWorldMapScope&) = delete;
  BrWorldMapScope& operator=(const BrWorldMapScope&) = delete;

private:
  BrMap* m_pPrevious;
};
