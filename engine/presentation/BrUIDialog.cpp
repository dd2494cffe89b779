// BrUIDialog: drawing the dialog and making its option buttons.
#include "engine/presentation/BrUIDialog.h"

#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUITextButton.h"

BR_IMPLEMENT_CLASS(BrUIDialog, BrUIControl)

BrUIDialog::BrUIDialog()
    : m_iIconEffector(0), m_fMargin(0.01f), m_Font("Fonts\\fontVanilla.tga"), m_iTextSize(0), m_fIconSize(0.1f) {}

BrUIDialog::BrUIDialog(const BrUIDialog& other)
    : BrUIControl(other),
      m_iIconEffector(other.m_iIconEffector),
      m_Text(other.m_Text),
      m_Options(other.m_Options),
      m_fMargin(other.m_fMargin),
      m_Font(other.m_Font),
      m_iTextSize(other.m_iTextSize),
      m_fIconSize(other.m_fIconSize) {}

BrUIDialog& BrUIDialog::operator=(const BrUIDialog& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  m_iIconEffector = other.m_iIconEffector;
  m_Text = other.m_Text;
  m_Options = other.m_Options;
  m_fMargin = other.m_fMargin;
  m_Font = other.m_Font;
  m_iTextSize = other.m_iTextSize;
  m_fIconSize = other.m_fIconSize;
  return *this;
}

BrUIDialog::~BrUIDialog() { DeleteOptions(); }

void BrUIDialog::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

void BrUIDialog::Destroy() {
  DeleteOptions();
  BrUIControl::Destroy();
}

void BrUIDialog::SetDialogIcon(const BrStringT<char>& file) {
  BrRenderBase* render = Engine().Render();
  if (!render || !render->FXMgr() || file.Length() == 0) return;
  BrStringT<char> name = BrStringT<char>("DlgIcon") + file;
  m_iIconEffector = render->FXMgr()->LoadIconA(file, name);
}

void BrUIDialog::AddDialogOption(const BrStringT<char>& label, const BrStringT<char>& id, bool enabled) {
  _dialogoption option;
  option.label = label;
  option.id = id;
  option.enabled = enabled;
  m_Options.Add(option);
}

void BrUIDialog::DeleteOptions() {
  for (int i = 0; i < m_Options.GetCount(); ++i) {
    m_Options[i].label = BrStringT<char>();
    m_Options[i].id = BrStringT<char>();
  }
  m_Options.Clear();
}

void BrUIDialog::Draw(BrRenderBase* const render) {
  BrUIControl::Draw(render);
  if (!render) return;
  const float x = m_fPosX + m_fMargin * m_fWidth;
  float y = m_fPosY + m_fMargin * m_fHeight;

  if (m_iIconEffector != 0) {
    const float iw = m_fIconSize * m_fWidth;
    const float ih = iw * render->GetAspectRatio();
    BrARGB white(255, 255, 255, 255);
    render->DrawSprite(x, y, iw, ih, (unsigned int)m_iIconEffector, 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f,
                       0.999f);
    y += ih;
  }

  BrFontMgr* fonts = render->FontMgr();
  if (!fonts || m_Text.Length() == 0) return;
  const int previous = fonts->GetCurrFontID();
  fonts->SetFont(m_Font);
  fonts->SizeUp(m_iTextSize);
  BrARGB black(255, 0, 0, 0);
  char format[] = "%s";
  render->DrawTextf(x, y, black, eFontFormatNone, format, m_Text.c_str());
  y += fonts->GetTextRect(m_Text).GetHeight();
  if (GetNumChildControls() == 0) SpawnDialogOptions(y);
  fonts->SizeDown(m_iTextSize);
  fonts->SetFont(previous);
}

void BrUIDialog::SpawnDialogOptions(float& y) {
  BrRenderBase* render = Engine().Render();
  BrFontMgr* fonts = render ? render->FontMgr() : nullptr;
  if (!fonts) return;
  for (int i = 0; i < m_Options.GetCount(); ++i) {
    _dialogoption& option = m_Options[i];
    const BrRect extent = fonts->GetTextRect(option.label);
    const float w = extent.GetWidth();
    const float h = extent.GetHeight();
    BrObject* object = static_cast<BrObject*>(Engine().Spawn("BrUITextButton"));
    BrUITextButton* button = object ? static_cast<BrUITextButton*>(object->SafeCast(&BrUITextButton::Type)) : nullptr;
    if (!button) {
      delete object;
      continue;
    }
    button->SetArea(m_fPosX + m_fWidth - m_fMargin * m_fWidth - w, y, w, h);
    button->SetText(option.label);
    button->SetFont(m_Font);
    button->SetTextSize(m_iTextSize);
    if (option.enabled) {
      button->SetID(option.id);
      button->SetTextColour(BrARGB(255, 0, 0, 0));
      button->SetRolloverTextColour(BrARGB(255, 255, 244, 0));
    } else {
      button->SetID(BrStringT<char>("NULL"));
      button->SetTextColour(BrARGB(255, 64, 64, 64));
      button->SetRolloverTextColour(BrARGB(255, 64, 64, 64));
    }
    AddChildControl(button);
    button->SetActive(true);
    y += h;
  }
}
