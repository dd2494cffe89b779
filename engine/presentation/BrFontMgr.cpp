// BrFontMgr: the fonts by id, the default font, sizes and leading, and text laid out one sprite per character.
#include "engine/presentation/BrFontMgr.h"

#include "core/brcr.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFont.h"
#include "engine/presentation/BrRenderBase.h"

BR_IMPLEMENT_CLASS(BrFontMgr, BrObject)

BrFontMgr::BrFontMgr() : m_iCurrFont(-1), m_fSizeStep(0.0025f), m_fSize(0.02f), m_fLeading(0.325f) {}

BrFontMgr::~BrFontMgr() { Destroy(); }

bool BrFontMgr::Init() {
  BrObject::Init();
  Destroy();
  m_iCurrFont = -1;
  BrConfigCache* config = Engine().GetConfig();
  BrStringT<char> name;
  if (config && config->GetString(BrStringT<char>("App"), BrStringT<char>("DefaultFont"), name)) {
    if (GetFont(name) == -1) {
      GLog.WriteLine("ERROR: Failed to load default font!");
      return false;
    }
    SetFont(0);
  }
  return true;
}

void BrFontMgr::Destroy() {
  for (int i = 0; i < m_Fonts.GetCount(); ++i) {
    if (m_Fonts[i]) {
      m_Fonts[i]->Destroy();
      delete m_Fonts[i];
      m_Fonts[i] = nullptr;
    }
  }
  m_Fonts.Clear();
  m_iCurrFont = -1;
}

void BrFontMgr::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

int BrFontMgr::GetFont(const BrStringT<char>& name) {
  for (int i = 0; i < m_Fonts.GetCount(); ++i)
    if (m_Fonts[i] && m_Fonts[i]->GetName() == name) return i;
  if (name.Length() == 0) {
    GLog.DebugPrintf("WARNING: Empty font name in BrFontMgr::GetFont(..)");
    return -1;
  }
  const int fx = LoadFontSetFX(name);
  if (fx < 1) {
    // Reported as -1 to the caller: Init turns it into a failed device start, which ends the run from the top.
    // Ending the engine from here would delete this manager (with the device) while this call still runs.
    if (!FailureLogged(name)) {
      GLog.WriteLine("ERROR: Failed to load default font, requesting exit");
      m_Failed.Add(name);
    }
    return -1;
  }
  BrFont* font = static_cast<BrFont*>(static_cast<BrObject*>(Engine().Spawn("BrFont")));
  if (!font) {
    GLog.WriteLine("ERROR: Failed to create a font in BrFontMgr::GetFont(..)");
    return -1;
  }
  font->SetFX(fx);
  font->SetName(name);
  return m_Fonts.Add(font);
}

BrFont* BrFontMgr::GetFont(int id) {
  if (id >= 0 && id < m_Fonts.GetCount()) return m_Fonts[id];
  GLog.DebugPrintf("WARNING: invalid font ID in BrFontMgr::GetFont(%i)", id);
  return nullptr;
}

int BrFontMgr::SetFont(int id) {
  if (id >= 0 && id < m_Fonts.GetCount()) {
    m_iCurrFont = id;
    return id;
  }
  GLog.DebugPrintf("WARNING: invalid font ID in BrFontMgr::SetFont(%i)", id);
  m_iCurrFont = 0;
  return 0;
}

int BrFontMgr::SetFont(const BrStringT<char>& name) {
  // A font that cannot be loaded leaves the default current, as an invalid id does. Left invalid, the first
  // text drawn would switch to the default by itself, between a caller's SizeUp (skipped for the invalid font)
  // and its SizeDown (applied to the default), and the text would shrink frame after frame.
  const int id = GetFont(name);
  m_iCurrFont = id >= 0 ? id : 0;
  return m_iCurrFont;
}

bool BrFontMgr::FailureLogged(const BrStringT<char>& name) const {
  for (int i = 0; i < m_Failed.GetCount(); ++i)
    if (m_Failed[i] == name) return true;
  return false;
}

int BrFontMgr::LoadFontSetFX(const BrStringT<char>& file) {
  BrRenderBase* render = Engine().Render();
  if (!render || !render->TextureMgr() || !render->FXMgr()) return 0;
  // A texture that cannot be loaded answers with the fallback (id 0): text would draw as its checkerboard
  // cells, so the font fails like a font whose material cannot be made.
  if ((int)render->TextureMgr()->GetTexture(file) <= 0) {
    if (!FailureLogged(file)) GLog.printf("ERROR: Failed to load font texture %s", file.c_str());
    return 0;
  }
  return brMake2DEffector(BrStringT<char>("FX_") + file, file, false);
}

float BrFontMgr::GetNewLineHeight() {
  BrRenderBase* render = Engine().Render();
  const float aspect = render ? render->GetAspectRatio() : 1.0f;
  return aspect * m_fSize * (1.0f + m_fLeading);
}

void BrFontMgr::SetLeading(float leading) {
  if (leading < 0.0f) leading = 0.0f;
  if (leading > 1.0f) leading = 1.0f;
  m_fLeading = leading;
}

void BrFontMgr::SizeUp(int steps) {
  if (m_iCurrFont >= 0 && m_iCurrFont < m_Fonts.GetCount()) m_fSize += (float)steps * m_fSizeStep;
}

void BrFontMgr::SizeDown(int steps) {
  // The same test as SizeUp: an unpaired step while no font is valid would make the size drift.
  if (m_iCurrFont >= 0 && m_iCurrFont < m_Fonts.GetCount()) m_fSize -= (float)steps * m_fSizeStep;
}

BrFont* BrFontMgr::CurrentFontOrDefault(const char* warning) {
  if (m_iCurrFont < 0 || m_iCurrFont >= m_Fonts.GetCount()) {
    GLog.DebugPrintf("%s", warning);
    m_iCurrFont = 0;
  }
  // With no font loaded there is nothing to draw or measure with.
  if (m_Fonts.GetCount() == 0) return nullptr;
  return m_Fonts[m_iCurrFont];
}

void BrFontMgr::DrawTextA(float x, float y, BrARGB& colour, eFontFormatFlags flags, BrStringT<char>& text) {
  BrFont* font = CurrentFontOrDefault("WARNING: Bad font id in BrFontMgr::DrawText(..), using default");
  if (!font || text.Length() == 0) return;
  if (flags == eFontFormatRight) x -= GetTextRect(text).maxX;
  BrRenderBase* render = Engine().Render();
  if (!render) {
    GLog.DebugPrintf("ERROR: NULL render in BrFontMgr::DrawText(..)");
    return;
  }
  const float aspect = render->GetAspectRatio();
  const float lineHeight = GetNewLineHeight();
  const char* chars = text.c_str();
  bool drawing = flags == eFontFormatNone;
  for (;;) {
    float penX = x, penY = y, maxX = x, maxY = y;
    for (int i = 0; i < text.Length(); ++i) {
      // Bytes are codes 0..255: a signed byte would index before the width table.
      const int code = (unsigned char)chars[i];
      const float pad = (1.0f - font->GetCharWidthA(code)) * 0.5f;
      penX -= pad * m_fSize;
      if (code == 10) {
        penY += lineHeight;
        penX = x;
        continue;
      }
      if (code == 32) {
        penX += 0.75f * m_fSize;
        continue;
      }
      float u0, v0, u1, v1;
      if (!font->GetCharCell(code, u0, v0, u1, v1)) continue;
      if (drawing)
        render->DrawSprite(penX, penY, m_fSize, m_fSize * aspect, (unsigned int)font->GetFX(), 0.001f, colour, 0.0f, u0,
                           v0, u1, v1);
      penX += (font->GetCharWidthA(code) + pad) * m_fSize;
      if (penX > maxX) maxX = penX;
      if (penY > maxY) maxY = penY;
    }
    if (flags & eFontFormatCentre) {
      x -= (maxX - x) / 2.0f;
      y -= (maxY - y) / 2.0f;
    }
    if (drawing) return;
    drawing = true;
  }
}

BrRect BrFontMgr::GetTextRect(BrStringT<char>& text) {
  BrFont* font = CurrentFontOrDefault("WARNING: Bad font id in BrFontMgr::DrawText(..), using default");
  if (!font || text.Length() == 0) return BrRect();
  if (!Engine().Render()) {
    GLog.DebugPrintf("ERROR: NULL render in BrFontMgr::DrawText(..)");
    return BrRect(0.0f, 0.0f, 0.0f, 0.0f);
  }
  const float lineHeight = GetNewLineHeight();
  const char* chars = text.c_str();
  float penX = 0.0f, penY = 0.0f, maxX = 0.0f, lastLineTop = 0.0f;
  bool drawable = false;
  for (int i = 0; i < text.Length(); ++i) {
    const int code = (unsigned char)chars[i];
    const float pad = (1.0f - font->GetCharWidthA(code)) * 0.5f;
    penX -= pad * m_fSize;
    if (code == 10) {
      penY += lineHeight;
      penX = 0.0f;
      continue;
    }
    if (code == 32) {
      penX += 0.75f * m_fSize;
      continue;
    }
    float u0, v0, u1, v1;
    if (!font->GetCharCell(code, u0, v0, u1, v1)) continue;
    penX += (font->GetCharWidthA(code) + pad) * m_fSize;
    if (penX > maxX) maxX = penX;
    lastLineTop = penY;
    drawable = true;
  }
  if (!drawable) return BrRect();
  return BrRect(0.0f, 0.0f, maxX, lastLineTop + lineHeight);
}
