// The player HUD with a real player: messages aged, kept without duplicates and drawn as text or icon rows; the
// inventory cells following the inventory from the start equipment on, clicked, and the hot-key prompt; quick
// slots; health and oil warnings shown and withdrawn; gauges kept inside their tables; the order of drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "FlowTestWorld.h"
#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/flow/BrRAGPlayerMsg.h"
#include "adventure/world/BrRAGDemoEquipment.h"
#include "adventure/world/BrRAGInventory.h"
#include "adventure/world/BrRAGWeapon.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "platform/win32/win32_user.h"

using flowtest::FlowWorld;

namespace {

const char* kConfig =
    "[Hero]\nType=BrRAGPlayer\nHealth=100\nRankNames=Novice,Fighter,Hero\nRankXPs=0,100,1000\n"
    "Anatomy=Body,Hand,Hand\nHasLantern=1\nStartEquip=Sword\n\n"
    "[Weapon]\nType=BrRAGWeapon\nEquipsOn=Hand\n\n"
    "[Sword]\nType=Weapon\nDamage=5\nSpeed=4\nHUDIcon=Textures\\icons\\sword.tga\nText=A sword\n\n"
    "[Axe]\nType=Weapon\nDamage=6\nSpeed=2\nHUDIcon=Textures\\icons\\axe.tga\n\n"
    "[Potion]\nType=BrRAGItem\nCharges=3\nHUDIcon=Textures\\icons\\potion.tga\n\n"
    "[PickupPotion]\nType=BrRAGPickup\n\n";

BrRAGPlayerMsg Msg(const char* text, float time, bool hold = false) {
  BrRAGPlayerMsg m;
  m.mText = text;
  m.mfDisplayTime = time;
  m.mbHold = hold;
  return m;
}

int CountText(const FlowWorld& world, const std::string& text) {
  int n = 0;
  for (const auto& t : world.dev.texts)
    if (t.text == text) ++n;
  return n;
}

// The inventory cells of the HUD's panel, in panel order.
std::vector<BrRAGInvItemCtrl*> Cells(BrRAGPlayerHUD* hud) {
  std::vector<BrRAGInvItemCtrl*> out;
  BrUIControl* panel = hud->GetControl(BrStringT<char>("ingame_playerhud"), true);
  for (int i = 0; panel && i < panel->GetNumChildControls(); ++i) {
    BrUIControl* c = panel->GetChildControl(i);
    if (c && c->IsA(BrRAGInvItemCtrl::Type)) out.push_back(static_cast<BrRAGInvItemCtrl*>(c));
  }
  return out;
}

// The index of the first sprite drawn with the effector name; -1 when none.
int FirstSprite(const FlowWorld& world, const std::string& name) {
  RecordingEffectorMgr* fx = const_cast<RecordingRenderDevice&>(world.dev).Effectors();
  for (size_t i = 0; i < world.dev.sprites.size(); ++i) {
    const unsigned int e = world.dev.sprites[i].effector;
    if (e < fx->names.size() && fx->names[e] == name) return int(i);
  }
  return -1;
}

}  // namespace

TEST(RAGPlayerMsg, TextLinesAndIconRowsAgeAndDraw) {
  FlowWorld world("", {}, 8, 8, false);
  BrRenderBase* render = &world.dev;
  const float line = render->FontMgr()->GetNewLineHeight();

  // A default message is an empty text line; it leaves y where it was.
  BrRAGPlayerMsg plain;
  EXPECT_EQ(plain.mfDisplayTime, -1.0f);
  float y = 0.7f;
  plain.Draw(render, 0.5f, y);
  EXPECT_EQ(y, 0.7f);
  ASSERT_EQ(world.dev.texts.size(), 1u);
  EXPECT_EQ(world.dev.texts[0].text, "");
  EXPECT_EQ(world.dev.texts[0].flags, eFontFormatCentre);
  const int equals = BrRAGPlayerMsg::miEqualsFX;
  EXPECT_NE(equals, 0);

  // Icons without a result still draw as text.
  BrRAGPlayerMsg half = Msg("half", 1.0f);
  half.mIcons.Add(7);
  half.Draw(render, 0.5f, y);
  EXPECT_EQ(world.dev.texts.back().text, "half");

  // Two icons and a result: four cells centred on the screen, one line higher, the equals sign made once.
  world.dev.ClearRecords();
  BrRAGPlayerMsg row = Msg("", 5.0f);
  row.mIcons.Add(5);
  row.mIcons.Add(6);
  row.miResultIcon = 7;
  y = 0.7f;
  row.Draw(render, 0.1f, y);
  EXPECT_FLOAT_EQ(y, 0.7f - line);
  EXPECT_EQ(BrRAGPlayerMsg::miEqualsFX, equals);
  std::vector<float> xs;
  for (const auto& s : world.dev.sprites)
    if (s.effector == 5 || s.effector == 6 || s.effector == 7 || s.effector == (unsigned)equals) xs.push_back(s.x);
  ASSERT_EQ(xs.size(), 4u);
  EXPECT_NEAR(xs[0], 0.3925f, 1e-5);
  EXPECT_NEAR(xs[1], 0.4475f, 1e-5);
  EXPECT_NEAR(xs[2], 0.5025f, 1e-5);
  EXPECT_NEAR(xs[3], 0.5575f, 1e-5);

  // Ageing: a held message keeps its time; others run down past zero.
  BrRAGPlayerMsg held = Msg("held", 5.0f, true);
  held.Step(0.5f);
  EXPECT_EQ(held.mfDisplayTime, 5.0f);
  BrRAGPlayerMsg timed = Msg("timed", 5.0f);
  timed.Step(0.5f);
  EXPECT_EQ(timed.mfDisplayTime, 4.5f);
  timed.Step(10.0f);
  EXPECT_LT(timed.mfDisplayTime, 0.0f);

  // Equality ignores the icon values, not their number; copies are deep.
  BrRAGPlayerMsg other = row;
  other.mIcons[0] = 99;
  EXPECT_TRUE(other == row);
  EXPECT_EQ(row.mIcons[0], 5);
  other.mIcons.Add(1);
  EXPECT_FALSE(other == row);
}

TEST(RAGPlayerHUD, MessageListKeepsLiveMessagesOnceAndDrawsThemUpwards) {
  FlowWorld world(kConfig);
  BrRAGPlayer* player = world.SpawnPlayer();
  ASSERT_NE(player, nullptr);
  BrRAGPlayerHUD* hud = player->GetPlayerHUD();
  ASSERT_NE(hud, nullptr);

  hud->AddMessage(Msg("!!! LEVEL UP !!!", 5.0f));
  hud->AddMessage(Msg("!!! LEVEL UP !!!", 5.0f));
  hud->AddMessage(Msg("", 5.0f));
  hud->AddMessage(Msg("", 5.0f));
  EXPECT_EQ(hud->GetNumMessageSlots(), 3);

  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  EXPECT_EQ(CountText(world, "!!! LEVEL UP !!!"), 1);
  float first = -1.0f;
  float later = -1.0f;
  for (const auto& t : world.dev.texts) {
    if (t.text == "!!! LEVEL UP !!!") first = t.y;
    if (t.text == "" && later < 0.0f && first >= 0.0f) later = t.y;
  }
  EXPECT_FLOAT_EQ(first, 0.7f);
  EXPECT_LT(later, first);

  // After it has run out its slot is reused by the same text.
  hud->Step(6.0f);
  EXPECT_EQ(hud->GetMessageSlot(0)->mfDisplayTime, -1.0f);
  hud->AddMessage(Msg("!!! LEVEL UP !!!", 5.0f));
  EXPECT_EQ(hud->GetNumMessageSlots(), 3);
  EXPECT_EQ(hud->GetMessageSlot(0)->mfDisplayTime, 5.0f);

  // Removing by text releases every slot with that text; an empty text removes nothing; a bad index is ignored.
  hud->AddMessage(Msg("A", 5.0f));
  hud->AddMessage(Msg("B", 5.0f));
  hud->AddMessage(Msg("A", 3.0f, true));
  hud->RemoveMessage(Msg("A", 1.0f));
  int live = 0;
  for (int i = 0; i < hud->GetNumMessageSlots(); ++i)
    if (hud->GetMessageSlot(i)->mText == BrStringT<char>("A") && hud->GetMessageSlot(i)->mfDisplayTime > 0.0f) ++live;
  EXPECT_EQ(live, 0);
  hud->RemoveMessage(Msg("", 1.0f));
  hud->RemoveMessage(-1);
  hud->RemoveMessage(1000);

  // The level-up effect runs 5 s and ends at exactly -1.
  hud->DoLevelUp();
  EXPECT_EQ(hud->GetLevelUpTimer(), 5.0f);
  hud->Step(4.0f);
  hud->Step(1.5f);
  EXPECT_EQ(hud->GetLevelUpTimer(), -1.0f);
}

TEST(RAGPlayerHUD, CellsShowTheInventoryFromTheStartEquipmentOnAndPassClicks) {
  FlowWorld world(kConfig);
  BrRAGPlayer* player = world.SpawnPlayer();
  ASSERT_NE(player, nullptr);
  BrRAGPlayerHUD* hud = player->GetPlayerHUD();
  ASSERT_NE(hud, nullptr);
  std::vector<BrRAGInvItemCtrl*> cells = Cells(hud);
  ASSERT_EQ(cells.size(), 20u);
  EXPECT_NEAR(cells[19]->GetPosX(), 0.25f + 9 * 0.05f, 1e-5);
  EXPECT_NEAR(cells[19]->GetPosY(), 0.8f + 0.0665f, 1e-5);

  // The start equipment came before any frame: the first cell shows it and draws its icon.
  EXPECT_STREQ(cells[0]->GetInvItemType().c_str(), "Sword");
  EXPECT_STREQ(cells[1]->GetInvItemType().c_str(), "Unknown");
  BrDemoEntity* potion = world.Give(player, "Potion");
  ASSERT_NE(potion, nullptr);
  EXPECT_STREQ(cells[1]->GetInvItemType().c_str(), "Potion");
  // Entering a level shows the player's panel with its cells, as the interlude does.
  Engine().GUI()->ActivateControl(BrStringT<char>("ingame_playerhud"), true);
  world.dev.ClearRecords();
  world.Frame(0.016f);
  // Out of play the widget manager leaves the HUD to its player, which draws it with the world.
  hud->Draw(&world.dev);
  EXPECT_EQ(world.SpritesOf("ShaderInvCellBackFX").size() >= 20u, true);
  bool potionDrawn = false;
  for (const auto& s : world.dev.sprites)
    if (s.effector == (unsigned)potion->GetHUDEffector() && s.x == cells[1]->GetPosX()) potionDrawn = true;
  EXPECT_TRUE(potionDrawn);
  EXPECT_TRUE(world.Drew("3"));  // the potion's charges on its cell

  // A second Init does not double the cells or the quick slots.
  hud->Init();
  EXPECT_EQ(Cells(hud).size(), 20u);
  EXPECT_EQ(hud->GetQuickSlot(9).Length(), 0);
  EXPECT_STREQ(hud->GetQuickSlot(10).c_str(), "Unknown");
  cells = Cells(hud);
  hud->NewItemInInvSlot(0);
  hud->NewItemInInvSlot(1);
  Engine().GUI()->ActivateControl(BrStringT<char>("ingame_playerhud"), true);

  // A left click equips the sword through the inventory; a click outside the cell is not taken.
  BrRAGDemoEquipment* sword = static_cast<BrRAGDemoEquipment*>(
      world.Map()->GetObjectA(player->Inventory().GetItem(cells[0]->GetInvItemSlotIndex())));
  ASSERT_TRUE(sword->IsA(BrRAGDemoEquipment::Type));
  const bool wasEquipped = sword->IsEquipped();
  EXPECT_FALSE(cells[0]->LeftClick(0.01f, 0.01f));
  EXPECT_TRUE(cells[0]->LeftClick(cells[0]->GetPosX() + 0.01f, cells[0]->GetPosY() + 0.01f));
  EXPECT_NE(sword->IsEquipped(), wasEquipped);
  EXPECT_TRUE(cells[5]->LeftClick(cells[5]->GetPosX() + 0.01f, cells[5]->GetPosY() + 0.01f));  // empty cell

  // Shift with a click opens the hot-key prompt instead of using the item; a digit binds the sword to that key.
  brW32InjectKey(VK_LSHIFT, TRUE);
  EXPECT_TRUE(cells[5]->LeftClick(cells[5]->GetPosX() + 0.01f, cells[5]->GetPosY() + 0.01f));
  EXPECT_EQ(world.HUD()->GetControl(BrStringT<char>("hotkeyctrl"), true), nullptr);
  EXPECT_TRUE(cells[0]->LeftClick(cells[0]->GetPosX() + 0.01f, cells[0]->GetPosY() + 0.01f));
  brW32InjectKey(VK_LSHIFT, FALSE);
  EXPECT_NE(sword->IsEquipped(), wasEquipped);
  BrUIControl* prompt = world.HUD()->GetControl(BrStringT<char>("hotkeyctrl"), true);
  ASSERT_NE(prompt, nullptr);
  EXPECT_TRUE(prompt->IsModal());
  EXPECT_EQ(Engine().GUI()->GetFocusControl(), prompt);
  Engine().GUI()->KeyPressed('3');
  EXPECT_STREQ(hud->GetQuickSlot(3).c_str(), "Sword");

  // The quick slot clicks the cell at most once per 0.25 s; rebinding to another key clears the first.
  hud->Step(0.5f);
  hud->UseQuickSlot(3);
  hud->UseQuickSlot(3);
  EXPECT_EQ(sword->IsEquipped(), wasEquipped);
  hud->AssignQuickSlot(5, BrStringT<char>("Sword"));
  EXPECT_EQ(hud->GetQuickSlot(3).Length(), 0);
  hud->SetQuickSlot(-1, BrStringT<char>("Axe"));
  hud->SetQuickSlot(4, BrStringT<char>("Sword"));
  EXPECT_STREQ(hud->GetQuickSlot(5).c_str(), "Sword");

  // The quick-slot bar shows the bound item's icon and reads 1..9, 0.
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  int swordIcons = 0;
  for (const auto& s : world.dev.sprites)
    if (s.effector == (unsigned)sword->GetHUDEffector() && s.y == 0.01f) ++swordIcons;
  EXPECT_EQ(swordIcons, 2);

  // A right click anywhere drops the slot's item; the cell is released when the inventory reports it.
  const int slot = cells[1]->GetInvItemSlotIndex();
  EXPECT_TRUE(cells[1]->RightClick(0.99f, 0.01f));
  EXPECT_EQ(player->Inventory().GetItem(slot), -1);
  hud->LostItemInInvSlot(slot);
  EXPECT_EQ(cells[1]->GetInvItemSlotIndex(), -1);
}

TEST(RAGPlayerHUD, WarningsShowWhileHealthOrOilIsLowAndGaugesStayInTheirTables) {
  FlowWorld world(kConfig);
  BrRAGPlayer* player = world.SpawnPlayer();
  ASSERT_NE(player, nullptr);
  BrRAGPlayerHUD* hud = player->GetPlayerHUD();
  ASSERT_NE(hud, nullptr);

  player->SetHealth(30);
  EXPECT_TRUE(flowtest::PlayerHUDProbe::HealthLow(hud));
  player->SetHealth(34);
  EXPECT_FALSE(flowtest::PlayerHUDProbe::HealthLow(hud));
  player->SetMaxHealth(10);
  player->SetHealth(4);
  EXPECT_TRUE(flowtest::PlayerHUDProbe::HealthLow(hud));

  // Low health: the held warning is shown every frame (once), its alarm sounds in the first ten seconds (the
  // timer starts at -2 for a HUD that is low from the start).
  hud->Step(2.0f);
  world.dev.ClearRecords();
  hud->Step(0.1f);
  hud->Draw(&world.dev);
  hud->Step(0.1f);
  hud->Draw(&world.dev);
  EXPECT_EQ(CountText(world, "!!! LOW HEALTH WARNING !!!"), 2);
  EXPECT_EQ(world.audio.CountOf("create Sounds\\lhealth.wav"), 1);
  EXPECT_GE(world.audio.CountOf("play2d " + std::to_string(BrRAGPlayerHUD::miLowHealthSFX.GetID())), 1);
  EXPECT_GT(hud->GetLowHealthTimer(), 0.0f);

  // Health back: the warning goes; oil low: its warning comes.
  player->SetMaxHealth(100);
  player->SetHealth(100);
  player->AddOil(-95.0f);
  world.dev.ClearRecords();
  hud->Step(0.1f);
  hud->Draw(&world.dev);
  world.dev.ClearRecords();
  hud->Draw(&world.dev);  // the lantern gauge comes after the messages: its warning shows from the next frame
  EXPECT_EQ(CountText(world, "!!! LOW HEALTH WARNING !!!"), 0);
  EXPECT_EQ(CountText(world, "!!! LOW OIL WARNING !!!"), 1);
  EXPECT_EQ(hud->GetLowHealthTimer(), 0.0f);
  EXPECT_GT(hud->GetLowOilTimer(), 0.0f);

  // Full health is the tenth gauge image in green; a health above a lowered maximum still picks the tenth;
  // a maximum of 0 draws no gauge.
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  auto full = world.SpritesOf("Shaderhgauge10");
  ASSERT_EQ(full.size(), 1u);
  EXPECT_EQ(full[0].colour.g, 255);
  EXPECT_EQ(full[0].colour.r, 0);
  player->SetMaxHealth(50);
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  EXPECT_EQ(world.SpritesOf("Shaderhgauge10").size(), 1u);
  player->SetMaxHealth(0);
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  EXPECT_EQ(world.SpritesOf("Shaderhgauge10").size(), 0u);  // the oil gauge (5 left) is the first image
  player->SetMaxHealth(100);
  player->SetHealth(35);
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  auto third = world.SpritesOf("Shaderhgauge03");
  ASSERT_EQ(third.size(), 1u);
  EXPECT_EQ(third[0].colour.r, 255);
  EXPECT_EQ(third[0].colour.g, 0);

  // The order of drawing: weapon cell, player cell, stats bar, lantern cell, quick-slot bar.
  const int weapon = FirstSprite(world, "ShaderStatsCell");
  const int cell = FirstSprite(world, "ShaderPlayerCell");
  const int bar = FirstSprite(world, "ShaderStatBar");
  const int lantern = FirstSprite(world, "ShaderLanternCell");
  ASSERT_GE(weapon, 0);
  EXPECT_LT(weapon, cell);
  EXPECT_LT(cell, bar);
  EXPECT_LT(bar, lantern);
  int quick = -1;
  for (size_t i = lantern; i < world.dev.sprites.size(); ++i)
    if (world.dev.sprites[i].y == 0.01f) quick = int(i);
  EXPECT_GT(quick, lantern);

  // Without its player the HUD neither steps nor draws the panels.
  hud->SetHUDOwner(-1);
  const float timer = hud->GetLowOilTimer();
  hud->Step(1.0f);
  EXPECT_EQ(hud->GetLowOilTimer(), timer);
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  EXPECT_EQ(FirstSprite(world, "ShaderStatsCell"), -1);
}

TEST(RAGPlayerHUD, WeaponCellNamesItsEffectIconsOnceAndTheHoveredCellGrowsWithItsText) {
  const std::string config = std::string(kConfig) +
                             "[Venom]\nType=Weapon\nDamage=2\nHitEffects=MUTPoison(5,2),Prone(Fire)\n"
                             "HUDIcon=Textures\\icons\\venom.tga\n\n";
  FlowWorld world(config);
  BrRAGPlayer* player = world.SpawnPlayer();
  ASSERT_NE(player, nullptr);
  BrRAGPlayerHUD* hud = player->GetPlayerHUD();
  BrDemoEntity* venom = world.Give(player, "Venom");
  ASSERT_NE(venom, nullptr);
  player->UnEquipAll();
  static_cast<BrRAGDemoEquipment*>(venom)->Equip(player);
  ASSERT_EQ(player->GetWeapon(0), static_cast<BrRAGWeapon*>(static_cast<BrGameObj*>(venom)));
  Engine().GUI()->ActivateControl(BrStringT<char>("ingame_playerhud"), true);
  world.HUD()->SetCursor(0);
  BrCursor* cursor = world.HUD()->GetCursor(-1);
  ASSERT_NE(cursor, nullptr);

  // The effect's icon file is the mutator's name without its parameters, "MUT" once; its tooltip the full text.
  const float H = world.dev.GetAspectRatio() * 0.2f;
  cursor->CursorScreenX() = (0.012f + 0.02f) * 800.0f;
  cursor->CursorScreenY() = (0.67f * H + 0.02f) * 600.0f;
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  EXPECT_EQ(world.SpritesOf("WeaponSpecialTextures\\icons\\mutators\\MUTPoison.tga").size(), 1u);
  const auto& loads = world.dev.Textures()->loads;
  EXPECT_NE(std::find(loads.begin(), loads.end(), "Textures\\icons\\mutators\\MUTPoison.tga"), loads.end());
  for (const std::string& name : loads) EXPECT_EQ(name.find("MUTMUT"), std::string::npos);
  // An effect written without the prefix, as the game's weapons write them, gets it for its file.
  EXPECT_EQ(world.SpritesOf("WeaponSpecialTextures\\icons\\mutators\\MUTProne.tga").size(), 1u);
  EXPECT_TRUE(world.Drew("MUTPoison(5,2)"));
  EXPECT_TRUE(world.Drew("2"));  // the damage

  // The pointer over a filled cell: the icon grows by 0.004 on each side (height times the aspect ratio).
  std::vector<BrRAGInvItemCtrl*> cells = Cells(hud);
  BrRAGInvItemCtrl* cell = nullptr;
  for (BrRAGInvItemCtrl* c : cells)
    if (c->GetInvItemType() == BrStringT<char>("Venom")) cell = c;
  ASSERT_NE(cell, nullptr);
  cursor->CursorScreenX() = (cell->GetPosX() + 0.02f) * 800.0f;
  cursor->CursorScreenY() = (cell->GetPosY() + 0.02f) * 600.0f;
  hud->Step(0.016f);
  ASSERT_TRUE(cell->IsRolledOver());
  world.dev.ClearRecords();
  hud->Draw(&world.dev);
  bool grown = false;
  for (const auto& s : world.dev.sprites)
    if (s.effector == (unsigned)venom->GetHUDEffector() && std::fabs(s.x - (cell->GetPosX() - 0.004f)) < 1e-5f &&
        std::fabs(s.w - (cell->GetWidth() + 0.008f)) < 1e-5f &&
        std::fabs(s.h - (cell->GetHeight() + 0.008f * world.dev.GetAspectRatio())) < 1e-5f)
      grown = true;
  EXPECT_TRUE(grown);
  bool text = false;
  for (const auto& t : world.dev.texts)
    if (t.x == 0.5f && t.y == 0.75f) text = true;
  EXPECT_TRUE(text);
  EXPECT_EQ(world.SpritesOf("ShaderEquippedItemFX").size(), 1u);  // the equipped overlay
}

// The panel numbers are formatted again only when they change: a changed health, oil or experience must show
// on the very next frame, and a value changed back must show again too.
TEST(RAGPlayerHUD, PanelNumbersFollowTheirValuesFrameByFrame) {
  FlowWorld world(kConfig);
  BrRAGPlayer* player = world.SpawnPlayer();
  ASSERT_NE(player, nullptr);
  BrRAGPlayerHUD* hud = player->GetPlayerHUD();
  ASSERT_NE(hud, nullptr);
  auto frame = [&]() {
    world.dev.ClearRecords();
    hud->Draw(&world.dev);
  };
  auto rankLine = [&]() {
    char line[128];
    const BrStringT<char> name = player->GetRankName();
    snprintf(line, sizeof(line), "%s (%i/%i)", name.c_str() ? name.c_str() : "", player->GetXP(),
             player->GetXPForRank(player->GetRank() + 1));
    return std::string(line);
  };
  player->SetMaxHealth(100);
  player->SetHealth(87);
  frame();
  EXPECT_EQ(CountText(world, "87"), 1);
  const std::string before = rankLine();
  EXPECT_EQ(CountText(world, before), 1);
  frame();
  EXPECT_EQ(CountText(world, "87"), 1);
  player->SetHealth(61);
  player->AddXP(1);
  ASSERT_NE(rankLine(), before);
  frame();
  EXPECT_EQ(CountText(world, "87"), 0);
  EXPECT_EQ(CountText(world, "61"), 1);
  EXPECT_EQ(CountText(world, rankLine()), 1);
  EXPECT_EQ(CountText(world, before), 0);
  player->SetHealth(87);
  frame();
  EXPECT_EQ(CountText(world, "87"), 1);
  const int oil = int(player->GetOilRemaining());
  player->AddOil(-7.0f);
  frame();
  EXPECT_EQ(CountText(world, std::to_string(int(player->GetOilRemaining()))), 1);
  EXPECT_NE(int(player->GetOilRemaining()), oil);
}
