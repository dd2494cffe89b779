// BrRAGGameStateOptions: the options screen's controls, their values read from the configuration, and its drawing.
#include "adventure/flow/BrRAGGameStateOptions.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "adventure/flow/BrRAGFlowStates.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/presentation/BrUISelector.h"
#include "engine/presentation/BrUITextButton.h"

BR_IMPLEMENT_CLASS(BrRAGGameStateOptions, BrRAGGameState)

namespace {

const BrARGB cBlack(255, 0, 0, 0);
const BrARGB cRollover(255, 255, 244, 0);

template <class T>
T* MakeTextControl(BrUIControl* node, const char* className, const char* id, float x, float y, float w, float h) {
  T* control = brflow::Spawn<T>(className);
  if (!control) return nullptr;
  control->SetArea(x, y, w, h);
  control->SetID(BrStringT<char>(id));
  control->SetFont(BrStringT<char>("Fonts\\fontScript.tga"));
  control->SetTextColour(cBlack);
  control->SetRolloverTextColour(cRollover);
  if (!node) {
    delete control;
    return nullptr;
  }
  node->AddChildControl(control);
  return control;
}

BrUISelector* MakeSelector(BrUIControl* node, const char* id, float y, float w, float h,
                           const TDArray<BrStringT<char>>& items) {
  BrUISelector* selector = MakeTextControl<BrUISelector>(node, "BrUISelector", id, 0.48f, y, w, h);
  if (!selector) return nullptr;
  for (int i = 0; i < items.GetCount(); ++i) selector->AddSelection(items[i]);
  selector->SetTextSize(3);
  selector->RightJustify(0.65f);
  return selector;
}

TDArray<BrStringT<char>> Items(std::initializer_list<const char*> texts) {
  TDArray<BrStringT<char>> out;
  for (const char* t : texts) out.Add(BrStringT<char>(t));
  return out;
}

BrStringT<char> ResolutionText(int width, int height) {
  char text[64];
  snprintf(text, sizeof(text), "<%ix%i>", width, height);
  return BrStringT<char>(text);
}

BrUISelector* FindSelector(BrUIControl* node, const char* id) {
  BrUIControl* control = node ? node->GetControl(BrStringT<char>(id), true) : nullptr;
  if (!control || !control->IsA(BrUISelector::Type)) return nullptr;
  return static_cast<BrUISelector*>(control);
}

// Selects the entry with exactly that text; false (selection unchanged) when no entry has it.
bool Select(BrUISelector* selector, const BrStringT<char>& text) {
  selector->SetCurrSelection(text);
  BrStringT<char> shown;
  selector->GetText(shown);
  return shown == text;
}

const char* const kSelectorIds[4] = {"OptResolution", "OptMouseSpeed", "OptHints", "OptMusic"};

}  // namespace

const char* BrRAGGameStateOptions::MouseSpeedText(int speed) {
  if (speed <= 25) return "<Slow>";
  if (speed <= 45) return "<Medium>";
  // "<Fast>" is stored as 100, but any speed above the middle setting (the shipped 75 among them) reads back
  // as fast; OK writes a selector only when the player changed it, so such a speed is kept.
  return "<Fast>";
}

bool BrRAGGameStateOptions::ShowsEntryText(const char* id, const BrStringT<char>& text) const {
  for (int i = 0; i < 4; ++i)
    if (std::strcmp(id, kSelectorIds[i]) == 0) return mEntryText[i].Length() > 0 && mEntryText[i] == text;
  return false;
}

BrRAGGameStateOptions::BrRAGGameStateOptions() : muiParchmentFX(0) {}
BrRAGGameStateOptions::~BrRAGGameStateOptions() {}

bool BrRAGGameStateOptions::Init() {
  BrRAGGameState::Init();
  BrRenderBase* render = Engine().Render();
  const float h = 0.05f * brflow::Aspect(render);
  BrUIControl* node = brflow::MakeNode(brflow::HUDOf(this), "options", false);
  brflow::MakeButton(node, "OptionsOKBtn", 0.7f, 0.5f, 0.18f, h, "Textures\\ui\\menus\\ok.tga",
                     "Textures\\ui\\menus\\okover.tga");
  brflow::MakeButton(node, "OptionsCancelBtn", 0.12f, 0.5f, 0.18f, h, "Textures\\ui\\menus\\cancel.tga",
                     "Textures\\ui\\menus\\cancelover.tga");
  if (BrUITextButton* test =
          MakeTextControl<BrUITextButton>(node, "BrUITextButton", "SpeakerTest", 0.41f, 0.5f, 0.2f, h)) {
    test->SetText(BrStringT<char>("Speaker Test"));
    test->SetTextSize(8);
    test->CentreAt(0.5f, 0.39f);
  }
  TDArray<BrStringT<char>> modes;
  const int numModes = render ? render->GetNumResolutions() : 0;
  for (int i = 0; i < numModes; ++i) {
    int width = 0;
    int height = 0;
    render->GetResolution(i, width, height);
    modes.Add(ResolutionText(width, height));
  }
  MakeSelector(node, "OptResolution", 0.175f, 0.18f, h, modes);
  MakeSelector(node, "OptMouseSpeed", 0.215f, 0.2f, h, Items({"<Medium>", "<Fast>", "<Slow>"}));
  MakeSelector(node, "OptHints", 0.255f, 0.2f, h, Items({"<On>", "<Off>"}));
  MakeSelector(node, "OptMusic", 0.295f, 0.2f, h, Items({"<On>", "<Off>"}));
  if (node) node->SetActive(false);
  return true;
}

void BrRAGGameStateOptions::OnEntry() {
  BrRAGGameState::OnEntry();
  for (BrStringT<char>& text : mEntryText) text = BrStringT<char>();
  BrHUD* hud = brflow::HUDOf(this);
  if (!GetOwner() || !hud) return;
  hud->ActivateControl(BrStringT<char>("options"), true);
  BrUIControl* node = hud->GetControl(BrStringT<char>("options"), true);
  BrConfigCache* config = Engine().GetConfig();
  if (!node || !config) return;

  // Each selector set from a stored value remembers its entry, so that OK leaves that value alone unless the
  // player moves the selector; a selector whose key is missing remembers nothing and is written by OK.
  auto fromStored = [this](int index, BrUISelector* s) {
    s->RightJustify(0.65f);
    s->GetText(mEntryText[index]);
  };
  int width = 0;
  int height = 0;
  if (BrUISelector* s = FindSelector(node, "OptResolution")) {
    if (config->GetInteger("Display", "ScreenWidth", width) && config->GetInteger("Display", "ScreenHeight", height)) {
      // A stored size the device does not offer shows the mode the device runs in, not some other listed mode.
      BrRenderBase* render = Engine().Render();
      if (!Select(s, ResolutionText(width, height)) && render)
        Select(s, ResolutionText((int)render->GetWidth(), (int)render->GetHeight()));
      fromStored(0, s);
    }
  }
  int value = 0;
  if (BrUISelector* s = FindSelector(node, "OptMouseSpeed")) {
    if (config->GetInteger("App", "MouseSpeedX", value)) {
      Select(s, BrStringT<char>(MouseSpeedText(value)));
      fromStored(1, s);
    }
  }
  if (BrUISelector* s = FindSelector(node, "OptHints")) {
    if (config->GetInteger("App", "Hints", value)) {
      Select(s, BrStringT<char>(value == 1 ? "<On>" : "<Off>"));
      fromStored(2, s);
    }
  }
  if (BrUISelector* s = FindSelector(node, "OptMusic")) {
    if (config->GetInteger("Audio", "NoMusic", value)) {
      Select(s, BrStringT<char>(value == 1 ? "<Off>" : "<On>"));
      fromStored(3, s);
    }
  }
}

void BrRAGGameStateOptions::OnExit() {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->DeactivateControl(BrStringT<char>("options"), true);
  BrRAGGameState::OnExit();
}

void BrRAGGameStateOptions::Step(float dt) {
  BrRAGGameState::Step(dt);
  brflow::ControllerStep(this);
}

void BrRAGGameStateOptions::DrawControlPair(BrRenderBase* const render, float y, const BrStringT<char>& left,
                                            const BrStringT<char>& right) {
  brflow::Text(render, 0.35f, y, cBlack, eFontFormatNone, "%s", left.c_str() ? left.c_str() : "");
  brflow::Text(render, 0.65f, y, cBlack, eFontFormatRight, "%s", right.c_str() ? right.c_str() : "");
}

void BrRAGGameStateOptions::Draw(BrRenderBase* const render) {
  if (!render) return;
  if (muiParchmentFX == 0)
    muiParchmentFX = (uint32_t)brflow::LoadIcon(render, "Textures\\ui\\menus\\parchbox.tga", "ShaderOptionsParch");
  brflow::Sprite(render, 0.0f, 0.0f, 1.0f, 1.0f, brflow::FindEffector(render, "ShaderSplashFX"), 0.5f,
                 BrARGB(255, 100, 100, 100));
  brflow::Sprite(render, 0.3f, 0.1f, 0.4f, 0.85f, muiParchmentFX, 0.001f, BrARGB(255, 255, 255, 255));
  brflow::FontUp(render, 1);
  const char* labels[4] = {"Resolution", "Mouse Speed", "Hints", "Music"};
  const float rows[4] = {0.175f, 0.215f, 0.255f, 0.295f};
  for (int i = 0; i < 4; ++i) brflow::Text(render, 0.35f, rows[i], cBlack, eFontFormatNone, "%s", labels[i]);
  brflow::FontDown(render, 1);
  brflow::FontDown(render, 1);
  const char* table[10][2] = {{"Left Mouse", "Move, Pickup"},
                              {"Left Mouse", "Use, Equip"},
                              {"Shift-Left Mouse", "Quick Slot"},
                              {"Right Mouse", "Drop Item"},
                              {"A,D (J,L)", "Rotate Camera"},
                              {"W,S (I,K)", "Lantern Power"},
                              {"Q,E (U,O)", "Minimap Zoom"},
                              {"P", "Pause"},
                              {"ESC", "Options"},
                              {"<,>", "Volume Up/Down"}};
  for (int i = 0; i < 10; ++i)
    DrawControlPair(render, 0.47f + 0.04f * (float)i, BrStringT<char>(table[i][0]), BrStringT<char>(table[i][1]));
  brflow::FontUp(render, 1);
  BrRAGGameState::Draw(render);
}

void BrRAGGameStateOptions::DrawHUD(BrRenderBase* const render) {
  if (BrHUD* hud = brflow::HUDOf(this)) hud->Draw(render);
}
