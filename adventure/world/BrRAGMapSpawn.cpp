// BrRAGMap: loading the object-type table, spawning configured kinds and mutators, and adding objects.
#include "adventure/world/BrRAGMap.h"

#include <algorithm>

#include "core/BrCfgFile.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrEngine.h"

#include "adventure/world/BrRAGMutator.h"
#include "adventure/world/BrRAGWidget.h"

namespace {
const uint32_t kReadUpdate = 0x1000001;

BrStringT<char> MediaPath(const BrStringT<char>& file) { return Engine().getMediaDir() + "\\" + file; }
}  // namespace

int BrRAGMap::LoadObjectConfig() {
  LoadConfigList();
  if (m_ConfigFiles.GetCount() == 0) {
    GLog.DebugWriteLine("ERROR: Failed to load object config in BrRAGMap");
    return 0;
  }
  m_ObjCfg.Reset();
  m_UnknownKinds.clear();
  for (int i = 0; i < m_ConfigFiles.GetCount(); ++i) m_ObjCfg.LoadTypesFromFile(MediaPath(m_ConfigFiles[i]));
  return m_ObjCfg.GetNumTypes();
}

BrRAGMap::ConfigFilesHeld::ConfigFilesHeld(BrRAGMap& map) : m_Map(map) { ++m_Map.m_iConfigHolds; }

BrRAGMap::ConfigFilesHeld::~ConfigFilesHeld() {
  if (--m_Map.m_iConfigHolds == 0) m_Map.m_HeldConfigs.clear();
}

// Outside a hold every call opens the file, as a spawn must see the file as it is now; inside one, a path keeps
// its handle (or its failure to open) until the hold ends. The list of files may change meanwhile (a loaded map
// brings its own), so handles are found by path.
BrCfgFile* BrRAGMap::ConfigFileFor(const BrStringT<char>& path, BrCfgFile& file) {
  if (m_iConfigHolds <= 0) return file.Open(path.c_str(), kReadUpdate) ? &file : nullptr;
  for (HeldConfig& held : m_HeldConfigs)
    if (held.path == path) return held.file.get();
  HeldConfig held;
  held.path = path;
  held.file.reset(new BrCfgFile);
  if (held.file->Open(path.c_str(), kReadUpdate))
    held.file->HoldText();
  else
    held.file.reset();
  m_HeldConfigs.push_back(std::move(held));
  return m_HeldConfigs.back().file.get();
}

bool BrRAGMap::GetNativeBaseFor(char* type, BrStringT<char>& base) {
  char native[_RAGObjSpawnDef::ciNameLen];
  if (!m_ObjCfg.GetNativeType(type, native)) return false;
  base = BrStringT<char>(native);
  return true;
}

BrDemoEntity* BrRAGMap::SpawnScripted(const BrStringT<char>& type) {
  const char* name = type.c_str() ? type.c_str() : "";
  BrStringT<char> native;
  BrObject* made = nullptr;
  if (GetNativeBaseFor(const_cast<char*>(name), native)) made = static_cast<BrObject*>(Engine().Spawn(native.c_str()));
  // Only an entity can read a section: anything else the chain ends at is refused.
  BrDemoEntity* entity = made ? static_cast<BrDemoEntity*>(made->SafeCast(&BrDemoEntity::Type)) : nullptr;
  if (made && !entity) {
    GLog.printf("ERROR: BrRAGMap::SpawnScripted(..) kind %s ends at %s, which is not an entity", name, native.c_str());
    made->Destroy();
    delete made;
    made = nullptr;
  }
  if (entity) {
    entity->Init();
    for (int i = 0; i < m_ConfigFiles.GetCount(); ++i) {
      BrCfgFile own;
      BrCfgFile* file = ConfigFileFor(MediaPath(m_ConfigFiles[i]), own);
      if (!file) continue;
      if (file->HasValue(name, "Type")) {
        entity->SetName(type);
        entity->LoadScript(name, file);
        return entity;
      }
    }
    entity->Destroy();
    delete entity;
  }
  if (type.Length() > 0) {
    // A kind named by every monster of a level (its Touch, what it carries) would be logged at each spawn.
    if (std::find(m_UnknownKinds.begin(), m_UnknownKinds.end(), name) == m_UnknownKinds.end()) {
      GLog.printf("ERROR: Failed to spawn unknown type %s", name);
      m_UnknownKinds.push_back(name);
    }
  } else
    GLog.WriteLine("ERROR: Failed to spawn anything, given an empty string!");
  return nullptr;
}

BrGameObj* BrRAGMap::SpawnMutator(const BrStringT<char>& command, BrStringT<char>& params) {
  if (command.Length() == 0) {
    GLog.WriteLine("ERROR: BrRAGMap::SpawnMutator(..) given an empty mutator");
    return nullptr;
  }
  BrStringT<char> name = command;
  const int open = command.Find(BrStringT<char>("("), 0);
  if (open >= 0) {
    name = open > 0 ? command(0, open) : BrStringT<char>();
    int end = command.Length();
    if (command.c_str()[end - 1] == ')') --end;
    params = end > open + 1 ? command(open + 1, end - open - 1) : BrStringT<char>();
  }
  // Callers name mutators both ways ("Poison" and "MUTPoison"); the class is always "MUT" + the name.
  const BrStringT<char> className = BrRAGMutator::NameFor(name);
  BrObject* made = static_cast<BrObject*>(Engine().Spawn(className.c_str()));
  BrGameObj* object = made ? static_cast<BrGameObj*>(made->SafeCast(&BrGameObj::Type)) : nullptr;
  if (made && !object) {
    GLog.printf("ERROR: BrRAGMap::SpawnMutator(..) class %s is not a game object", className.c_str());
    delete made;
  }
  return object;
}

int BrRAGMap::AddObject(BrGameObj* object) {
  if (!object) {
    GLog.WriteLine("BrRAGMap ignoring request to add NULL object. Something failed to spawn, check your types!");
    return -1;
  }
  if (object->IsA(BrRAGWidget::Type) && static_cast<BrRAGWidget*>(object)->IsFloor()) {
    int x = 0;
    int y = 0;
    if (GetCell(x, y, &object->Location())) SkipFloor(x, y);
  }
  return BrMap::AddObject(object);
}
