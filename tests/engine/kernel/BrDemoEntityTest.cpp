// Tests of entities configured from object sections: demo entity keys, actor and pickup keys, touching,
// minimap reveals and the actor's record across archive versions.
#include "engine/kernel/BrDemoEntity.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/BrCfgFile.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrPickup.h"
#include "engine/presentation/BrMiniMap.h"
#include "tests/support/RecordingAudioDevice.h"
#include "tests/support/RecordingRenderDevice.h"
#include "WorldTestSupport.h"

using namespace brworld;

namespace {
const char* kObjects =
    "[Base]\n"
    "Size=32\n"
    "Width=10\n"
    "Text=A thing\n"
    "[Both]\n"
    "Type=Base\n"
    "CollideOther=1\n"
    "CollideWorld=1\n"
    "MinimapScale=20\n"
    "FacesTravel=0.5\n"
    "ShowsOnMinimap=0\n"
    "Tooltip=Look at me\n"
    "[OtherOnly]\n"
    "CollideOther=1\n"
    "CollideWorld=0\n"
    "MinimapScale=0.5\n"
    "FacesTravel=1\n"
    "[Facing]\n"
    "FacingIcon=Textures\\face.tga\n"
    "[Icons]\n"
    "Icon=Textures\\icon.tga\n"
    "MinimapIcon=Textures\\map.tga\n"
    "RevealFirst=Sounds\\first.wav\n"
    "RevealAll=Sounds\\all.wav\n"
    "[Goblin]\n"
    "Health=7.9\n"
    "Speed=55\n"
    "[PickupSword]\n"
    "Hint=Swords cut\n"
    "[Pickup]\n"
    "Size=3\n"
    "[Long]\n"
    "Text=0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789\n";

// A script daemon, recording devices and the object file, for the length of a test.
class EntityTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::ofstream(folder.root / "Media" / "objects.cfg") << kObjects;
    cfg.Open("Media\\objects.cfg", 0x1000001);
    BrEngineTestSeams::Script() = &script;
    render.Init();
    audio.CreateAudio(BrStringT<char>("Sounds\\error.wav"), errorSound);  // id 0, as the real device preloads
    audio.ClearCalls();
  }
  void TearDown() override { BrEngineTestSeams::Script() = nullptr; }

  RunFolder folder;
  BrCfgFile cfg;
  BrScriptDaemon script;
  RecordingRenderDevice render;
  ScopedRenderDevice renderScope{&render};
  RecordingAudioDevice audio;
  ScopedEngineAudio audioScope{&audio};
  BrAudioID errorSound;
};
}  // namespace

TEST_F(EntityTest, SizesTextAndCollisionFlagsFollowTheSection) {
  BrDemoEntity e;
  e.LoadScript("Both", &cfg);
  EXPECT_STREQ(e.GetName(), "Both");
  EXPECT_TRUE(e.GetDrawScale() == BrVector(10, 32, 0));
  EXPECT_EQ(e.GetText(), BrStringT<char>("A thing"));
  EXPECT_EQ(e.GetCollideFlags(), 7u);
  EXPECT_FLOAT_EQ(e.GetMiniMapScale(), 10.0f * 10.0f);
  EXPECT_TRUE(e.Portrait().GetFreezeHorizontalFacing());  // 0.5 counts as 0
  EXPECT_FALSE(e.GetShowsOnMiniMap());
  EXPECT_EQ(e.GetTooltip(), BrStringT<char>("Look at me"));

  BrDemoEntity o;
  o.LoadScript("OtherOnly", &cfg);
  EXPECT_EQ(o.GetCollideFlags(), 5u);
  EXPECT_FLOAT_EQ(o.GetMiniMapScale(), 1.0f * 64.0f);
  EXPECT_FALSE(o.Portrait().GetFreezeHorizontalFacing());
  EXPECT_TRUE(o.GetShowsOnMiniMap());

  BrDemoEntity none;
  none.LoadScript("Both", nullptr);
  EXPECT_STREQ(none.GetName(), "Both");
  EXPECT_EQ(none.GetCollideFlags(), 0u);
  EXPECT_TRUE(none.GetDrawScale() == BrVector(64, 64, 0));

  // A text of 100 characters is kept whole (texts keep up to 255).
  BrDemoEntity longText;
  longText.LoadScript("Long", &cfg);
  EXPECT_EQ(longText.GetText().Length(), 100);
}

TEST_F(EntityTest, IconsBecomeEffectorsAndTheHudIconFallsBack) {
  BrDemoEntity facing;
  facing.LoadScript("Facing", &cfg);
  EXPECT_NE(facing.Portrait().GetFacingEffector(), 0u);
  EXPECT_NE(facing.GetHUDEffector(), 0);
  RecordingEffector* hud = render.Effectors()->At(unsigned(facing.GetHUDEffector()));
  ASSERT_NE(hud, nullptr);
  ASSERT_FALSE(hud->passes.empty());
  EXPECT_EQ(render.Textures()->statics[size_t(hud->passes[0].m_iTexture)], "Textures\\face.tga");
  EXPECT_EQ(hud->passes[0].m_uiFlags, 4u);
  EXPECT_EQ(render.Effectors()->names[size_t(facing.GetHUDEffector())], "HUDICON_Facing");

  BrDemoEntity plain;
  plain.LoadScript("Base", &cfg);
  EXPECT_EQ(plain.GetHUDEffector(), 0);
  EXPECT_NE(plain.GetMinimapIcon(), 0u);  // the default map icon
  EXPECT_EQ(render.Effectors()->names[plain.GetMinimapIcon()], "MapItem");

  BrDemoEntity icons;
  icons.LoadScript("Icons", &cfg);
  EXPECT_EQ(icons.Portrait().GetFocus(), &icons);
  EXPECT_EQ(icons.Portrait().Style(), 2u);  // turned upright
  EXPECT_FLOAT_EQ(icons.Portrait().ScaleX(), 64.0f);
  EXPECT_EQ(icons.Portrait().GetCurrentEffector(), icons.Portrait().GetEffector());
  EXPECT_EQ(render.Effectors()->names[icons.Portrait().GetEffector()], "BB_Icons");
  EXPECT_EQ(render.Effectors()->names[icons.GetMinimapIcon()], "MapTextures\\map.tga");

  // Effectors are shared by name: a second entity of the same name reuses the first one's.
  BrDemoEntity again;
  again.LoadScript("Icons", &cfg);
  EXPECT_EQ(again.Portrait().GetEffector(), icons.Portrait().GetEffector());
  // Reading the section again gives the same style: the bit is cleared, not flipped back.
  icons.LoadScript("Icons", &cfg);
  EXPECT_EQ(icons.Portrait().Style(), 2u);
}

TEST_F(EntityTest, RevealSoundsAndTouching) {
  BrDemoEntity e;
  e.LoadScript("Icons", &cfg);
  EXPECT_EQ(audio.CountOf("create Sounds\\first.wav"), 1);
  audio.ClearCalls();
  e.Location() = BrVector(1, 2, 3);
  e.MiniMapReveal();
  e.MiniMapReveal();
  EXPECT_TRUE(e.GetRevealed());
  int first = 0, all = 0;
  for (const std::string& c : audio.Calls()) {
    if (c.find("play3d " + std::to_string(e.FirstRevealSound().GetID())) == 0) ++first;
    if (c.find("play3d " + std::to_string(e.RevealSound().GetID())) == 0) ++all;
  }
  EXPECT_EQ(first, 1);
  EXPECT_EQ(all, 2);

  BrDemoEntity a, b;
  a.SetDrawScale(BrVector(10, 10, 0));
  b.SetDrawScale(BrVector(10, 10, 0));
  b.Location() = BrVector(15, 100, 0);
  EXPECT_TRUE(a.IsTouching(&b));
  b.Location() = BrVector(20, 0, 0);
  EXPECT_FALSE(a.IsTouching(&b));
  EXPECT_FALSE(a.IsTouching(nullptr));
}

TEST_F(EntityTest, ActorAndPickupKeys) {
  BrActor goblin;
  goblin.LoadScript("Goblin", &cfg);
  EXPECT_EQ(goblin.GetHealth(), 7);
  EXPECT_EQ(goblin.GetMaxHealth(), 7);
  EXPECT_FLOAT_EQ(goblin.GetGroundSpeed(), 55.0f);
  EXPECT_EQ(audio.CountOf("create Sounds\\hit.wav"), 1);
  EXPECT_EQ(audio.CountOf("create Sounds\\killed.wav"), 1);
  goblin.SetHealth(15);
  EXPECT_EQ(goblin.GetHealth(), 7);
  goblin.SetHealth(-3);
  EXPECT_EQ(goblin.GetHealth(), -3);
  audio.ClearCalls();
  goblin.Killed(BrStringT<char>("someone"));
  ASSERT_EQ(audio.Calls().size(), 1u);
  EXPECT_EQ(audio.Calls()[0].find("play3d " + std::to_string(goblin.DeathSound().GetID())), 0u);
  goblin.Location() = BrVector(4, 0, 4);
  EXPECT_FALSE(goblin.PathTo(BrVector(9, 9, 9)));  // the goal is kept, though the base finds no path
  EXPECT_TRUE(goblin.PathDestination() == BrVector(9, 9, 9));
  goblin.StopPathing();
  EXPECT_TRUE(goblin.PathDestination() == BrVector(4, 0, 4));

  BrPickup sword;
  sword.LoadScript("PickupSword", &cfg);
  EXPECT_EQ(sword.GetItemType(), BrStringT<char>("Sword"));
  EXPECT_EQ(sword.GetPickupHint(), BrStringT<char>("Swords cut"));
  BrPickup bare;
  bare.LoadScript("Pickup", &cfg);
  EXPECT_EQ(bare.GetItemType().Length(), 0);
}

TEST(BrPickup, DestroyingAPickupDestroysItsItem) {
  ScopedApp app(new BrApplication());
  BrMap* map = app.Map();
  BrPickup* pickup = new BrPickup();
  BrGameObj* item = new BrGameObj();
  map->AddObject(pickup);
  map->AddObject(item);
  pickup->SetPickupID(item->GetID());
  EXPECT_TRUE(pickup->Init());
  pickup->PickedUp(nullptr);
  EXPECT_FALSE(item->IsValid());
  EXPECT_FALSE(pickup->IsValid());
  EXPECT_EQ(pickup->GetPickupID(), -1);

  BrPickup* other = new BrPickup();
  map->AddObject(other);
  other->SetPickupID(item->GetID());  // already invalid: the id stays
  other->Destroy();
  EXPECT_EQ(other->GetPickupID(), item->GetID());

  // Pickups that hold each other (or themselves), as a corrupt save can make them, end in one pass.
  BrPickup* a = new BrPickup();
  BrPickup* b = new BrPickup();
  BrPickup* self = new BrPickup();
  map->AddObject(a);
  map->AddObject(b);
  map->AddObject(self);
  a->SetPickupID(b->GetID());
  b->SetPickupID(a->GetID());
  self->SetPickupID(self->GetID());
  a->Destroy();
  self->Destroy();
  EXPECT_FALSE(a->IsValid());
  EXPECT_FALSE(b->IsValid());
  EXPECT_FALSE(self->IsValid());
}

TEST(BrActor, HudColourIsStoredFromVersion268) {
  RunFolder folder;
  BrActor actor;
  actor.setHUDColour(BrARGB(1, 2, 3, 4));
  {
    BrBin out;
    ASSERT_TRUE(out.Open("Media\\actor.bin", 0));
    actor.Serialize(out);
    out.Close();
  }
  const auto withColour = fs::file_size(folder.root / "Media" / "actor.bin");
  // The same record inside a file of version 267 (a "GINF" header): read back without a colour.
  std::vector<char> bytes = RunFolder::ReadBytes(folder.root / "Media" / "actor.bin");
  std::vector<char> old = {'G', 'I', 'N', 'F', char(267 & 0xFF), char(267 >> 8), 0, 0};
  old.insert(old.end(), bytes.begin(), bytes.end() - 16);
  RunFolder::WriteBytes(folder.root / "Media" / "old.bin", old);
  BrBin in;
  in.Loading();
  ASSERT_TRUE(in.Open("Media\\old.bin", 0));
  EXPECT_EQ(in.GetVersion(), 267);
  BrActor loaded;
  loaded.Serialize(in);
  EXPECT_FALSE(in.HasFailed());
  EXPECT_EQ(loaded.getHUDColour().r, 0);  // the default colour stays
  EXPECT_GT(withColour, 16u);
}

namespace {
std::vector<std::string>& MiniMapCalls() {
  static std::vector<std::string> calls;
  return calls;
}
}  // namespace

class EntityTestMiniMap : public BrMiniMap {
  BR_DECLARE_CLASS(EntityTestMiniMap)
public:
  void AddActor(int id, unsigned int icon) override {
    MiniMapCalls().push_back("add " + std::to_string(id) + " " + std::to_string(icon));
  }
  void RemoveActor(int id) override { MiniMapCalls().push_back("remove " + std::to_string(id)); }
};
BR_IMPLEMENT_CLASS(EntityTestMiniMap, BrMiniMap)

// A game whose player is an actor of the test's choosing.
class EntityTestGame : public BrGame {
public:
  BrActor* GetPlayer() override { return player; }
  BrActor* player = nullptr;
};

TEST(BrDemoEntity, DrawsItsPortraitJoinsTheMiniMapAndShowsItsCollision) {
  RunFolder folder;
  RecordingRenderDevice render;
  ScopedRenderDevice renderScope(&render);
  render.Init();
  MiniMapCalls().clear();
  EntityTestGame* game = new EntityTestGame();
  game->SetMiniMapType(BrStringT<char>("EntityTestMiniMap"));
  ScopedApp app(game);
  BrMap* map = app.Map();
  ASSERT_NE(game->GetMiniMap(), nullptr);

  BrDemoEntity* e = new BrDemoEntity();
  map->AddObject(e);
  e->Location() = BrVector(0, 0, 100);
  e->Portrait().SetFocus(e);
  e->Portrait().ScaleX() = 2.0f;
  e->Portrait().ScaleY() = 2.0f;
  render.ClearRecords();
  map->Draw(&render);
  render.drawAllBillboards();
  EXPECT_EQ(render.draws.size(), 1u);  // the portrait's quad
  ASSERT_EQ(MiniMapCalls().size(), 1u);
  EXPECT_EQ(MiniMapCalls()[0], "add " + std::to_string(e->GetID()) + " 0");

  // At the camera's own position the portrait has no facing: nothing is drawn rather than a NaN frame.
  const BrVector kept = e->Location();
  e->Location() = game->Camera()->GetCoords().Position;
  render.ClearRecords();
  map->Draw(&render);
  render.drawAllBillboards();
  EXPECT_EQ(render.draws.size(), 0u);
  e->Location() = kept;

  e->SetVisible(false);
  render.ClearRecords();
  map->Draw(&render);
  render.drawAllBillboards();
  EXPECT_EQ(render.draws.size(), 0u);

  // The collision cylinder, only with the map's collision display on and the player near.
  BrActor* player = new BrActor();
  map->AddObject(player);
  game->player = player;
  render.ClearRecords();
  e->DebugDraw(&render);
  EXPECT_TRUE(render.lines.empty());
  map->ToggleDebugInfo(BrStringT<char>("Collision"));
  e->DebugDraw(&render);
  EXPECT_FALSE(render.lines.empty());
  render.ClearRecords();
  player->Location() = BrVector(0, 0, 700);
  e->DebugDraw(&render);
  EXPECT_TRUE(render.lines.empty());

  // Leaving: a revealed entity is taken off the minimap.
  MiniMapCalls().clear();
  e->MiniMapReveal();
  e->Destroy();
  ASSERT_EQ(MiniMapCalls().size(), 1u);
  EXPECT_EQ(MiniMapCalls()[0], "remove " + std::to_string(e->GetID()));
  EXPECT_FALSE(e->GetRevealed());
  game->player = nullptr;
}

TEST(BrDemoEntity, ACopyFollowsItself) {
  BrDemoEntity* original = new BrDemoEntity();
  original->Portrait().SetFocus(original);
  BrDemoEntity copy(*original);
  delete original;
  EXPECT_EQ(copy.Portrait().GetFocus(), &copy);
  copy.Location() = BrVector(3, 0, 0);
  EXPECT_TRUE(copy.Portrait().GetCoords().Position == BrVector(3, 0, 0));
}
