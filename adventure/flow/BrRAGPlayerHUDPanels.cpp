// BrRAGPlayerHUD's panels: weapon cell, stats bar, player and lantern cells with their gauges, quick-slot bar, warnings.
#include <string>

#include "adventure/flow/BrRAGFlowDraw.h"
#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGDamage.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGPlayer.h"
#include "adventure/world/BrRAGRangedWeapon.h"
#include "adventure/world/BrRAGWeapon.h"
#include "core/BrNumeric.h"
#include "engine/kernel/BrEngine.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrSoundFX.h"

namespace {

const BrARGB cWhite(255, 255, 255, 255);

// The HUD's always-shown numbers, each formatted again only when it changes. Keyed by the values alone, so one
// set serves every HUD (there is one on screen at a time).
struct PanelLines {
  brflow::CachedLine damage, speed, ammo, rank, health, oil;
  brflow::CachedLine stats[4];
  brflow::CachedLine keys[10];
};
PanelLines& Lines() {
  static PanelLines lines;
  return lines;
}

// Loads an image once: a static index still 0 is loaded, anything else kept.
void LoadOnce(BrRenderBase* render, int& index, const char* file, const char* name) {
  if (index == 0) index = brflow::LoadIcon(render, file, name);
}

// Fills a table of numbered images ("...01.tga" to "...NN.tga") when it is empty.
void LoadTable(BrRenderBase* render, TDArray<int>& table, int n, const char* fileStem, const char* nameStem) {
  if (table.GetCount() > 0) return;
  for (int i = 1; i <= n; ++i) {
    char file[260];
    char name[260];
    snprintf(file, sizeof(file), "%s%02d.tga", fileStem, i);
    snprintf(name, sizeof(name), "%s%02d", nameStem, i);
    table.Add(brflow::LoadIcon(render, file, name));
  }
}

// The table's entry at i, i kept inside the table; 0 (draws nothing) for an empty table.
unsigned int Entry(const TDArray<int>& table, int i) {
  if (table.GetCount() == 0) return 0;
  if (i < 0) i = 0;
  if (i >= table.GetCount()) i = table.GetCount() - 1;
  return (unsigned int)table[i];
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The text with every part from "(" to its matching ")" removed, brackets included.
BrStringT<char> WithoutBrackets(const BrStringT<char>& text) {
  std::string out;
  int depth = 0;
  for (const char* c = text.c_str(); c && *c; ++c) {
    if (*c == '(') {
      ++depth;
    } else if (*c == ')' && depth > 0) {
      --depth;
    } else if (depth == 0) {
      out += *c;
    }
  }
  return BrStringT<char>(out.c_str());
}

void PlayAlarm(BrAudioID& sound, const char* file, float timer) {
  BrAudioMgrBase* audio = Engine().Audio();
  if (!audio) return;
  if (!sound.Ready()) audio->CreateAudio(BrStringT<char>(file), sound);
  BrSoundFX* fx = audio->GetAudio(sound);
  if (fx && !fx->IsPlaying() && timer > 0.0f && timer < 10.0f) audio->PlayAudio2D(sound);
}

}  // namespace

void BrRAGPlayerHUD::GetCursorInfo(BrRenderBase* const render, float& x, float& y, float& w, float& h) {
  x = y = w = h = 0.0f;
  BrHUD* hud = BrHUD::GameHUD();
  BrCursor* cursor = hud ? hud->GetCursor(-1) : nullptr;
  if (!cursor || !render || render->GetWidth() == 0 || render->GetHeight() == 0) return;
  x = cursor->CursorScreenX() / (float)render->GetWidth();
  y = cursor->CursorScreenY() / (float)render->GetHeight();
  w = cursor->GetCursorWidth();
  h = cursor->GetCursorHeight();
}

void BrRAGPlayerHUD::DrawEquippedWeaponInfo(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  const float aspect = brflow::Aspect(render);
  const float H = aspect * 0.2f;
  LoadOnce(render, miStatsCellFX, "Textures\\ui\\hud\\statscell.tga", "ShaderStatsCell");
  LoadOnce(render, miFistIconFX, "Textures\\icons\\fist.tga", "ShaderFistIcon");
  brflow::Sprite(render, 0.0f, 0.0f, 0.2f, aspect * 0.33f, (unsigned int)miStatsCellFX, 0.001f, mHUDColour);

  BrRAGWeapon* weapon = player->GetWeapon(0);
  if (!weapon || !weapon->IsValid()) return;
  float cx, cy, cw, ch;
  GetCursorInfo(render, cx, cy, cw, ch);
  brflow::FontUp(render, 3);
  BrRAGDamage damage;
  weapon->GetWeaponDamage(damage);
  DrawWeaponSpecialSymbols(render, damage, 0.012f, 0.67f * H, cx, cy);

  brflow::TextLine(render, 0.09f, 0.819f * H, cWhite, eFontFormatCentre,
                   Lines().damage.Number((int)damage.GetPoints()));
  if (cx > 0.065f && cx < 0.115f && cy > 0.819f * H - 0.025f && cy < 0.819f * H + 0.025f)
    brflow::Text(render, cx + cw, cy + ch, cWhite, eFontFormatCentre, "%s", "Damage");

  brflow::TextLine(render, 0.1618f, 0.52f * H, cWhite, eFontFormatCentre,
                   Lines().speed.Number((int)(weapon->GetWeaponSpeed() * 10.0f)));
  if (cx > 0.1368f && cx < 0.1868f && cy > 0.52f * H - 0.025f && cy < 0.52f * H + 0.025f)
    brflow::Text(render, cx + cw, cy + ch, cWhite, eFontFormatCentre, "%s", "Speed");

  if (weapon->GetHUDEffector() != 0) {
    brflow::Sprite(render, 0.04f, 0.06f, 0.08f, aspect * 0.08f, (unsigned int)weapon->GetHUDEffector(), 0.001f, cWhite);
    if (weapon->IsA(BrRAGRangedWeapon::Type) && static_cast<BrRAGRangedWeapon*>(weapon)->GetLoadedAmmo()) {
      BrStringT<char> ammo;
      player->GetRequiredAmmoType(ammo);
      brflow::TextLine(render, 0.1512f, 0.215f * H, cWhite, eFontFormatNone,
                       Lines().ammo.Number(player->Inventory().GetNumItemsOfType(ammo)));
    }
  } else {
    brflow::Sprite(render, 0.04f, 0.06f, 0.08f, aspect * 0.08f, (unsigned int)miFistIconFX, 0.001f, cWhite);
  }
  if (cx > 0.1262f && cx < 0.1762f && cy > 0.215f * H - 0.025f && cy < 0.215f * H + 0.025f)
    brflow::Text(render, cx + cw, cy + ch, cWhite, eFontFormatCentre, "%s", "Ammo");
  brflow::FontDown(render, 3);
}

void BrRAGPlayerHUD::DrawWeaponSpecialSymbols(BrRenderBase* const render, BrRAGDamage& damage, float x, float y,
                                              float cursorX, float cursorY) {
  // Read on every call, so that a changed resolution spaces the symbols for the new screen.
  const float aspect = brflow::Aspect(render);
  const float step = aspect * 0.06f;
  float cx, cy, cw, ch;
  GetCursorInfo(render, cx, cy, cw, ch);
  auto symbol = [&](const BrStringT<char>& file, const BrStringT<char>& tooltip) {
    BrStringT<char> name("WeaponSpecial");
    name += file;
    const int fx = brflow::LoadIcon(render, file.c_str(), name.c_str());
    brflow::Sprite(render, x, y, 0.05f, aspect * 0.05f, (unsigned int)fx, 0.001f, cWhite);
    if (cursorX > x && cursorX < x + 0.05f && cursorY > y && cursorY < y + 0.05f)
      brflow::Text(render, cursorX + cw, cursorY + ch, cWhite, eFontFormatCentre, "%s",
                   tooltip.c_str() ? tooltip.c_str() : "");
    y += step;
  };
  for (int i = 0; i < damage.GetNumHitEffects(); ++i) {
    // Hit effects are spawn texts, written with or without the mutator classes' "MUT" prefix ("Poison(1.5)",
    // "MUTPoison(5,2)") as the map spawns both; the icon file carries the prefix once.
    const BrStringT<char> effect = damage.GetHitEffect(i);
    const BrStringT<char> bare = WithoutBrackets(effect);
    BrStringT<char> file("Textures\\icons\\mutators\\");
    if (bare.Length() < 3 || bare(0, 3) != BrStringT<char>("MUT")) file += "MUT";
    file += bare;
    file += ".tga";
    symbol(file, effect);
  }
  for (int i = 0; i < damage.GetNumEdges(); ++i) {
    const BrStringT<char> edge = damage.GetEdge(i);
    BrStringT<char> file("Textures\\icons\\mutators\\edges\\");
    file += edge;
    file += ".tga";
    symbol(file, edge);
  }
}

void BrRAGPlayerHUD::DrawPlayerInfo(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  DrawPlayerCell(render);
  LoadOnce(render, miStatsBarFX, "Textures\\ui\\hud\\statbar.tga", "ShaderStatBar");
  LoadOnce(render, miStrIconFX, "Textures\\ui\\hud\\str.tga", "ShaderStatStr");
  LoadOnce(render, miSpdIconFX, "Textures\\ui\\hud\\spd.tga", "ShaderStatSpd");
  LoadOnce(render, miToHitIconFX, "Textures\\ui\\hud\\tohit.tga", "ShaderStatToHit");
  LoadOnce(render, miDefIconFX, "Textures\\ui\\hud\\def.tga", "ShaderStatDef");
  LoadOnce(render, miRankIconFX, "Textures\\ui\\hud\\rank.tga", "ShaderStatRank");
  brflow::Sprite(render, 0.2f, 0.94f, 0.6f, 0.05f, (unsigned int)miStatsBarFX, 0.001f, mHUDColour);
  brflow::Sprite(render, 0.2f, 0.94f, 0.05f, 0.05f, (unsigned int)miRankIconFX, 0.001f, mHUDColour);
  brflow::Sprite(render, 0.54f, 0.94f, 0.05f, 0.05f, (unsigned int)miStrIconFX, 0.001f, mHUDColour);
  brflow::Sprite(render, 0.61f, 0.94f, 0.05f, 0.05f, (unsigned int)miToHitIconFX, 0.001f, mHUDColour);
  brflow::Sprite(render, 0.68f, 0.94f, 0.05f, 0.05f, (unsigned int)miSpdIconFX, 0.001f, mHUDColour);
  brflow::Sprite(render, 0.75f, 0.94f, 0.05f, 0.05f, (unsigned int)miDefIconFX, 0.001f, mHUDColour);

  float cx, cy, cw, ch;
  GetCursorInfo(render, cx, cy, cw, ch);
  brflow::FontUp(render, 2);
  const int rank = player->GetRank();
  if (rank == 20) {
    brflow::Text(render, 0.25f, 0.95f, cWhite, eFontFormatNone, "%s", "Tidewrack");
  } else {
    const int xp = player->GetXP();
    const int next = player->GetXPForRank(rank + 1);
    const char* line = Lines().rank.Get(rank, xp, next, [&](char* text, size_t size) {
      const BrStringT<char> rankName = player->GetRankName();
      snprintf(text, size, "%s (%i/%i)", rankName.c_str() ? rankName.c_str() : "", xp, next);
    });
    brflow::TextLine(render, 0.25f, 0.95f, cWhite, eFontFormatNone, line);
  }
  struct Stat {
    int value;
    float x;
    const char* tooltip;
    float from;
  };
  const Stat stats[4] = {{(int)player->GetStrength(), 0.56f, "Strength", 0.54f},
                         {(int)player->GetHitProbability(), 0.63f, "Attack", 0.61f},
                         {(int)(player->GetGroundSpeed() / 100.0f), 0.70f, "Speed", 0.68f},
                         {(int)player->GetArmourClass(), 0.77f, "Defence", 0.75f}};
  for (int i = 0; i < 4; ++i) {
    const Stat& s = stats[i];
    brflow::TextLine(render, s.x, 0.96f, cWhite, eFontFormatNone, Lines().stats[i].Number(s.value));
    if (cy > 0.94f && cy < 0.99f && cx > s.from && cx < s.from + 0.05f)
      brflow::Text(render, cx + cw, cy - ch, cWhite, eFontFormatCentre, "%s", s.tooltip);
  }
  cfPlayerCellY = 1.0f - brflow::Aspect(render) * cfPlayerCellSizeY;
  if (cx > 0.1f && cx < 0.2f && cy > cfPlayerCellY && cy < cfPlayerCellY * 1.1f)
    brflow::Text(render, cx + cw, cy + ch, cWhite, eFontFormatCentre, "Health: (%i/%i)", player->GetHealth(),
                 player->GetMaxHealth());
  brflow::FontDown(render, 2);
}

void BrRAGPlayerHUD::DrawPlayerCell(BrRenderBase* const render) {
  const float aspect = brflow::Aspect(render);
  cfPlayerCellY = 1.0f - aspect * cfPlayerCellSizeY;
  LoadOnce(render, miPlayerCellFX, "Textures\\ui\\hud\\playercell.tga", "ShaderPlayerCell");
  brflow::Sprite(render, cfPlayerCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY,
                 (unsigned int)miPlayerCellFX, 0.001f, mHUDColour);
  DrawXPChart(render);
  DrawHealthGauge(render);
}

void BrRAGPlayerHUD::DrawXPChart(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  LoadTable(render, mXPPieFX, 5, "Textures\\ui\\hud\\xppie", "ShaderXPPie");
  const int rank = player->GetRank();
  const int base = player->GetXPForRank(rank);
  const int span = player->GetXPForRank(rank + 1) - base;
  int fifths = 0;
  if (span >= 5) fifths = (player->GetXP() - base) / (span / 5);
  if (rank == 20) fifths = 0;
  // Experience outside the rank's span (a drained rank, a table with gaps) still picks an image of the table.
  fifths = Clamp(fifths, 0, 5);
  const float aspect = brflow::Aspect(render);
  cfPlayerCellY = 1.0f - aspect * cfPlayerCellSizeY;
  unsigned int fx = 0;
  if (mfLevelUpTimer > 0.0f)
    fx = Entry(mXPPieFX, 4);
  else if (fifths > 0)
    fx = Entry(mXPPieFX, fifths - 1);
  if (fx != 0)
    brflow::Sprite(render, cfPlayerCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY, fx, 0.001f,
                   cWhite);
}

void BrRAGPlayerHUD::DrawHealthGauge(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  BrRAGPlayerMsg warning;
  warning.mColour = BrARGB(200, 255, 0, 0);
  warning.mText = "!!! LOW HEALTH WARNING !!!";
  // A standing warning: held, so that it is shown until health recovers and withdraws it.
  warning.mbHold = true;
  if (IsHealthLow()) {
    AddMessage(warning);
    PlayAlarm(miLowHealthSFX, "Sounds\\lhealth.wav", mfLowHealthTimer);
  } else {
    RemoveMessage(warning);
  }

  LoadTable(render, mGaugeFX, 10, "Textures\\ui\\hud\\hgauge", "Shaderhgauge");
  LoadOnce(render, miHealthIconFX, "Textures\\ui\\hud\\health.tga", "Shaderhealthicon");
  const int health = player->GetHealth();
  const int maximum = player->GetMaxHealth();
  int level = 0;
  if (maximum > 0) level = (int)((float)health / ((float)maximum / 10.0f));
  level = Clamp(level, 0, 10);
  BrARGB colour(255, 0, 255, 0);
  if (level < 7) colour = BrARGB(255, 255, 243, 58);
  if (level < 4) colour = BrARGB(255, 255, 0, 0);
  const float aspect = brflow::Aspect(render);
  cfPlayerCellY = 1.0f - aspect * cfPlayerCellSizeY;
  if (level > 0)
    brflow::Sprite(render, cfPlayerCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY,
                   Entry(mGaugeFX, level - 1), 0.001f, colour);
  brflow::Sprite(render, cfPlayerCellSizeX, cfPlayerCellY + 0.005f, 0.03f, aspect * 0.03f, (unsigned int)miHealthIconFX,
                 0.001f, cWhite);
  const int shown = health < 0 ? 0 : health;
  const float offset = shown <= 9 ? 0.015f : (shown <= 99 ? 0.02f : 0.03f);
  brflow::FontUp(render, 2);
  brflow::TextLine(render, cfPlayerCellSizeX - offset, cfPlayerCellY + 0.01f, cWhite, eFontFormatCentre,
                   Lines().health.Number(shown));
  brflow::FontDown(render, 2);
}

namespace {

// The lantern step 0 to 4 from the player's lantern level.
int LanternStep(BrRAGPlayer* player) {
  const float lo = BrRAGPlayer::cfMinLanternPower;
  const float hi = BrRAGPlayer::cfMaxLanternPower;
  const int step = (int)((player->GetLanternLevel() - lo) / ((hi - lo) / 5.0f));
  return Clamp(step, 0, 4);
}

}  // namespace

void BrRAGPlayerHUD::DrawLanternCell(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  const float aspect = brflow::Aspect(render);
  cfPlayerCellY = 1.0f - aspect * cfPlayerCellSizeY;
  LoadOnce(render, miLanternCellFX, "Textures\\ui\\hud\\lanterncell.tga", "ShaderLanternCell");
  brflow::Sprite(render, cfLanternCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY,
                 (unsigned int)miLanternCellFX, 0.001f, mHUDColour);
  DrawLanternFlames(render);
  DrawLanternGauge(render);

  float cx, cy, cw, ch;
  GetCursorInfo(render, cx, cy, cw, ch);
  brflow::FontUp(render, 2);
  if (cx > 0.85f && cx < 0.95f && cy > 0.8f && cy < 0.925f)
    brflow::Text(render, cx + cw, cy + ch, cWhite, eFontFormatRight, "Lantern: (%i/5)", LanternStep(player) + 1);
  if (cx > 0.8f && cx < 0.9f && cy > cfPlayerCellY && cy < cfPlayerCellY * 1.1f)
    brflow::Text(render, cx + cw, cy + ch, cWhite, eFontFormatRight, "Oil: (%i/100)", (int)player->GetOilRemaining());
  brflow::FontDown(render, 2);
}

void BrRAGPlayerHUD::DrawLanternFlames(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  LoadTable(render, mLampFX, 5, "Textures\\ui\\hud\\lamp", "Shaderlamp");
  const float aspect = brflow::Aspect(render);
  const int step = LanternStep(player);
  const BrARGB colour(128, 255, 255, 255);
  brflow::Sprite(render, cfLanternCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY,
                 Entry(mLampFX, step), 0.001f, colour);
  int flicker = step;
  if (brRandRangeF(0.0f, 1.0f) < 0.25f) flicker = Clamp((int)((float)step + brRandRangeF(-1.0f, 1.0f)), 0, 4);
  brflow::Sprite(render, cfLanternCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY,
                 Entry(mLampFX, flicker), 0.001f, colour);
}

void BrRAGPlayerHUD::DrawLanternGauge(BrRenderBase* const render) {
  BrRAGPlayer* player = GetPlayer();
  if (!player) return;
  const float oil = player->GetOilRemaining();
  BrRAGPlayerMsg warning;
  warning.mColour = BrARGB(200, 255, 0, 0);
  warning.mText = "!!! LOW OIL WARNING !!!";
  warning.mbHold = true;
  if (oil < 20.0f) {
    AddMessage(warning);
    PlayAlarm(miLowOilSFX, "Sounds\\loil.wav", mfLowOilTimer);
  } else {
    RemoveMessage(warning);
  }

  // Normally loaded by the health gauge earlier in the frame; loaded here too so the table is never empty.
  LoadTable(render, mGaugeFX, 10, "Textures\\ui\\hud\\hgauge", "Shaderhgauge");
  LoadOnce(render, miOilIconFX, "Textures\\icons\\items\\oil.tga", "Shaderoilicon");
  const int step = Clamp((int)((oil - 1.0f) / 10.0f), -1, 9);
  BrARGB colour(255, 0, 255, 0);
  if (step < 7) colour = BrARGB(255, 255, 230, 58);
  if (step < 4) colour = BrARGB(255, 255, 0, 0);
  const float aspect = brflow::Aspect(render);
  cfPlayerCellY = 1.0f - aspect * cfPlayerCellSizeY;
  if (step >= 0)
    brflow::Sprite(render, cfLanternCellX, cfPlayerCellY, cfPlayerCellSizeX, aspect * cfPlayerCellSizeY,
                   Entry(mGaugeFX, step), 0.001f, colour);
  brflow::Sprite(render, cfLanternCellX - 0.03f, cfPlayerCellY, 0.03f, aspect * 0.03f, (unsigned int)miOilIconFX,
                 0.001f, cWhite);
  brflow::FontUp(render, 2);
  brflow::TextLine(render, cfLanternCellX + 0.01f, cfPlayerCellY + 0.01f, cWhite, eFontFormatNone,
                   Lines().oil.Number((int)oil));
  brflow::FontDown(render, 2);
}

void BrRAGPlayerHUD::DrawQuickSlots(BrRenderBase* const render) {
  const unsigned int back = brflow::FindEffector(render, "ShaderInvCellBackFX");
  const float aspect = brflow::Aspect(render);
  const float w = mfQuickSlotsPanelWidth / 10.0f;
  float x = mfQuickSlotsPanelX;
  const float y = mfQuickSlotsPanelY;
  const BrARGB half(128, 255, 255, 255);
  BrUIControl* panel = GetPlayerPanel();
  for (int i = 0; i < 10; ++i) {
    const int key = (i + 1) % 10;
    brflow::Sprite(render, x, y, w, aspect * w, back, 0.001f, half);
    static const BrStringT<char> unbound;
    const BrStringT<char>& bound = key < mQuickSlots.GetCount() ? mQuickSlots[key] : unbound;
    for (int c = 0; panel && bound.Length() > 0 && c < panel->GetNumChildControls(); ++c) {
      BrUIControl* child = panel->GetChildControl(c);
      if (!child || !child->IsA(BrRAGInvItemCtrl::Type)) continue;
      if (static_cast<BrRAGInvItemCtrl*>(child)->GetInvItemType() == bound)
        brflow::Sprite(render, x, y, w, aspect * w, (unsigned int)child->GetEffector(), 0.001f, cWhite);
    }
    brflow::TextLine(render, x + 0.1f * w, y, cWhite, eFontFormatNone, Lines().keys[i].Number(key));
    x += w;
  }

  BrApplication* app = Engine().App();
  const int difficulty = (app && app->IsA(BrGame::Type)) ? static_cast<BrGame*>(app)->getDifficulty() : 1;
  if (miDiffModeFX == 0)
    miDiffModeFX = brflow::LoadIcon(render, "Textures\\icons\\shrooms\\shrmSpeed.tga", "ShaderDiffMode");
  if (miDiffModeSkullsFX == 0)
    miDiffModeSkullsFX = brflow::LoadIcon(render, "Textures\\ui\\mapEnemy.tga", "ShaderDiffModeSkulls");
  const float x0 = mfQuickSlotsPanelX;
  if (difficulty == 0) {
    brflow::Sprite(render, x0 - w, y, w, aspect * w, (unsigned int)miDiffModeFX, 0.001f, half);
    brflow::Sprite(render, x0 + 10.0f * w, y, w, aspect * w, (unsigned int)miDiffModeFX, 0.001f, half);
  } else if (difficulty >= 2) {
    brflow::Sprite(render, x0 - w, y, w, aspect * w, (unsigned int)miDiffModeSkullsFX, 0.001f, half);
    brflow::Sprite(render, x0 + 10.0f * w, y, w, aspect * w, (unsigned int)miDiffModeSkullsFX, 0.001f, half);
    if (difficulty > 2) {
      brflow::Sprite(render, x0 - 2.0f * w, y, w, aspect * w, (unsigned int)miDiffModeSkullsFX, 0.001f, half);
      brflow::Sprite(render, x0 + 11.0f * w, y, w, aspect * w, (unsigned int)miDiffModeSkullsFX, 0.001f, half);
    }
  }
}
