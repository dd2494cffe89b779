// BrRogueLevelInfo: floor and wall materials per floor type, and the level's special mutators on the player.
#include "game/BrRogueLevelInfo.h"

#include <cstring>

#include "adventure/world/BrRAGActor.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrRogueLevelInfo, BrRAGLevelInfo)

namespace {

// The configuration keys in the order they are read (and streamed), with their floor types.
struct EnvKey {
  const char* key;
  eROGUEFloorType type;
};
const EnvKey cEnvKeys[] = {{"TunnelFloor", eROGUEFloorTunnel}, {"RoomFloor", eROGUEFloorRoom},
                           {"CavernFloor", eROGUEFloorCavern}, {"TunnelWall", eROGUEWallTunnel},
                           {"RoomWall", eROGUEWallRoom},       {"CavernWall", eROGUEWallCavern},
                           {"ExitFloor", eROGUEFloorExit}};

BrEffectorMgr* FXMgr() {
  BrRenderBase* render = Engine().Render();
  return render ? render->FXMgr() : nullptr;
}

}  // namespace

BrRogueLevelInfo::BrRogueLevelInfo() {}

BrRogueLevelInfo::~BrRogueLevelInfo() {}

BrStringT<char>* BrRogueLevelInfo::TextureField(int type) {
  switch (type) {
    case eROGUEFloorTunnel: return &m_TunnelFloor;
    case eROGUEFloorCavern: return &m_CavernFloor;
    case eROGUEFloorRoom: return &m_RoomFloor;
    case eROGUEWallTunnel: return &m_TunnelWall;
    case eROGUEWallCavern: return &m_CavernWall;
    case eROGUEWallRoom: return &m_RoomWall;
    case eROGUEFloorExit: return &m_ExitFloor;
    default: return nullptr;
  }
}

const BrStringT<char>* BrRogueLevelInfo::TextureField(int type) const {
  return const_cast<BrRogueLevelInfo*>(this)->TextureField(type);
}

void BrRogueLevelInfo::LoadScript(const char* section, BrCfgFile* file) {
  BrRAGLevelInfo::LoadScript(section, file);
  BrScriptDaemon* script = Engine().Script();
  if (!script || !file) return;

  char buffer[64];
  std::memset(buffer, 0, sizeof(buffer));
  for (const EnvKey& key : cEnvKeys)
    if (script->LoadProperty(buffer, int(sizeof(buffer)), section, file, key.key))
      SetEnvFX(key.type, BrStringT<char>(buffer));

  int count = 0;
  if (script->LoadPropertyListSize(section, file, "Special", count)) {
    m_Special.Clear();
    for (int i = 0; i < count; ++i) m_Special.Add(BrStringT<char>());
    if (count > 0) script->LoadPropertyList(&m_Special[0], count, section, file, "Special");
  }
}

void BrRogueLevelInfo::Serialize(BrBin& bin) {
  BrRAGLevelInfo::Serialize(bin);
  for (const EnvKey& key : cEnvKeys) TextureField(key.type)->Serialize(bin);
}

void BrRogueLevelInfo::Destroy() {
  BrApplication* app = Engine().App();
  BrActor* player = app ? app->GetPlayer() : nullptr;
  if (player && player->IsValid()) RemoveSpecial(static_cast<BrRAGActor*>(player->SafeCast(&BrRAGActor::Type)));
  m_Special.Clear();
  BrDemoEntity::Destroy();
}

int BrRogueLevelInfo::SetEnvFX(eROGUEFloorType type, BrStringT<char> texture) {
  BrEffectorMgr* fx = FXMgr();
  if (!fx) {
    GLog.DebugPrintf("WARNING: No FXMgr in ::SetEnvFX(..)\n");
    return -1;
  }
  if (type == eROGUEFloorNone) {
    GLog.DebugPrintf("WARNING: Setting environment texture on an unknown floor type NONE\n");
    return -1;
  }
  BrStringT<char>* field = TextureField(type);
  if (!field) {
    GLog.DebugPrintf("WARNING: Setting environment texture on an unknown floor type\n");
    return -1;
  }
  *field = texture;

  BrEffector* effector = fx->CreateEffector(BrStringT<char>("Shader3d"));
  if (!effector) {
    GLog.printf("WARNING: BrRogueLevelInfo::SetEnvFX(..) could not copy Shader3d for %s\n",
                texture.c_str() ? texture.c_str() : "");
    return -1;
  }
  BrRenderPass* pass = effector->GetPass(0);
  BrTextureMgrBase* textures = Engine().Render()->TextureMgr();
  if (pass && textures) pass->m_iTexture = int32_t(textures->GetTexture(texture));
  BrStringT<char> name = BrStringT<char>("Shader") + texture;
  return fx->AddEffector(name, effector);
}

int BrRogueLevelInfo::GetEnvFX(eROGUEFloorType type) const {
  BrEffectorMgr* fx = FXMgr();
  const BrStringT<char>* field = TextureField(type);
  // A type never given a texture has no effector, whatever happens to be registered as plain "Shader".
  if (!fx || !field || field->Length() == 0) return 0;
  return int(fx->GetEffector(BrStringT<char>("Shader") + *field));
}

BrStringT<char> BrRogueLevelInfo::GetEnvTexture(eROGUEFloorType type) const {
  const BrStringT<char>* field = TextureField(type);
  return field ? *field : BrStringT<char>();
}

void BrRogueLevelInfo::ApplySpecial(BrRAGActor* actor) {
  if (!actor || !actor->IsValid()) return;
  for (int i = 0; i < m_Special.GetCount(); ++i) actor->ApplyMutator(m_Special[i], true);
}

void BrRogueLevelInfo::RemoveSpecial(BrRAGActor* actor) {
  if (!actor || !actor->IsValid()) return;
  for (int i = 0; i < m_Special.GetCount(); ++i) actor->RemoveMutator(m_Special[i], true);
}
