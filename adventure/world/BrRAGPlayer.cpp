// BrRAGPlayer: the player's data, configuration, ranks and experience, death, hints, counters and stream.
#include "adventure/world/BrRAGPlayer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/flow/BrRAGUIDialog.h"
#include "adventure/world/BrRAGLevelInfo.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGResolve.h"
#include "core/BrBin.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrLightBase.h"
#include "engine/presentation/BrLightMgr.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrRenderPass.h"
#include "engine/presentation/BrTextureMgrBase.h"

BR_IMPLEMENT_CLASS(BrRAGPlayer, BrRAGActor)

const float BrRAGPlayer::cfMinLanternPower = 0.25f;
const float BrRAGPlayer::cfMaxLanternPower = 0.8f;
float BrRAGPlayer::mfOilBurnRate = 0.45f;
BrAudioID BrRAGPlayer::muiLeftStepSFX;
BrAudioID BrRAGPlayer::muiRightStepSFX;
BrAudioID BrRAGPlayer::muiMapExploredSFX;
BrAudioID BrRAGPlayer::muiLevelUpSFX;

// The number of quick slots the player saves for its HUD.
static const int ciQuickSlots = 10;

BrRAGPlayer::BrRAGPlayer()
    : m_iLightIndex(-1),
      m_fLanternPower(0.5f),
      m_fOil(100.0f),
      m_fFootstepTimer(0.0f),
      m_bLeftFoot(false),
      m_iXP(0),
      m_iRank(1),
      m_fTimeSinceWorldStart(0.0f),
      m_iKillCount(0),
      m_iMapsExplored(0),
      m_iCurrentFrame(0),
      m_fFrameTimer(0.0f),
      m_bFacingCamera(false),
      m_bAnimated(false),
      m_bHasLantern(false),
      m_fMaxViewDistance(6.0f) {
  SetGroundSpeed(200.0f);
}

BrRAGPlayer::BrRAGPlayer(const BrRAGPlayer& other)
    : BrRAGActor(other),
      m_iLightIndex(other.m_iLightIndex),
      m_fLanternPower(other.m_fLanternPower),
      m_fOil(other.m_fOil),
      m_fFootstepTimer(other.m_fFootstepTimer),
      m_bLeftFoot(other.m_bLeftFoot),
      m_iXP(other.m_iXP),
      m_iRank(other.m_iRank),
      m_fTimeSinceWorldStart(other.m_fTimeSinceWorldStart),
      m_iKillCount(other.m_iKillCount),
      m_iMapsExplored(other.m_iMapsExplored),
      m_ShownHints(other.m_ShownHints),
      m_WalkFrames(other.m_WalkFrames),
      m_iCurrentFrame(other.m_iCurrentFrame),
      m_fFrameTimer(other.m_fFrameTimer),
      m_bFacingCamera(other.m_bFacingCamera),
      m_bAnimated(other.m_bAnimated),
      m_bHasLantern(other.m_bHasLantern),
      m_fMaxViewDistance(other.m_fMaxViewDistance),
      m_Ranks(other.m_Ranks) {}

BrRAGPlayer& BrRAGPlayer::operator=(const BrRAGPlayer& other) {
  if (this == &other) return *this;
  BrRAGActor::operator=(other);
  m_iLightIndex = other.m_iLightIndex;
  m_fLanternPower = other.m_fLanternPower;
  m_fOil = other.m_fOil;
  m_fFootstepTimer = other.m_fFootstepTimer;
  m_bLeftFoot = other.m_bLeftFoot;
  m_iXP = other.m_iXP;
  m_iRank = other.m_iRank;
  m_fTimeSinceWorldStart = other.m_fTimeSinceWorldStart;
  m_iKillCount = other.m_iKillCount;
  m_iMapsExplored = other.m_iMapsExplored;
  m_ShownHints = other.m_ShownHints;
  m_WalkFrames = other.m_WalkFrames;
  m_iCurrentFrame = other.m_iCurrentFrame;
  m_fFrameTimer = other.m_fFrameTimer;
  m_bFacingCamera = other.m_bFacingCamera;
  m_bAnimated = other.m_bAnimated;
  m_bHasLantern = other.m_bHasLantern;
  m_fMaxViewDistance = other.m_fMaxViewDistance;
  m_Ranks = other.m_Ranks;
  return *this;
}

BrRAGPlayer::~BrRAGPlayer() {
  // A player destroyed earlier has already given back its light and tables.
  if (IsValid()) BrRAGPlayer::Destroy();
}

BrRAGPlayerHUD* BrRAGPlayer::GetPlayerHUD() const { return brRAGCast<BrRAGPlayerHUD>(GetHUD()); }

void BrRAGPlayer::SendMessage(const char* text, const BrARGB& colour, float lifetime) {
  SendMessageTo(this, text, colour, lifetime);
}

void BrRAGPlayer::SendMessageTo(BrObject* who, const char* text, const BrARGB& colour, float lifetime) {
  BrRAGPlayer* player = brRAGCast<BrRAGPlayer>(who);
  BrRAGPlayerHUD* hud = player ? player->GetPlayerHUD() : nullptr;
  if (!hud) return;
  BrRAGPlayerMsg msg;
  msg.mText = text;
  msg.mColour = colour;
  msg.mfDisplayTime = lifetime;
  hud->AddMessage(msg);
}

void BrRAGPlayer::Serialize(BrBin& bin) {
  BrRAGActor::Serialize(bin);
  BrRAGPlayerHUD* hud = GetPlayerHUD();
  for (int i = 0; i < ciQuickSlots; ++i) {
    BrStringT<char> slot;
    if (!bin.IsLoading() && hud) slot = hud->GetQuickSlot(i);
    bin << slot;
    if (bin.IsLoading() && hud) hud->SetQuickSlot(i, slot);
  }
  // The light belongs to this run's light manager: a saved index means nothing to the loading game, so the
  // loaded player keeps the light it has.
  int32_t lightIndex = m_iLightIndex;
  bin << lightIndex;
  bin << m_fLanternPower;
  bin << m_fOil;
  bin << m_iXP;
  bin << m_iRank;
  bin << m_fTimeSinceWorldStart;
  bin << m_iKillCount;
  bin << m_iMapsExplored;
  if (bin.GetVersion() >= 263) m_ShownHints.Serialize(bin);
  if (bin.IsLoading()) {
    // A save is untrusted: the ranges the running game keeps are restored.
    if (!(m_fLanternPower >= cfMinLanternPower)) m_fLanternPower = cfMinLanternPower;
    if (m_fLanternPower > cfMaxLanternPower) m_fLanternPower = cfMaxLanternPower;
    if (!(m_fOil >= 0.0f)) m_fOil = 0.0f;
    if (m_fOil > 100.0f) m_fOil = 100.0f;
    if (m_iRank < 1) m_iRank = 1;
  }
}

bool BrRAGPlayer::Init() {
  m_HUDClass = "BrRAGPlayerHUD";
  BrRAGActor::Init();
  m_Portrait.SetFocus(this);
  m_Portrait.ScaleX() = 64.0f;
  m_Portrait.ScaleY() = 64.0f;
  m_Portrait.Style() ^= 1u;
  SetPersistent(true);
  if (m_iLightIndex < 0) {
    BrRenderBase* render = Engine().Render();
    BrLightMgr* lights = render ? render->LightMgr() : nullptr;
    BrObject* made = lights ? static_cast<BrObject*>(Engine().Spawn("BrLightBase")) : nullptr;
    BrLightBase* light = brRAGCast<BrLightBase>(made);
    if (light)
      m_iLightIndex = lights->AddLight(light);
    else
      delete made;
  }
  m_fLanternPower = 0.5f;
  m_fOil = 100.0f;
  m_iCurrentFrame = 0;
  m_fMaxViewDistance = 6.0f;
  return true;
}

bool BrRAGPlayer::CreateHUD() {
  if (!BrRAGActor::CreateHUD()) return false;
  BrGUI* gui = Engine().GUI();
  // A player read into a map that is being loaded aside leaves the running player's panel alone: the load may
  // yet be refused. Once its map is installed, the old player goes, and its HUD and panel with it.
  BrApplication* app = Engine().App();
  const bool aside = app && app->Map() && WorldMap() != app->Map();
  if (BrUIControl* old = gui && !aside ? gui->GetControl(BrStringT<char>("ingame_playerhud"), true) : nullptr) {
    BrUIControl* parent = old->GetParentControl();
    old->Destroy();
    // Detached and freed only when a parent holds it; a top-level control stays the GUI's.
    if (parent) {
      parent->LostChild(old);
      BrUIControl::DeleteControl(old);
    }
  }
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("BrUIControl"));
  BrUIControl* panel = brRAGCast<BrUIControl>(made);
  if (!panel) {
    delete made;
    return true;
  }
  panel->Init();
  panel->SetID(BrStringT<char>("ingame_playerhud"));
  panel->SetArea(0.0f, 0.0f, 1.0f, 1.0f);
  GetHUD()->AddChildControl(panel);
  return true;
}

void BrRAGPlayer::PostInit() {
  m_Inventory.SetCarrier(GetID());
  if (BrRAGPlayerHUD* hud = GetPlayerHUD()) hud->SetHUDOwner(GetID());
  if (GetHUD()) GetHUD()->Init();
  BrRAGActor::PostInit();
}

void BrRAGPlayer::Destroy() {
  BrRenderBase* render = Engine().Render();
  if (m_iLightIndex >= 0 && render && render->LightMgr()) render->LightMgr()->RemoveLight(m_iLightIndex);
  m_iLightIndex = -1;
  m_WalkFrames.Clear();
  for (int i = 0; i < m_Ranks.GetCount(); ++i) m_Ranks[i].Name = BrStringT<char>();
  m_Ranks.Clear();
  BrRAGActor::Destroy();
}

void BrRAGPlayer::DebugDraw(BrRenderBase*) {}

void BrRAGPlayer::LoadWalkFrames(const BrStringT<char>& dir) {
  m_WalkFrames.Clear();
  BrRenderBase* render = Engine().Render();
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  BrTextureMgrBase* textures = render ? render->TextureMgr() : nullptr;
  if (!fx || !textures) return;
  static const char* const prefixes[2] = {"\\frmove", "\\bkmove"};
  for (int side = 0; side < 2; ++side) {
    for (int i = 0; i < 4; ++i) {
      char suffix[32];
      snprintf(suffix, sizeof(suffix), "%s%i.tga", prefixes[side], i);
      BrStringT<char> file = dir + suffix;
      BrEffector* effector = fx->CreateEffector(BrStringT<char>("Shader3d"));
      if (!effector) continue;
      const unsigned int texture = textures->GetTexture(file);
      BrRenderPass* pass = effector->GetPass(0);
      if (texture == 0 || !pass) {
        // A frame that does not load is left out.
        delete effector;
        continue;
      }
      pass->m_iTexture = int32_t(texture);
      pass->m_uiFlags = 4;
      const int index = fx->AddEffector(file, effector);
      if (index >= 0) m_WalkFrames.Add(index);
    }
  }
  m_WalkFrames.FreeExtra();
}

void BrRAGPlayer::LoadScript(const char* section, BrCfgFile* cfg) {
  BrRAGActor::LoadScript(section, cfg);
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;

  // The rank table comes first, so that a configured rank gets the experience its own table gives it.
  for (int i = 0; i < m_Ranks.GetCount(); ++i) m_Ranks[i].Name = BrStringT<char>();
  m_Ranks.Clear();
  int n = 0;
  if (script->LoadPropertyListSize(section, cfg, "RankNames", n) && n > 0) {
    for (int i = 0; i < n; ++i) m_Ranks.Add(BrRAGRankEntry());
    TDArray<BrStringT<char>> names;
    for (int i = 0; i < n; ++i) names.Add(BrStringT<char>());
    script->LoadPropertyList(&names[0], n, section, cfg, "RankNames");
    TDArray<int32_t> xps;
    for (int i = 0; i < n; ++i) xps.Add(-1);
    script->LoadPropertyList(&xps[0], n, section, cfg, "RankXPs");
    for (int i = 0; i < n; ++i) {
      m_Ranks[i].Name = names[i];
      m_Ranks[i].XP = xps[i];
    }
  }

  int rank = 0;
  if (script->LoadProperty(rank, section, cfg, "Rank")) {
    m_iRank = rank;
    m_iXP = GetXPForRank(m_iRank);
    SetHitProbability(GetHitProbability() + float(m_iRank - 1));
    SetMaxHealth(GetMaxHealth() + 10 * m_iRank - 10);
    SetHealth(GetHealth() + 10 * m_iRank - 10);
    SetStrength(GetStrength() + float(m_iRank - 1));
    SetGroundSpeed(GetGroundSpeed() + float(5 * m_iRank - 5));
  }

  char dir[1024];
  memset(dir, 0, sizeof(dir));
  if (script->LoadProperty(dir, int(sizeof(dir)), section, cfg, "AnimsDir")) LoadWalkFrames(BrStringT<char>(dir));

  int i = 0;
  if (script->LoadProperty(i, section, cfg, "Animated")) m_bAnimated = i > 0;
  if (script->LoadProperty(i, section, cfg, "HasLantern")) m_bHasLantern = i > 0;
  float f = 0.0f;
  mfOilBurnRate = script->LoadProperty(f, section, cfg, "OilBurnRate") ? f : 0.45f;
  m_fMaxViewDistance = 6.0f;
  // The lantern's light reaches this far: at 0 or below the player sees, and so can strike, nothing at all.
  if (script->LoadProperty(f, section, cfg, "MaxVisDist")) {
    if (f > 0.0f)
      m_fMaxViewDistance = f;
    else
      script->RefuseNumber(section, "MaxVisDist", f, "is no distance above 0: the value is not used");
  }
}

void BrRAGPlayer::DisplayMsg(char* text) {
  if (BrApplication* app = Engine().App()) app->DisplayMsg(text);
}

void BrRAGPlayer::DisplayMsgf(char* format, ...) {
  BrApplication* app = Engine().App();
  if (!app || !format) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  app->DisplayMsgf("%s", text);
}

int BrRAGPlayer::AddToInventory(int itemId) {
  const int slot = BrRAGActor::AddToInventory(itemId);
  // A full pack gives no slot, and no HUD cell may be told of slot -1.
  if (slot < 0) return slot;
  if (m_Inventory.GetNumItemsInSlot(slot) < 2) {
    if (BrRAGPlayerHUD* hud = GetPlayerHUD()) hud->NewItemInInvSlot(slot);
  }
  return slot;
}

void BrRAGPlayer::TargetKilled(const BrStringT<char>&) { m_iKillCount += 1; }

int BrRAGPlayer::GetXP() const {
  if (m_Ranks.GetCount() == 0) return 0;
  if (m_iRank == m_Ranks.GetCount()) return m_Ranks[m_Ranks.GetCount() - 1].XP;
  return m_iXP;
}

int BrRAGPlayer::GetXPForRank(int rank) const {
  const int count = m_Ranks.GetCount();
  if (count == 0) return 0;
  if (rank - 2 >= 0 && rank - 1 == count) return m_Ranks[count - 1].XP;
  if (rank - 1 >= 0 && rank - 1 < count) return m_Ranks[rank - 1].XP;
  return m_iXP;
}

BrStringT<char> BrRAGPlayer::GetRankName() const {
  if (m_iRank - 1 >= 0 && m_iRank - 1 < m_Ranks.GetCount()) return m_Ranks[m_iRank - 1].Name;
  return BrStringT<char>("Novice");
}

void BrRAGPlayer::AddXP(unsigned int points) {
  m_iXP += int32_t(points);
  const int next = GetXPForRank(m_iRank + 1);
  if (m_iXP >= next && m_iRank < m_Ranks.GetCount() && next > 0) LevelUp();
}

void BrRAGPlayer::LevelUp() {
  m_iRank += 1;
  SetHitProbability(GetHitProbability() + 1.0f);
  SetMaxHealth(GetMaxHealth() + 15);
  SetHealth(GetHealth() + 15);
  SetStrength(GetStrength() + 1.0f);
  SetGroundSpeed(GetGroundSpeed() + 5.0f);
  if (BrRAGPlayerHUD* hud = GetPlayerHUD()) hud->DoLevelUp();
  const BrARGB white(200, 255, 255, 255);
  const BrStringT<char> rankLine = BrStringT<char>("You are now a ") + GetRankName();
  SendMessage(rankLine.c_str() ? rankLine.c_str() : "", white, BrRAGPlayerHUD::cfLevelUpEffectDurationSECs);
  SendMessage("!!! LEVEL UP !!!", white, BrRAGPlayerHUD::cfLevelUpEffectDurationSECs);
  if (BrAudioMgrBase* audio = Engine().Audio()) {
    if (!muiLevelUpSFX.Ready()) audio->CreateAudio(BrStringT<char>("Sounds\\levelup.wav"), muiLevelUpSFX);
    audio->PlayAudio3D(muiLevelUpSFX, Location());
  }
}

void BrRAGPlayer::LevelDown() {
  if (m_iRank <= 1) return;
  m_iRank -= 1;
  m_iXP = GetXPForRank(m_iRank);
  SetHitProbability(GetHitProbability() - 1.0f);
  SetMaxHealth(GetMaxHealth() - 15);
  SetHealth(GetHealth() - 15);
  SetStrength(GetStrength() - 1.0f);
  SetGroundSpeed(GetGroundSpeed() - 5.0f);
  SendMessage("!!! RANK DRAIN !!!", BrARGB(200, 255, 0, 0), BrRAGPlayerHUD::cfLevelUpEffectDurationSECs);
}

void BrRAGPlayer::OnMapExplored() {
  m_iMapsExplored += 1;
  if (BrAudioMgrBase* audio = Engine().Audio()) {
    if (!muiMapExploredSFX.Ready()) audio->CreateAudio(BrStringT<char>("Sounds\\mreveal.wav"), muiMapExploredSFX);
    audio->PlayAudio2D(muiMapExploredSFX);
  }
  SendMessage("!!! MAP COMPLETE !!!", BrARGB(200, 255, 255, 255), 5.0f);
}

void BrRAGPlayer::OnWorldChange() {
  m_fTimeSinceWorldStart = 0.0f;
  m_iKillCount = 0;
  m_iMapsExplored = 0;
}

bool BrRAGPlayer::HasSeenHint(const BrStringT<char>& name) const {
  for (int i = 0; i < m_ShownHints.GetCount(); ++i)
    if (m_ShownHints[i] == name) return true;
  return false;
}

void BrRAGPlayer::AddShownHint(const BrStringT<char>& name) {
  if (!HasSeenHint(name)) m_ShownHints.Add(name);
}

void BrRAGPlayer::Killed(const BrStringT<char>& killer) {
  // The player dies once: a second blow or an empty lantern after death opens no second dialog.
  const bool alreadyDead = IsDead();
  BrRAGActor::Killed(killer);
  if (alreadyDead) return;

  BrApplication* app = Engine().App();
  BrGame* game = brRAGCast<BrGame>(app);
  if (!game || !game->GetHUD()) return;
  BrObject* made = static_cast<BrObject*>(Engine().Spawn("BrRAGUIGameOverDialog"));
  BrUIDialog* dialog = brRAGCast<BrUIDialog>(made);
  if (!dialog) {
    delete made;
    return;
  }
  dialog->Init();
  dialog->SetID(BrStringT<char>("dlg_gameover"));
  dialog->SetArea(0.3f, 0.4f, 0.4f, 0.2f);
  dialog->SetModal(true);
  dialog->SetTexture(BrStringT<char>("Textures\\ui\\menus\\scrollm.tga"));
  if (BrRAGUIDialog* framed = brRAGCast<BrRAGUIDialog>(dialog)) {
    framed->SetTopTexture(BrStringT<char>("Textures\\ui\\menus\\scrollt.tga"));
    framed->SetBaseTexture(BrStringT<char>("Textures\\ui\\menus\\scrollb.tga"));
  }
  dialog->SetDialogFont(BrStringT<char>("Fonts\\fontScript.tga"));
  dialog->SetDialogTextSize(2);
  dialog->SetPadding(0.125f);
  dialog->AddDialogOption(BrStringT<char>("OK"), BrStringT<char>("AcceptGameOver"), true);

  BrRAGMap* map = brRAGCast<BrRAGMap>(app->Map());
  const unsigned int level = map ? map->GetLevel() : 0;
  BrStringT<char> text = BrStringT<char>("GAME OVER") + "\n\n" + "You died a " + GetRankName();
  if (level == 80) {
    text = text + ",\n" + "in the Vellmire's Lair";
  } else {
    char number[32];
    snprintf(number, sizeof(number), "%i", int(level % 10 == 0 ? 10 : level % 10));
    // Only a valid level info has a description; without one the line ends with an empty one.
    BrRAGLevelInfo* info = map ? brRAGCast<BrRAGLevelInfo>(map->GetLevelInfo()) : nullptr;
    const BrStringT<char> desc = (info && info->IsValid()) ? info->GetLevelDesc() : BrStringT<char>();
    text = text + ", on Level " + number + "\nof the " + desc;
  }
  text = text + "\n\n" + "You were killed by\n    " + killer;
  dialog->SetDialogText(text);
  game->GetHUD()->AddChildControl(dialog);
  dialog->SetActive(true);
}
