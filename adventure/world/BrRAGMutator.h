// BrRAGMutator: the base of timed effects attached to an actor by id (poison, healing, speed and the like).
#pragma once

#include <cstdint>

#include "engine/kernel/BrGameObj.h"
#include "templates/TDArray.h"

class BrBillboard;
class BrRAGActor;
class BrRAGDamage;

// A game object of its own, attached to one actor by ids both ways: it holds its actor's id, the actor holds its
// id. It counts its duration down and removes itself when the time is up; subclasses change damage, refuse other
// mutators and read their arguments. Its name is NameFor(its command).
class BrRAGMutator : public BrGameObj {
  BR_DECLARE_CLASS(BrRAGMutator)
public:
  // Duration 10 s, not attached, no params, no icon yet, not public.
  BrRAGMutator();
  BrRAGMutator(const BrRAGMutator& other);
  BrRAGMutator& operator=(const BrRAGMutator& other);
  ~BrRAGMutator() override;

  // After the game object's form: duration, mutated id, spawn params.
  void Serialize(BrBin& bin) override;
  // A duration above 0 falls by dt; reaching 0 or less removes the mutator. -1 (permanent) and 0 never expire.
  void Step(float dt) override;
  // Empties the spawn params, then the game object's Destroy.
  void Destroy() override;

  // Attaches to actor (leaving a valid actor it was on first): the actor lists it and owns it. True when it
  // stays; a subclass that refuses returns false and the caller destroys it.
  virtual bool Apply(BrRAGActor* actor);
  // Detaches from its actor (which forgets its id), then destroys itself.
  virtual void Remove();
  // Each hit its actor takes, before it is applied; nothing here.
  virtual void OwnerTakeDMG(BrRAGDamage& damage);
  // When its actor builds the damage of an attack; nothing here.
  virtual void OwnerAttacks(BrRAGActor* target, bool touchAttack, BrRAGDamage& damage);
  // Asked before another mutator is applied to its actor; true here.
  virtual bool CanApplyOther(const BrStringT<char>& command);
  // Its icon "Textures\\icons\\mutators\\" + name + ".tga" as a sprite, then the seconds left.
  virtual void DrawIcon(BrRenderBase* render, float x, float y, float width, float height);
  // Only for a public mutator: draws its icon on billboard above its actor; returns the public flag.
  virtual bool DrawBillboard(BrRenderBase* render, BrBillboard& billboard, const BrVector& position, float scale);

  // Seconds left; -1 for a permanent mutator.
  float GetDuration() const { return m_fDuration; }
  // Returns the new duration.
  float SetDuration(float duration) { return m_fDuration = duration; }
  // The actor of the mutated id, resolved now; null when the id names nothing valid or no BrRAGActor.
  BrRAGActor* GetMutated();
  // Attaches to the actor of id (-1 for none) without telling it.
  void SetMutated(int id);
  // The id of the actor it is attached to, -1 for none.
  int GetMutatedID() const { return m_iMutatedID; }
  // A public mutator also shows above its actor.
  bool IsPublic() const { return m_bPublic; }
  // Splits the arguments at every ',' (kept in order, untrimmed) into the spawn params, then ParseSpawnParams.
  void ParseCmdLine(BrStringT<char>& arguments);
  // The name a command gives: "MUT" + the command, or the command itself when it already begins with "MUT"
  // (commands are written both ways, "Poison(2)" and "MUTPoison(2)").
  static BrStringT<char> NameFor(const BrStringT<char>& command);
  // The arguments of its command.
  int GetNumSpawnParams() const { return m_SpawnParams.GetCount(); }
  // A copy of param i; empty outside the list.
  BrStringT<char> GetSpawnParam(int i) const;

protected:
  // Turns the spawn params into the subclass's settings; nothing here.
  virtual void ParseSpawnParams();
  // The whole seconds left, one font size up, when above 0.
  virtual void DrawDuration(BrRenderBase* render, float x, float y);
  // The duration truncated to whole seconds.
  virtual int GetDurationSECs();

  void ClearSpawnParams();

  float m_fDuration;
  int32_t m_iMutatedID;
  TDArray<BrStringT<char>> m_SpawnParams;
  // Effector of the icon: -1 not tried yet, 0 failed to load (not retried), above 0 loaded.
  int32_t m_iIconEffector;
  bool m_bPublic;
  // For the game's mutators: a mutator that has acted (cleared by construction) and the seconds since its last
  // tick. Neither is stored.
  bool m_bTriggered;
  float m_fTickTimer;
};
