// BrEffector and BrEffectorMgr: the effector base, the name cache, icons, 2D materials and shader-script blocks.
#include "engine/presentation/BrEffectorMgr.h"

#include <climits>
#include <new>

#include "core/brcr.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrRenderBase.h"
#include "platform/win32/win32.h"

// ----- BrEffector -----------------------------------------------------------------------------------------

void BrEffector::Reset() { m_uiDevice = 0; }

bool BrEffector::IsProgrammable() { return false; }

void* BrEffector::operator new(size_t size) {
  void* p = size <= UINT_MAX ? brMalloc(unsigned(size ? size : 1)) : nullptr;
  if (!p) throw std::bad_alloc();
  return p;
}

void BrEffector::operator delete(void* p) noexcept { brFree(p); }

// ----- BrEffectorMgr --------------------------------------------------------------------------------------

BrEffectorMgr::~BrEffectorMgr() {
  if (GIsDebug) {
    GLog.DebugWriteLine("DEBUG: Effector manager unloading: logging cache list");
    LogCacheList();
  }
  for (unsigned int i = 0; i < Num(); ++i) DestroyEffector(i);
}

unsigned int BrEffectorMgr::GetEffector(const BrStringT<char>& name) {
  if (name.Length() == 0) return 0;
  TDLinkedList<BrEffectorName>& bucket = m_Names.GetBucket(name.c_str());
  for (TDLinkedList<BrEffectorName>::Node* n = bucket.GetHead(); n; n = n->next)
    if (n->element.name == name) return (unsigned int)n->element.index;
  return 0;
}

BrEffector** BrEffectorMgr::GetEffector(unsigned int index) {
  // An index past the list would otherwise hand out the array's spare element, which callers could write to.
  if (index >= Num()) return nullptr;
  return &m_Effectors[(int)index];
}

int BrEffectorMgr::Register(const BrStringT<char>& name, BrEffector* effector) {
  const int index = m_Effectors.Add(effector);
  BrEffectorName entry;
  entry.name = name;
  entry.index = index;
  m_Names.GetBucket(name.c_str()).Append(entry);
  return index;
}

void BrEffectorMgr::DestroyEffector(unsigned int index) {
  if (index >= Num()) return;
  BrEffector*& slot = m_Effectors[(int)index];
  // A slot destroyed before holds null and is passed over.
  if (!slot) return;
  slot->Reset();
  delete slot;
  slot = nullptr;
}

bool BrEffectorMgr::IsShaderName(const char* text) {
  if (!text) return false;
  bool slash = false;
  for (const char* p = text; *p; ++p) {
    if (*p == '.') return false;
    if (*p == '/') slash = true;
  }
  return slash;
}

void BrEffectorMgr::LogCacheList() {
  GLog.DebugPrintf("-------------------------");
  GLog.DebugPrintf("FXMGR: Logging cache list");
  GLog.DebugPrintf("-------------------------");
  for (int b = 0; b < THashTable<BrEffectorName>::ciNumBuckets; ++b) {
    TDLinkedList<BrEffectorName>& bucket = m_Names.GetBucketAt(b);
    for (TDLinkedList<BrEffectorName>::Node* n = bucket.GetHead(); n; n = n->next)
      GLog.DebugPrintf("Hash %i: %s, IDX %i", b, n->element.name.c_str() ? n->element.name.c_str() : "",
                       (int)n->element.index);
  }
  GLog.DebugPrintf("------------------------------");
}

int BrEffectorMgr::LoadIconA(const BrStringT<char>& file, const BrStringT<char>& name) {
  const unsigned int existing = GetEffector(name);
  if (existing != 0) return (int)existing;
  return brMake2DEffector(name, file, true);
}

int brMake2DEffector(const BrStringT<char>& name, const BrStringT<char>& file, bool requireTexture, bool alpha) {
  BrRenderBase* render = Engine().Render();
  if (!render || !render->FXMgr() || !render->TextureMgr()) return 0;
  BrEffectorMgr* fx = render->FXMgr();
  BrEffector* effector = fx->CreateEffector(BrStringT<char>("Shader2d"));
  if (!effector) return 0;
  // A copy whose shader failed has no pass 0; registering it would give an effector that draws nothing.
  BrRenderPass* pass = effector->GetPass(0);
  if (!pass) {
    GLog.DebugPrintf("ERROR: No render pass for the 2D material %s", name.c_str() ? name.c_str() : "");
    delete effector;
    return 0;
  }
  const unsigned int texture = render->TextureMgr()->GetTexture(file);
  pass->m_iTexture = (int32_t)texture;
  if (alpha) pass->m_uiFlags = eRenderPassAlpha;
  if (requireTexture && (int)texture <= 0) {
    delete effector;
    return 0;
  }
  BrStringT<char> key(name);
  return fx->AddEffector(key, effector);
}

// Counts c in a line.
static int CountChar(const char* s, char c) {
  int n = 0;
  for (; *s; ++s)
    if (*s == c) ++n;
  return n;
}

BrStringT<char> BrEffectorMgr::GetShaderScript(const BrStringT<char>& name) {
  BrStringT<char> block;
  const char* text = name.c_str();
  if (!text) return block;
  char* mutableName = const_cast<char*>(text);
  if (!brStrstr(mutableName, "textures") && !brStrstr(mutableName, "shaders")) return block;

  // The second component of the name (textures/<file>/...) narrows the search to that script file.
  BrStringT<char> pattern("*");
  const int slash = name.Find(BrStringT<char>("/"), 0);
  if (slash >= 0) {
    const int next = name.Find(BrStringT<char>("/"), slash + 1);
    const int len = (next >= 0 ? next : name.Length()) - (slash + 1);
    if (len > 0) pattern = BrStringT<char>("*") + name(slash + 1, len) + "*";
  }
  const BrStringT<char> folder = BrStringT<char>(Engine().AppDir()) + "\\Media\\Textures\\Q3A\\scripts\\";
  const BrStringT<char> search = folder + pattern + ".shader";

  WIN32_FIND_DATAA found;
  HANDLE h = brFindFirstFile(search.c_str(), &found);
  if (!h) return block;
  FindClose(h);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return block;

  // Opened by its whole path rather than by entering the folder: a current folder too long to remember could
  // not be returned to.
  BrAnsiFile file;
  if (file.Open((folder + found.cFileName).c_str(), eFileRead | eFileSystem)) {
    char line[260];
    bool started = false;
    while (file.ReadLine(line, (int)sizeof(line))) {
      if (brStrstr(line, text)) {
        started = true;
        break;
      }
    }
    if (started) {
      int depth = CountChar(line, '{');
      block += BrStringT<char>(line);
      block += BrStringT<char>("\n");
      while (file.ReadLine(line, (int)sizeof(line))) {
        if (depth == 0 && IsShaderName(line)) break;
        depth += CountChar(line, '{') - CountChar(line, '}');
        block += BrStringT<char>(line);
      }
    }
    file.Close();
  }
  return block;
}
