// BrRAGObjConfig: loading the kinds of an object configuration file and walking their Type chains.
#include "adventure/world/BrRAGObjConfig.h"

#include <cstring>

#include "core/BrCfgFile.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"

namespace {
const uint32_t kReadUpdate = 0x1000001;

// Copies text into a 64-character field; a longer text is cut, with a warning naming what was cut.
void CopyField(char* field, const char* text, const char* what, const char* path) {
  const size_t n = std::strlen(text);
  if (n >= size_t(_RAGObjSpawnDef::ciNameLen))
    GLog.printf("WARNING: BrRAGObjConfig cut the %s '%s' of %s to %i characters", what, text, path,
                _RAGObjSpawnDef::ciNameLen - 1);
  const size_t keep = n < size_t(_RAGObjSpawnDef::ciNameLen) ? n : size_t(_RAGObjSpawnDef::ciNameLen - 1);
  std::memcpy(field, text, keep);
  field[keep] = 0;
}
}  // namespace

BrRAGObjConfig::BrRAGObjConfig() {}

BrRAGObjConfig::BrRAGObjConfig(const BrRAGObjConfig& other) : m_Types(other.m_Types) {}

BrRAGObjConfig& BrRAGObjConfig::operator=(const BrRAGObjConfig& other) {
  if (this != &other) m_Types = other.m_Types;
  return *this;
}

BrRAGObjConfig::~BrRAGObjConfig() {}

void BrRAGObjConfig::Reset() { m_Types.Clear(); }

_RAGObjSpawnDef BrRAGObjConfig::GetType(int i) const { return m_Types[i]; }

void BrRAGObjConfig::Serialize(BrBin&) {}

bool BrRAGObjConfig::LoadTypesFromFile(const BrStringT<char>& path) {
  const char* name = path.c_str() ? path.c_str() : "";
  BrCfgFile file;
  if (!file.Open(name, kReadUpdate)) {
    GLog.printf("WARNING: BrRAGObjConfig could not open the object configuration %s; no kinds added", name);
    return false;
  }
  BrScriptDaemon* script = Engine().Script();
  if (!script) {
    GLog.printf("WARNING: BrRAGObjConfig has no script daemon to read %s; no kinds added", name);
    file.Close();
    return false;
  }

  // Every section is read in one pass that writes nothing.
  file.HoldText();
  char section[BrCfgFile::ciLineLen];
  char text[BrCfgFile::ciLineLen];
  while (file.GetNextSection(section)) {
    _RAGObjSpawnDef def;
    std::memset(&def, 0, sizeof(def));
    CopyField(def.name, section, "section name", name);
    // A kind defined again (a section copied and not renamed, or one an earlier file holds) stays one kind: listed
    // twice it would be drawn twice as often as its rarity says. Its keys are read where its first section lies.
    bool known = false;
    for (int i = 0; i < m_Types.GetCount() && !known; ++i) known = std::strcmp(m_Types[i].name, def.name) == 0;
    if (known) {
      GLog.printf("WARNING: BrRAGObjConfig: %s defines the kind %s again; it is read from its first definition", name,
                  def.name);
      continue;
    }
    script->LoadProperty(def.noAutoSpawn, section, &file, "NoAutoSpawn");
    text[0] = 0;
    if (script->LoadProperty(text, int(sizeof(text)), section, &file, "Type"))
      CopyField(def.type, text, "Type", name);
    else
      def.noAutoSpawn = 1;
    if (!script->LoadProperty(def.rarity, section, &file, "Rarity")) def.noAutoSpawn = 1;
    if (!script->LoadPropertyList(def.levels, 2, section, &file, "Levels")) def.noAutoSpawn = 1;
    GetType(def.type, def.native);
    m_Types.Add(def);
  }
  file.Close();
  return true;
}

// A chain that comes back to a kind already passed would be followed for ever: after ciMaxChain links it is
// taken for a loop, logged, and the walk ends at the name it has reached.
void BrRAGObjConfig::WalkChain(const char* name, char* out) const {
  char current[_RAGObjSpawnDef::ciNameLen];
  std::memset(current, 0, sizeof(current));
  const char* start = name ? name : "";
  const size_t n = std::strlen(start);
  std::memcpy(current, start, n < sizeof(current) ? n : sizeof(current) - 1);
  for (int links = 0;; ++links) {
    int found = -1;
    for (int i = 0; i < m_Types.GetCount(); ++i)
      if (std::strcmp(m_Types[i].name, current) == 0) {
        found = i;
        break;
      }
    if (found < 0) break;
    if (links >= ciMaxChain) {
      GLog.printf("WARNING: BrRAGObjConfig: the Type chain of %s loops; cut at %s", name ? name : "", current);
      break;
    }
    std::memcpy(current, m_Types[found].type, sizeof(current));
  }
  std::memcpy(out, current, sizeof(current));
}

bool BrRAGObjConfig::GetType(const char* name, char* out) const {
  WalkChain(name, out);
  return false;
}

bool BrRAGObjConfig::GetNativeType(const char* name, char* out) const {
  if (m_Types.GetCount() == 0) return false;
  WalkChain(name, out);
  return true;
}

bool BrRAGObjConfig::GetParentType(const char* name, char* out) const {
  for (int i = 0; i < m_Types.GetCount(); ++i)
    if (std::strcmp(m_Types[i].name, name ? name : "") == 0) {
      std::memcpy(out, m_Types[i].type, _RAGObjSpawnDef::ciNameLen);
      return true;
    }
  return false;
}
