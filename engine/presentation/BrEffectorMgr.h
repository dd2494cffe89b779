// BrEffectorMgr: the cache of effectors by name and index; the rendering device derives its manager from it.
#pragma once

#include <cstdint>

#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrRenderTypes.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"
#include "templates/TDLinkedList.h"
#include "templates/THashTable.h"

// One entry of the name table: a name and the index it was registered under.
struct BrEffectorName {
  BrStringT<char> name;
  int32_t index = 0;
};

// Effectors are kept by index (the position in the list; a destroyed slot holds null) and found by name
// through a table of 97 buckets. Index 0 stands for "none" in every lookup by name. The manager owns every
// registered effector until it is destroyed.
class BrEffectorMgr {
public:
  BrEffectorMgr() {}
  // Not copied: the registered effectors are owned and deleted with the manager.
  BrEffectorMgr(const BrEffectorMgr&) = delete;
  BrEffectorMgr& operator=(const BrEffectorMgr&) = delete;
  // Logs the cache (debug) and destroys every effector, then the table and the list.
  virtual ~BrEffectorMgr();

  // Registers the effector under the name, takes ownership and returns its index.
  virtual int AddEffector(BrStringT<char>& name, BrEffector* effector) = 0;
  // Builds an effector from a script text; the index, or -1 when the device does not build scripts.
  virtual int AddEffector(BrStringT<char>& name, const BrStringT<char>& script, eFXRep representation) = 0;
  // A new, unregistered copy of the effector registered under the name (the caller owns it); null when none
  // can be made.
  virtual BrEffector* CreateEffector(const BrStringT<char>& name) = 0;
  // A new empty effector.
  virtual BrEffector* CreateEffector() = 0;

  // The index registered under the name (the first entry of its bucket with exactly that name); 0 for an
  // empty name or a name not registered.
  unsigned int GetEffector(const BrStringT<char>& name);
  // The list slot of the index; null for an index outside the list. A slot holds null for a destroyed
  // effector, so callers test both: slot && *slot.
  BrEffector** GetEffector(unsigned int index);
  // The number of list slots.
  unsigned int Num() const { return (unsigned int)m_Effectors.GetCount(); }

  // The effector of the name; when there is none, a copy of "Shader2d" whose pass 0 shows the image (flags
  // exactly 4) registered under the name. 0 when the image does not load or the copy has no pass 0.
  int LoadIconA(const BrStringT<char>& file, const BrStringT<char>& name);
  // The block of one shader cut from the shader-script files; empty when the name names no script or no
  // block of it is found.
  BrStringT<char> GetShaderScript(const BrStringT<char>& name);

protected:
  // Deletes the effector when present and nulls its slot; an index outside the list, or a slot already null,
  // changes nothing.
  void DestroyEffector(unsigned int index);
  // A shader name: contains "/" and no ".".
  bool IsShaderName(const char* text);
  // For derived AddEffector: appends the effector to the list, enters (name, index) in the table and returns
  // the index.
  int Register(const BrStringT<char>& name, BrEffector* effector);

  TDArray<BrEffector*> m_Effectors;
  THashTable<BrEffectorName> m_Names;

private:
  // Writes every table entry to the debug log.
  void LogCacheList();
};

// The 2D material the engine makes for an image: a copy of "Shader2d" whose pass 0 shows the texture, its flags
// set to exactly the alpha flag (or, with alpha false, left as the copy has them), registered under name. 0
// (nothing kept) when a manager is missing, the texture handle is 0 or below and requireTexture is set, or the
// copy has no pass 0.
int brMake2DEffector(const BrStringT<char>& name, const BrStringT<char>& file, bool requireTexture, bool alpha = true);
