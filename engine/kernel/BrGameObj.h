// BrGameObj: the base of everything in the world: id, owner and children by id, frame, text, HUD and flags.
#pragma once

#include <cstdint>

#include "core/BrCoords.h"
#include "core/BrVector.h"
#include "engine/kernel/BrStateMachine.h"
#include "templates/TDLinkedList.h"

class BrHUD;
class BrMap;
class BrRenderBase;

// A game object. The map's object manager owns it and gives it its id; objects refer to one another only by id,
// resolved through the application's map on every use.
class BrGameObj : public BrStateMachine {
  BR_DECLARE_CLASS(BrGameObj)
public:
  // Identity frame at the origin, text "Unknown", id -1, drawn by the map, not persistent, no owner.
  BrGameObj();
  BrGameObj(const BrGameObj& other);
  BrGameObj& operator=(const BrGameObj& other);
  // Runs BrGameObj's own Destroy (links already cut by an earlier Destroy make it a no-op).
  ~BrGameObj() override;

  // The state machine part, frame, text, id, flags, owner, HUD class name, draw offset, physics, children.
  void Serialize(BrBin& bin) override;
  // The state machine's Init, CreateHUD, physics off; true.
  bool Init() override;
  // DoPhysics when physics is on, then the state machine's Step.
  void Step(float dt) override;
  // Tells the owner and every child, clears the children, then marks the object destroyed.
  void Destroy() override;
  // The state machine's Draw, then DebugDraw and PerfDraw.
  void Draw(BrRenderBase* render) override;

  // Runs once the object has its id; nothing in the base.
  virtual void PostInit();
  // Moves the object to a new owner (-1 for none); false, nothing changed, without an application or map.
  virtual bool SetOwner(int newOwner);
  // Turns the frame to face target's position.
  virtual void LookAt(BrGameObj* target);
  // Turns the frame to face point; the position is kept, and a point at the position keeps the orientation.
  virtual void LookAt(BrVector* point);
  virtual void DebugDraw(BrRenderBase* render);
  virtual void PerfDraw(BrRenderBase* render);
  // Turns about the right, up and facing axes, in degrees; every 50th call of each re-orthogonalises first.
  virtual void PitchBy(float degrees);
  virtual void YawBy(float degrees);
  virtual void RollBy(float degrees);
  // Deepest chain of owners that IsPersistent follows; a longer one is taken for a loop.
  static const int ciMaxOwnerDepth = 256;

  // Its own flag, else its owner's persistence (through any depth up to ciMaxOwnerDepth); false on an
  // ownership cycle.
  virtual bool IsPersistent();
  // The object's frame.
  virtual BrCoords& GetCoords();
  virtual BrStringT<char> GetText() const;
  // Spawns the HUD class and hands it to the widget manager; false with no class name or a failed spawn.
  virtual bool CreateHUD();

  // The frame's position.
  BrVector& Location() { return GetCoords().Position; }
  BrVector Location() const { return m_Coords.Position; }
  void SetText(const BrStringT<char>& text) { m_Text = text; }
  int SetID(int id) { return m_iID = id; }
  int GetID() const { return m_iID; }
  int GetOwner() const { return m_iOwner; }
  bool GetDrawnByMap() const { return m_bDrawnByMap; }
  void SetDrawnByMap(bool drawn) { m_bDrawnByMap = drawn; }
  void SetPersistent(bool persistent) { m_bPersistent = persistent; }
  BrHUD* GetHUD() const { return m_pHUD; }
  const BrVector& GetDrawOffset() const { return m_DrawOffset; }
  void SetDrawOffset(const BrVector& offset) { m_DrawOffset = offset; }
  bool GetPhysics() const { return m_bPhysics; }
  void SetPhysics(bool physics) { m_bPhysics = physics; }
  int GetNumChildren() const { return m_Children.GetCount(); }
  // The id of child i in the order added; -1 outside the list.
  int GetChild(int i) const;

  // The map that ids resolve through: the application's map, or the map that is loading or tearing down its
  // objects. Null without either.
  static BrMap* WorldMap();

  // Makes map the one ids resolve through until the returned previous value is put back; the map uses it
  // while it loads or destroys its own objects, so that their links never reach another map.
  static BrMap* ScopeWorldMap(BrMap* map);

protected:
  // Nothing in the base.
  virtual void DoPhysics(float dt);
  bool HasChild(int id) const;

private:
  // Appends id unless it is negative, already held, or not an id the map has issued.
  virtual void AddChild(int id);
  // Forgets the owner when id is it; otherwise logs the mismatch.
  virtual void LostOwner(int id);
  // Removes the first occurrence of id.
  virtual void LostChild(int id);

protected:
  BrCoords m_Coords;
  BrStringT<char> m_Text;
  int32_t m_iID;
  bool m_bDrawnByMap;
  bool m_bPersistent;
  int32_t m_iOwner;
  TDLinkedList<int32_t> m_Children;
  BrHUD* m_pHUD;
  BrStringT<char> m_HUDClass;
  BrVector m_DrawOffset;
  bool m_bPhysics;
};
