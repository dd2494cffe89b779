// BrRAGPlayerHUD: the player's own HUD: messages, quick slots, inventory cells and the panels drawn each frame.
#pragma once

#include <cstdint>

#include "adventure/flow/BrRAGHUD.h"
#include "adventure/flow/BrRAGPlayerMsg.h"
#include "engine/presentation/BrAudioID.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrRAGDamage;
class BrRAGPlayer;
class BrRAGWeapon;
class BrRenderBase;

// Created by name ("BrRAGPlayerHUD") for the player, who hangs the panel "ingame_playerhud" on it, gives it its
// owner id and then calls Init. The player is resolved from the owner id on every use; no pointer is kept.
class BrRAGPlayerHUD : public BrRAGHUD {
  BR_DECLARE_CLASS(BrRAGPlayerHUD)
public:
  // Empty lists, quick-slot timer 0, low-health and low-oil timers -2.
  BrRAGPlayerHUD();
  BrRAGPlayerHUD(const BrRAGPlayerHUD& other);
  BrRAGPlayerHUD& operator=(const BrRAGPlayerHUD& other);
  // Destroy, then the members.
  ~BrRAGPlayerHUD() override;

  // The base's form, then the ten quick slots.
  void Serialize(BrBin& bin) override;
  // The framework HUD's Init, the twenty inventory cells, no messages, the image tables emptied, no level-up
  // effect, ten empty quick slots; true. A second call rebuilds the cells and slots instead of adding more.
  bool Init() override;
  // Ages the messages and the timers from the player's health and oil, then the HUD's step. Without a player
  // it does nothing.
  void Step(float dt) override;
  // Empties the messages, then the HUD's Destroy.
  void Destroy() override;
  // The HUD, then (only for a valid player) the weapon cell, stats bar and player cell, the numbers on the
  // inventory cells, the messages, the lantern cell and the quick-slot bar, in that order.
  void Draw(BrRenderBase* const render) override;
  // Takes out of the widget manager, and deletes, every player HUD that no object of the current map holds: the
  // HUDs of the players of an earlier game or of a replaced map. Returns how many went.
  static int RemoveUnheld();

  // Adds the message unless a live (or held) one with the same non-empty text is there; reuses the first free slot.
  void AddMessage(BrRAGPlayerMsg msg);
  // Releases every slot whose text is the message's (non-empty) text.
  void RemoveMessage(BrRAGPlayerMsg msg);
  // Releases that slot; an index outside the list changes nothing.
  void RemoveMessage(int index);
  int GetNumMessageSlots() const { return mMessages.GetCount(); }
  // The slot at i; null outside the list.
  const BrRAGPlayerMsg* GetMessageSlot(int i) const;

  // The first free inventory cell shows the slot; nothing when every cell is taken.
  void NewItemInInvSlot(int slot);
  // The first cell that shows the slot shows none again.
  void LostItemInInvSlot(int slot);

  // Clicks the first cell whose item type is bound to key (0 to 9), at most once per 0.25 s.
  void UseQuickSlot(int key);
  // Binds the item type to key, unbinding it from every other key.
  void AssignQuickSlot(int key, const BrStringT<char>& itemType);
  // A copy of the slot's item type; "Unknown" for a key outside 0 to 9.
  BrStringT<char> GetQuickSlot(int key);
  // Stores the item type in the slot without touching the others (a saved game being read); 0 to 9 only.
  void SetQuickSlot(int key, const BrStringT<char>& itemType);

  // Draws the HUD in the playing state's own pass, beneath its fade-in tile.
  void DrawUnderFade(BrRenderBase* const render);

  // Starts the 5-second level-up effect.
  void DoLevelUp();

  float GetLevelUpTimer() const { return mfLevelUpTimer; }
  float GetLowHealthTimer() const { return mfLowHealthTimer; }
  float GetLowOilTimer() const { return mfLowOilTimer; }

  // Inventory grid and quick-slot bar placement, in screen fractions.
  static float mfInvPanelX;
  static float mfInvPanelY;
  static float mfInvPanelWidth;
  static float mfInvPanelHeight;
  static float mfInvSlotsWide;
  static float mfInvSlotsHigh;
  static float mfQuickSlotsPanelX;
  static float mfQuickSlotsPanelY;
  static float mfQuickSlotsPanelWidth;
  // Length of the level-up effect, and of level-up, rank-drain and out-of-ammunition messages.
  static float cfLevelUpEffectDurationSECs;
  // Player and lantern cells; cfPlayerCellY is recomputed from the aspect ratio before each use.
  static float cfPlayerCellX;
  static float cfPlayerCellY;
  static float cfPlayerCellSizeX;
  static float cfPlayerCellSizeY;
  static float cfLanternCellX;
  // Panel images, loaded once per process.
  static int miPlayerCellFX;
  static int miLanternCellFX;
  static int miStatsCellFX;
  static int miStatsBarFX;
  static int miHealthIconFX;
  static int miOilIconFX;
  static int miFistIconFX;
  static int miStrIconFX;
  static int miToHitIconFX;
  static int miSpdIconFX;
  static int miDefIconFX;
  static int miRankIconFX;
  // Warning sounds, made on first use.
  static BrAudioID miLowHealthSFX;
  static BrAudioID miLowOilSFX;

protected:
  // Whether this call of Draw draws: never for a HUD its player no longer holds; in play only when the widget
  // manager draws it, in any other state only when its player does (with the world).
  bool DrawsThisPass();
  void EmptyMessages();
  void DrawMessages(BrRenderBase* const render);
  // Twenty cells (ten by two) added to the panel "ingame_playerhud".
  void CreateInvItemControls();
  // Health below a third of the maximum, or below 5; false without a player.
  bool IsHealthLow();

  // The panels (drawn in the order Draw gives).
  void DrawPlayerInfo(BrRenderBase* const render);
  void DrawPlayerCell(BrRenderBase* const render);
  void DrawHealthGauge(BrRenderBase* const render);
  void DrawXPChart(BrRenderBase* const render);
  void DrawEquippedWeaponInfo(BrRenderBase* const render);
  // The symbols of the weapon's damage, which the caller has worked out once for the panel.
  void DrawWeaponSpecialSymbols(BrRenderBase* const render, BrRAGDamage& damage, float x, float y, float cursorX,
                                float cursorY);
  void DrawLanternCell(BrRenderBase* const render);
  void DrawLanternFlames(BrRenderBase* const render);
  void DrawLanternGauge(BrRenderBase* const render);
  void DrawQuickSlots(BrRenderBase* const render);

  // The owner as a valid player; null otherwise.
  BrRAGPlayer* GetPlayer();
  // The panel "ingame_playerhud"; null when it is missing.
  BrUIControl* GetPlayerPanel();
  // The current cursor's position in screen fractions and its size; zeros without a cursor.
  void GetCursorInfo(BrRenderBase* const render, float& x, float& y, float& w, float& h);

  int32_t miDiffModeFX;
  int32_t miDiffModeSkullsFX;
  TDArray<BrRAGPlayerMsg> mMessages;
  TDArray<int> mXPPieFX;
  TDArray<int> mGaugeFX;
  TDArray<int> mLampFX;
  float mfLevelUpTimer;
  TDArray<BrStringT<char>> mQuickSlots;
  float mfQuickSlotTimer;
  float mfLowHealthTimer;
  float mfLowOilTimer;
};
