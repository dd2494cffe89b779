// BrRAGUIDialog, BrRAGUIGameOverDialog and BrRAGUIHotKeyPrompt: framed dialogs fitted to their content, the death
// dialog and the quick-slot prompt.
#include "adventure/flow/BrRAGUIDialog.h"

#include "adventure/flow/BrRAGGame.h"
#include "adventure/flow/BrRAGInvItemCtrl.h"
#include "adventure/flow/BrRAGPlayerHUD.h"
#include "core/BrARGB.h"
#include "engine/kernel/BrActor.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrRAGUIDialog, BrUIDialog)
BR_IMPLEMENT_CLASS(BrRAGUIGameOverDialog, BrRAGUIDialog)
BR_IMPLEMENT_CLASS(BrRAGUIHotKeyPrompt, BrUIDialog)

namespace {

// One screen effector per bar image, named like every control texture so that a dialog and a button showing the
// same image share it.
unsigned int LoadBar(const BrStringT<char>& path) {
  BrRenderBase* render = Engine().Render();
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  if (!fx || path.Length() == 0) return 0;
  const int index = fx->LoadIconA(path, BrStringT<char>("ShaderControl") + path);
  return index > 0 ? static_cast<unsigned int>(index) : 0u;
}

}  // namespace

BrRAGUIDialog::BrRAGUIDialog() : muiTopFX(0), muiBaseFX(0), mbLaidOut(false) {}

BrRAGUIDialog::BrRAGUIDialog(const BrRAGUIDialog& other)
    : BrUIDialog(other), muiTopFX(other.muiTopFX), muiBaseFX(other.muiBaseFX), mbLaidOut(other.mbLaidOut) {}

BrRAGUIDialog& BrRAGUIDialog::operator=(const BrRAGUIDialog& other) {
  if (this != &other) {
    BrUIDialog::operator=(other);
    muiTopFX = other.muiTopFX;
    muiBaseFX = other.muiBaseFX;
    mbLaidOut = other.mbLaidOut;
  }
  return *this;
}

BrRAGUIDialog::~BrRAGUIDialog() { BrUIDialog::Destroy(); }

void BrRAGUIDialog::Serialize(BrBin& bin) { BrUIDialog::Serialize(bin); }

void BrRAGUIDialog::SetTopTexture(const BrStringT<char>& path) { muiTopFX = LoadBar(path); }

void BrRAGUIDialog::SetBaseTexture(const BrStringT<char>& path) { muiBaseFX = LoadBar(path); }

void BrRAGUIDialog::Draw(BrRenderBase* const render) {
  if (!render) return;
  const float bar = m_fMargin * m_fWidth;
  if (!mbLaidOut) {
    m_fHeight = DrawDialog(render, false);
    mbLaidOut = true;
  }
  if (IsModal()) render->DrawFadeTile(0.5f, 0.001f);
  if (m_iEffector != 0 && m_bActive)
    render->DrawSprite(m_fPosX, m_fPosY, m_fWidth, m_fHeight, static_cast<unsigned int>(m_iEffector), 0.001f, m_Colour,
                       0.0f, 0.001f, 0.001f, 0.999f, 2.0f * m_fHeight - 0.001f);
  if (muiTopFX != 0 && m_bActive)
    render->DrawSprite(m_fPosX, m_fPosY - bar / 2.0f, m_fWidth, bar, muiTopFX, 0.001f, m_Colour, 0.0f, 0.001f, 0.001f,
                       0.999f, 0.999f);
  if (muiBaseFX != 0 && m_bActive)
    render->DrawSprite(m_fPosX, m_fPosY + m_fHeight - bar / 2.0f, m_fWidth, bar, muiBaseFX, 0.001f, m_Colour, 0.0f,
                       0.001f, 0.001f, 0.999f, 0.999f);
  for (int i = 0; i < GetNumChildControls(); ++i) {
    BrUIControl* child = GetChildControl(i);
    if (child && child->IsActive()) child->Draw(render);
  }
  DrawDialog(render, true);
}

float BrRAGUIDialog::DrawDialog(BrRenderBase* const render, bool draw) {
  const float pad = m_fWidth * m_fMargin;
  const float cx = m_fPosX + pad;
  float cy = m_fPosY + pad;
  // Index 1 is a built-in material, never an icon.
  if (m_iIconEffector > 1) {
    const float iw = m_fIconSize * m_fWidth;
    const float ih = render ? iw * render->GetAspectRatio() : iw;
    if (draw && render) {
      BrARGB white(255, 255, 255, 255);
      render->DrawSprite(cx, cy, iw, ih, static_cast<unsigned int>(m_iIconEffector), 0.001f, white, 0.0f, 0.001f,
                         0.001f, 0.999f, 0.999f);
    }
    cy += ih;
  }
  BrFontMgr* fonts = render ? render->FontMgr() : nullptr;
  if (fonts) {
    const int previous = fonts->GetCurrFontID();
    fonts->SetFont(m_Font);
    fonts->SizeUp(m_iTextSize);
    if (m_Text.Length() != 0) {
      if (draw) {
        BrARGB black(255, 0, 0, 0);
        char format[] = "%s";
        render->DrawTextf(cx, cy, black, eFontFormatNone, format, m_Text.c_str());
      }
      cy += fonts->GetTextRect(m_Text).GetHeight();
    }
    // The options come with or without text: a modal dialog without its buttons could only be left by Escape.
    if (GetNumChildControls() == 0) SpawnDialogOptions(cy);
    fonts->SizeDown(m_iTextSize);
    fonts->SetFont(previous);
  }
  return (cy + pad) - m_fPosY;
}

BrRAGUIGameOverDialog::BrRAGUIGameOverDialog() {}

BrRAGUIGameOverDialog::~BrRAGUIGameOverDialog() {}

void BrRAGUIGameOverDialog::Destroy() {
  // The dialog closes from inside a click handled in the middle of the playing state's step; tearing the map
  // down here would pull it from under that step, so the game ends at the end of the frame instead.
  BrApplication* app = Engine().App();
  BrRAGGame* game = app ? static_cast<BrRAGGame*>(app->SafeCast(&BrRAGGame::Type)) : nullptr;
  if (game && !m_bDestroyed && game->GetPlayer()) game->RequestGameOver();
  BrUIDialog::Destroy();
}

BrRAGUIHotKeyPrompt::BrRAGUIHotKeyPrompt() : mpItemCtrl(nullptr) {}

BrRAGUIHotKeyPrompt::BrRAGUIHotKeyPrompt(const BrRAGUIHotKeyPrompt& other)
    : BrUIDialog(other), mpItemCtrl(other.mpItemCtrl) {}

BrRAGUIHotKeyPrompt& BrRAGUIHotKeyPrompt::operator=(const BrRAGUIHotKeyPrompt& other) {
  if (this != &other) {
    BrUIDialog::operator=(other);
    mpItemCtrl = other.mpItemCtrl;
  }
  return *this;
}

BrRAGUIHotKeyPrompt::~BrRAGUIHotKeyPrompt() { BrUIDialog::Destroy(); }

void BrRAGUIHotKeyPrompt::KeyPressed(int key) {
  if (key < '0' || key > '9') return;
  const int slot = key - '0';
  BrApplication* app = Engine().App();
  BrActor* player = app ? app->GetPlayer() : nullptr;
  BrHUD* hud = player ? player->GetHUD() : nullptr;
  BrRAGPlayerHUD* playerHUD = hud ? static_cast<BrRAGPlayerHUD*>(hud->SafeCast(&BrRAGPlayerHUD::Type)) : nullptr;
  if (playerHUD && mpItemCtrl) playerHUD->AssignQuickSlot(slot, mpItemCtrl->GetInvItemType());
  // Closing the modal destroys this prompt; the widget manager defers the deletion until the key hand-over ends.
  if (BrGUI* gui = Engine().GUI()) gui->SetModalControl(nullptr);
}
