// Widgets inside a running game: the modal control's swap to the menu controller, rollover from the HUD's cursor,
// cursor tooltips and minimap reveals of map objects.
#include <gtest/gtest.h>

#include "engine/kernel/BrCamera.h"
#include "engine/kernel/BrController.h"
#include "engine/kernel/BrDemoEntity.h"
#include "engine/kernel/BrGame.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrMiniMap.h"
#include "tests/engine/kernel/WorldTestSupport.h"
#include "tests/engine/presentation/WidgetTestKit.h"

using brwidgettest::MakeControl;
using brwidgettest::WidgetTest;
using brworld::RunFolder;
using brworld::ScopedApp;

namespace {

// Stands in for the framework's menu controller, registered under its class name.
class MenuCtrlStandIn : public BrController {};
void* MakeMenuCtrl() { return static_cast<BrObject*>(new MenuCtrlStandIn()); }
BrClassFactory gMenuCtrlEntry("BrRAGMenuCtrl", &MakeMenuCtrl);

BrGame* MakeGame() { return new BrGame(); }

std::string ControllerName(BrApplication* app) {
  BrController* c = app->Camera()->GetController();
  return c && c->GetName() ? c->GetName() : "";
}

}  // namespace

TEST_F(WidgetTest, OpeningTheFirstModalControlSwitchesToTheMenuControllerAndClosingRestoresIt) {
  RunFolder folder;
  BrGame* game = MakeGame();
  ScopedApp app(game);
  game->Camera()->SetControllerType(BrStringT<char>("BrSlideCameraCtrl"));
  ASSERT_EQ(ControllerName(game), "BrSlideCameraCtrl");

  BrUIControl* first = MakeControl("first", 0, 0, 1, 1);
  BrUIControl* second = MakeControl("second", 0, 0, 1, 1);
  GUI().AddControl(first);
  GUI().AddControl(second);
  first->SetModal(true);
  EXPECT_EQ(ControllerName(game), "BrRAGMenuCtrl");
  EXPECT_STREQ(GUI().GetSavedController().c_str(), "BrSlideCameraCtrl");

  // A second modal control replaces the first and leaves the controller alone.
  second->SetModal(true);
  EXPECT_EQ(ControllerName(game), "BrRAGMenuCtrl");
  EXPECT_STREQ(GUI().GetSavedController().c_str(), "BrSlideCameraCtrl");

  GUI().SetModalControl(nullptr);
  EXPECT_EQ(ControllerName(game), "BrSlideCameraCtrl");
  EXPECT_EQ(GUI().GetControl(BrStringT<char>("second"), true), nullptr);
  EXPECT_EQ(GUI().GetControl(BrStringT<char>("first"), true), nullptr);
}

TEST_F(WidgetTest, AModalControlOpenedBeforeAnyControllerRemembersNothing) {
  RunFolder folder;
  BrGame* game = MakeGame();
  ScopedApp app(game);
  ASSERT_EQ(game->Camera()->GetController(), nullptr);
  BrUIControl* dialog = MakeControl("dialog", 0, 0, 1, 1);
  GUI().AddControl(dialog);
  dialog->SetModal(true);
  EXPECT_EQ(GUI().GetSavedController().Length(), 0);
  EXPECT_EQ(ControllerName(game), "BrRAGMenuCtrl");
  // Nothing to go back to: the menu controller stays.
  dialog->SetModal(false);
  EXPECT_EQ(ControllerName(game), "BrRAGMenuCtrl");
}

TEST_F(WidgetTest, ControlsRollOverWhereTheHUDCursorsHotSpotLies) {
  RunFolder folder;
  BrGame* game = MakeGame();
  ScopedApp app(game);
  BrHUD* hud = game->GetHUD();
  ASSERT_NE(hud, nullptr);
  BrUIControl* button = MakeControl("button", 0.5f, 0.5f, 0.1f, 0.1f);
  hud->AddChildControl(button);

  // No current cursor: no rollover.
  hud->Step(0.1f);
  EXPECT_FALSE(button->IsRolledOver());

  ASSERT_EQ(hud->AddCursor(BrStringT<char>("cursor.tga"), 0.5f, 0.5f), 0);
  hud->SetCursor(0);
  BrCursor* cursor = hud->GetCursor(-1);
  // Hot spot at (20, 15) pixels from the corner: the corner at (390, 290) puts it on (410, 305) = (0.5125, 0.508).
  cursor->CursorScreenX() = 390.0f;
  cursor->CursorScreenY() = 290.0f;
  game->Step(0.1f);
  EXPECT_TRUE(button->IsRolledOver());

  cursor->CursorScreenX() = 350.0f;
  game->Step(0.1f);
  EXPECT_FALSE(button->IsRolledOver());

  // Inactive children are not stepped, so their flag stays as it was.
  cursor->CursorScreenX() = 390.0f;
  button->SetActive(false);
  game->Step(0.1f);
  EXPECT_FALSE(button->IsRolledOver());
}

TEST_F(WidgetTest, CursorShowsTheTooltipOfAValidTargetOnly) {
  RunFolder folder;
  BrGame* game = MakeGame();
  ScopedApp app(game);
  BrDemoEntity* entity = new BrDemoEntity();
  entity->SetTooltip(BrStringT<char>("Rusty Chest"));
  app.Map()->AddObject(entity);
  BrCursor cursor;
  cursor.SetCursorDimensions(0.05f, 0.05f, BrVector(0, 0, 0));
  cursor.SetFX(2);
  cursor.CursorScreenX() = 400.0f;
  cursor.CursorScreenY() = 150.0f;
  cursor.SetTarget(entity);
  EXPECT_EQ(cursor.GetTargetID(), entity->GetID());
  EXPECT_EQ(cursor.GetCursorTarget(), entity);

  cursor.Draw(dev);
  ASSERT_EQ(dev->texts.size(), 1u);
  EXPECT_EQ(dev->texts[0].text, "Rusty Chest");
  EXPECT_FLOAT_EQ(dev->texts[0].x, 0.5f + 0.05f);
  EXPECT_NEAR(dev->texts[0].y, 0.25f + 0.05f * 800.0f / 600.0f, 1e-5f);
  EXPECT_EQ(dev->texts[0].colour.a, 200);

  // A destroyed target shows nothing and resolves to nothing.
  entity->Destroy();
  dev->ClearRecords();
  cursor.Draw(dev);
  EXPECT_TRUE(dev->texts.empty());
  EXPECT_EQ(cursor.GetCursorTarget(), nullptr);
}

TEST_F(WidgetTest, MiniMapRevealsAnActorTheSecondTimeItIsAdded) {
  RunFolder folder;
  BrGame* game = MakeGame();
  ScopedApp app(game);
  BrDemoEntity* entity = new BrDemoEntity();
  app.Map()->AddObject(entity);
  BrMiniMap map;
  map.AddActor(entity->GetID(), 5);
  EXPECT_FALSE(entity->GetRevealed());
  map.AddActor(entity->GetID(), 6);
  EXPECT_TRUE(entity->GetRevealed());
  EXPECT_EQ(map.GetActorRecord(0)->state, 2);
  map.AddActor(entity->GetID(), 7);
  EXPECT_EQ(map.GetNumActorRecords(), 1);
  EXPECT_EQ(map.GetActorRecord(0)->icon, 7u);

  // An object that is no entity is marked revealed without being asked to reveal itself.
  BrGameObj* plain = new BrGameObj();
  const int id = app.Map()->AddObject(plain);
  map.AddActor(id, 8);
  map.AddActor(id, 8);
  EXPECT_EQ(map.GetActorRecord(1)->state, 2);
}
