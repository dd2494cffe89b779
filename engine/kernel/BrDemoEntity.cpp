// BrDemoEntity: configuration from a section, icons, minimap presence, touching and the entity's archive form.
#include "engine/kernel/BrDemoEntity.h"

#include <cmath>

#include "core/BrBin.h"
#include "core/BrLogFile.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrMap.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/presentation/BrEffector.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrMiniMap.h"
#include "engine/presentation/BrRenderPass.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrRenderBase.h"
#include "templates/BrArchiveOps.h"

BR_IMPLEMENT_CLASS(BrDemoEntity, BrGameObj)

BrDemoEntity::BrDemoEntity()
    : m_DrawScale(64.0f, 64.0f, 0.0f),
      m_uiHUDEffector(0),
      m_uiMinimapIcon(0),
      m_bShowsOnMiniMap(true),
      m_bRevealed(false),
      m_fMiniMapScale(8.0f),
      m_bVisible(true),
      m_uiCollideFlags(0) {}

BrDemoEntity::BrDemoEntity(const BrDemoEntity& other)
    : BrGameObj(other),
      m_Portrait(other.m_Portrait),
      m_DrawScale(other.m_DrawScale),
      m_uiHUDEffector(other.m_uiHUDEffector),
      m_uiMinimapIcon(other.m_uiMinimapIcon),
      m_bShowsOnMiniMap(other.m_bShowsOnMiniMap),
      m_bRevealed(other.m_bRevealed),
      m_fMiniMapScale(other.m_fMiniMapScale),
      m_FirstRevealSound(other.m_FirstRevealSound),
      m_RevealSound(other.m_RevealSound),
      m_Tooltip(other.m_Tooltip),
      m_bVisible(other.m_bVisible),
      m_uiCollideFlags(other.m_uiCollideFlags) {
  // A portrait that followed the original follows the copy, never an entity that may be gone.
  if (other.m_Portrait.GetFocus() == &other) m_Portrait.SetFocus(this);
}

BrDemoEntity& BrDemoEntity::operator=(const BrDemoEntity& other) {
  if (this == &other) return *this;
  BrGameObj::operator=(other);
  m_Portrait = other.m_Portrait;
  m_DrawScale = other.m_DrawScale;
  m_uiHUDEffector = other.m_uiHUDEffector;
  m_uiMinimapIcon = other.m_uiMinimapIcon;
  m_bShowsOnMiniMap = other.m_bShowsOnMiniMap;
  m_bRevealed = other.m_bRevealed;
  m_fMiniMapScale = other.m_fMiniMapScale;
  m_FirstRevealSound = other.m_FirstRevealSound;
  m_RevealSound = other.m_RevealSound;
  m_Tooltip = other.m_Tooltip;
  m_bVisible = other.m_bVisible;
  m_uiCollideFlags = other.m_uiCollideFlags;
  if (other.m_Portrait.GetFocus() == &other) m_Portrait.SetFocus(this);
  return *this;
}

BrDemoEntity::~BrDemoEntity() {}

void BrDemoEntity::Serialize(BrBin& bin) {
  BrGameObj::Serialize(bin);
  bin << m_DrawScale;
  bin << m_uiCollideFlags;
  uint32_t unused = 0;
  bin << unused;
  bin << m_bShowsOnMiniMap;
  bin << m_bRevealed;
  bin << m_fMiniMapScale;
  // The level places an entity at its draw height and sizes its collision by its width: a size no
  // configuration gives would put it far above the floor or let it touch the whole level.
  if (bin.IsLoading() && !bin.HasFailed()) {
    const float most = cfMaxSize;
    const BrVector& s = m_DrawScale;
    if (!(std::fabs(s.x) <= most && std::fabs(s.y) <= most && std::fabs(s.z) <= most &&
          std::fabs(m_fMiniMapScale) <= most)) {
      GLog.printf("ERROR: Saved entity %s is drawn %g x %g x %g, larger than %g", m_Text.c_str() ? m_Text.c_str() : "",
                  double(s.x), double(s.y), double(s.z), double(most));
      bin.MarkFailed(nullptr);
    }
  }
}

namespace {
BrMiniMap* GameMiniMap() {
  BrApplication* app = Engine().App();
  if (!app || !app->IsA(BrGame::Type)) return nullptr;
  return static_cast<BrGame*>(app)->GetMiniMap();
}
}  // namespace

void BrDemoEntity::Destroy() {
  if (m_bShowsOnMiniMap && m_bRevealed) {
    BrApplication* app = Engine().App();
    if (app && app->IsA(BrGame::Type)) {
      // An entity of a map that is being loaded or thrown away was never on the running game's minimap; its
      // id there names another entity, which must stay.
      if (WorldMap() == app->Map())
        if (BrMiniMap* minimap = GameMiniMap()) minimap->RemoveActor(m_iID);
      m_bRevealed = false;
    }
  }
  BrGameObj::Destroy();
}

void BrDemoEntity::Draw(BrRenderBase* render) {
  if (m_bVisible) m_Portrait.Draw(render);
  if (m_bShowsOnMiniMap)
    if (BrMiniMap* minimap = GameMiniMap()) minimap->AddActor(m_iID, m_uiMinimapIcon);
  BrGameObj::Draw(render);
}

void BrDemoEntity::DebugDraw(BrRenderBase* render) {
  BrGameObj::DebugDraw(render);
  BrMap* map = WorldMap();
  BrApplication* app = Engine().App();
  if (!render || !map || !app || !map->IsDebugInfoOn(BrStringT<char>("Collision"))) return;
  BrActor* player = app->GetPlayer();
  if (!player) return;
  BrCoords& frame = GetCoords();
  if ((frame.Position - player->GetCoords().Position).Size() >= 500.0f) return;
  BrVector centre = frame.Position;
  BrVector axis = frame.Y;
  render->Draw3DCylinder(&centre, &axis, m_DrawScale.x, 2.0f * m_DrawScale.y, BrARGB(128, 0, 255, 0));
}

// An entity drawn larger than a saved game may hold would be written into every save of its level, and each of
// those saves refused when loaded: the game would lose the player's progress to a typing slip in a mod.
bool BrDemoEntity::SizeInReach(float size, const char* section, const char* key) {
  if (std::fabs(size) <= cfMaxSize) return true;
  if (BrScriptDaemon* script = Engine().Script())
    script->RefuseBeyond(section, key, size, cfMaxSize, "larger than any entity may be drawn");
  return false;
}

void BrDemoEntity::LoadScript(const char* section, BrCfgFile* cfg) {
  SetName(BrStringT<char>(section));
  BrScriptDaemon* script = Engine().Script();
  if (!cfg || !script || !section) return;
  float f = 0.0f;
  int i = 0;
  char text[ciTextLen] = {0};
  const BrStringT<char> name(GetName());

  if (script->LoadProperty(f, section, cfg, "Size") && SizeInReach(f, section, "Size"))
    m_DrawScale = BrVector(f, f, 0.0f);
  if (script->LoadProperty(f, section, cfg, "Width") && SizeInReach(f, section, "Width"))
    m_DrawScale = BrVector(f, m_DrawScale.y, 0.0f);
  if (script->LoadProperty(f, section, cfg, "Height") && SizeInReach(f, section, "Height"))
    m_DrawScale = BrVector(m_DrawScale.x, f, 0.0f);
  if (script->LoadProperty(text, ciTextLen, section, cfg, "Text")) SetText(BrStringT<char>(text));

  // The HUD icon falls back on the last icon found, so an entity with only a facing icon still shows one.
  BrStringT<char> lastIcon;
  if (script->LoadProperty(text, ciTextLen, section, cfg, "Icon")) {
    m_Portrait.SetFocus(this);
    // Cleared, not flipped: reading the same section again (a reload, a second spawn) gives the same style.
    m_Portrait.Style() &= ~1u;
    m_Portrait.ScaleX() = m_DrawScale.x;
    m_Portrait.ScaleY() = m_DrawScale.y;
    lastIcon = BrStringT<char>(text);
    m_Portrait.SetEffector(BrStringT<char>("BB_") + name, lastIcon);
  }
  if (script->LoadProperty(text, ciTextLen, section, cfg, "FacingIcon")) {
    lastIcon = BrStringT<char>(text);
    m_Portrait.SetFacingEffector(BrStringT<char>("BB_Facing_") + name, lastIcon);
  }
  if (script->LoadProperty(text, ciTextLen, section, cfg, "HUDIcon"))
    SetHUDEffector(BrStringT<char>(text));
  else
    SetHUDEffector(lastIcon);

  uint32_t flags = 0;
  if (script->LoadProperty(i, section, cfg, "CollideOther") && i != 0) flags |= eEntityCollideOther;
  if (script->LoadProperty(i, section, cfg, "CollideWorld") && i != 0) flags |= eEntityCollideWorld;
  m_uiCollideFlags = flags | eEntityCollideAlways;

  if (script->LoadProperty(f, section, cfg, "FacesTravel")) m_Portrait.SetFreezeHorizontalFacing(brTruncate(f) == 0);
  if (script->LoadProperty(f, section, cfg, "ShowsOnMinimap")) m_bShowsOnMiniMap = brTruncate(f) != 0;

  BrRenderBase* render = Engine().Render();
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  if (script->LoadProperty(text, ciTextLen, section, cfg, "MinimapIcon")) {
    BrStringT<char> iconName = BrStringT<char>("Map") + text;
    if (fx && render->TextureMgr()) m_uiMinimapIcon = uint32_t(fx->LoadIconA(BrStringT<char>(text), iconName));
  } else {
    BrStringT<char> iconName("MapItem");
    if (fx && render->TextureMgr())
      m_uiMinimapIcon = uint32_t(fx->LoadIconA(BrStringT<char>("Textures\\ui\\mapItem.tga"), iconName));
  }
  if (script->LoadProperty(f, section, cfg, "MinimapScale")) m_fMiniMapScale = brClamp(f, 1.0f, 10.0f);

  BrAudioMgrBase* audio = Engine().Audio();
  if (script->LoadProperty(text, ciTextLen, section, cfg, "RevealFirst") && audio)
    audio->CreateAudio(BrStringT<char>(text), m_FirstRevealSound);
  if (script->LoadProperty(text, ciTextLen, section, cfg, "RevealAll") && audio)
    audio->CreateAudio(BrStringT<char>(text), m_RevealSound);
  if (script->LoadProperty(text, ciTextLen, section, cfg, "Tooltip")) SetTooltip(BrStringT<char>(text));
}

void BrDemoEntity::DisplayMsg(char*) {}
void BrDemoEntity::DisplayMsgf(char*, ...) {}
BrStringT<char> BrDemoEntity::GetTooltip() { return m_Tooltip; }

void BrDemoEntity::SetHUDEffector(const BrStringT<char>& texture) {
  if (texture.Length() == 0) return;
  BrRenderBase* render = Engine().Render();
  if (!render || !render->TextureMgr() || !render->FXMgr()) return;
  const unsigned int handle = render->TextureMgr()->GetTexture(texture);
  BrEffector* effector = render->FXMgr()->CreateEffector(BrStringT<char>("Shader2d"));
  if (!effector) return;
  if (BrRenderPass* pass = effector->GetPass(0)) {
    pass->m_iTexture = int32_t(handle);
    pass->m_uiFlags = 4;
  }
  BrStringT<char> name = BrStringT<char>("HUDICON_") + BrStringT<char>(GetName());
  m_uiHUDEffector = uint32_t(render->FXMgr()->AddEffector(name, effector));
}

void BrDemoEntity::MiniMapReveal() {
  BrAudioMgrBase* audio = Engine().Audio();
  if (audio && m_RevealSound.GetID() > 0) audio->PlayAudio3D(m_RevealSound, GetCoords().Position);
  if (!m_bRevealed) {
    if (audio && m_FirstRevealSound.GetID() > 0) audio->PlayAudio3D(m_FirstRevealSound, GetCoords().Position);
    m_bRevealed = true;
  }
}

bool BrDemoEntity::IsTouching(BrDemoEntity* other) {
  if (!other) return false;
  BrVector a = GetCoords().Position;
  BrVector b = other->GetCoords().Position;
  a.y = 0.0f;
  b.y = 0.0f;
  return (a - b).Size() < other->m_DrawScale.x + m_DrawScale.x;
}
