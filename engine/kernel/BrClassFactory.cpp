// The class factory: registration of create functions by class name, Spawn and the registry log.
#include "engine/kernel/BrClassFactory.h"

#include <cstring>

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"

BrClassFactory::BrClassFactory(const char* name, void* (*create)()) {
  _factoryentry entry;
  std::memset(&entry, 0, sizeof(entry));
  bool fits = name && std::strlen(name) < (size_t)_factoryentry::ciNameLen;
  if (fits) std::memcpy(entry.name, name, std::strlen(name) + 1);
  entry.fn = create;
  // An over-long name is refused outright: a cut name would register a different class.
  if (fits && Engine().RegisterClassA(&entry))
    GLog.DebugPrintf("SUCCESS: Registered %s", name);
  else
    GLog.DebugPrintf("CRITICAL: Failed to register %s", name ? name : "");
}

bool BrEngine::RegisterClassA(_factoryentry* entry) {
  if (!entry || !entry->fn) return false;
  size_t len = strnlen(entry->name, _factoryentry::ciNameLen);
  if (len == 0 || len >= (size_t)_factoryentry::ciNameLen) return false;
  _factoryentry copy = *entry;
  copy.lib = m_iLoadingLib;
  m_Registry.GetBucket(copy.name).Append(copy);
  return true;
}

void* BrEngine::Spawn(const char* className) {
  if (!className) {
    GLog.DebugWriteLine("ERROR: NULL class name passed to Spawn(...)");
    return nullptr;
  }
  TDLinkedList<_factoryentry>& bucket = m_Registry.GetBucket(className);
  for (TDLinkedList<_factoryentry>::Node* n = bucket.GetHead(); n; n = n->next) {
    if (brStrcmp(n->element.name, className) != 0) continue;
    void* made = n->element.fn();
    if (!made) return nullptr;
    // Every registered class is a BrObject; its create function hands it out as one.
    static_cast<BrObject*>(made)->SetName(BrStringT<char>(className));
    return made;
  }
  GLog.DebugPrintf("WARNING: Class is not registered in factory: %s", className);
  return nullptr;
}

void BrEngine::LogRegistry() {
  if (gIsTestHarness) return;
  GLog.DebugPrintf("------------------------------");
  GLog.DebugPrintf("ENGINE: Logging class registry");
  GLog.DebugPrintf("------------------------------");
  for (int b = 0; b < THashTable<_factoryentry>::ciNumBuckets; ++b) {
    TDLinkedList<_factoryentry>& bucket = m_Registry.GetBucketAt(b);
    for (TDLinkedList<_factoryentry>::Node* n = bucket.GetHead(); n; n = n->next)
      GLog.DebugPrintf("Hash %i: %s", b, n->element.name);
  }
  GLog.DebugPrintf("------------------------------");
}
