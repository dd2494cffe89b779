// BrFontMgr: the loaded fonts by id, the current font and size, and the layout of text into one sprite per character.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "engine/kernel/BrClassFactory.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderTypes.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"

class BrFont;

// Owned by the rendering device (made and initialised by its Init). Positions and sizes are screen fractions.
class BrFontMgr : public BrObject {
  BR_DECLARE_CLASS(BrFontMgr)
public:
  // No font (current id -1), size 0.02, step 0.0025, leading 0.325.
  BrFontMgr();
  // Not copied: the fonts are owned.
  BrFontMgr(const BrFontMgr& other) = delete;
  BrFontMgr& operator=(const BrFontMgr& other) = delete;
  ~BrFontMgr() override;

  // Drops every font and loads [App] DefaultFont when it is configured (font 0 becomes current). False only
  // when that font could not be made.
  bool Init() override;
  // Destroys and deletes every font; no current font afterwards.
  void Destroy() override;
  // BrObject's form only.
  void Serialize(BrBin& bin) override;

  // The id of the font of that texture file, loading it on first request; -1 when it could not be made
  // (logged as an error).
  int GetFont(const BrStringT<char>& name);
  // The font of the id; null (debug warning) outside the list.
  BrFont* GetFont(int id);
  // Makes a valid id current and returns it; otherwise warns, makes 0 current and returns 0.
  int SetFont(int id);
  // Makes the font of the file current (GetFont(name)) and returns its id.
  int SetFont(const BrStringT<char>& name);
  int GetCurrFontID() const { return m_iCurrFont; }
  int GetNumFonts() const { return m_Fonts.GetCount(); }

  // Lays the text out from (x, y) with the current font: left-aligned (0), centred on the point (bit 1) or
  // ending at x (2). A line feed starts a new line; codes outside the font are skipped. Nothing is drawn
  // while no font is loaded.
  void DrawTextA(float x, float y, BrARGB& colour, eFontFormatFlags flags, BrStringT<char>& text);
  // The text's extent from (0, 0) at the current size; empty while no font is loaded.
  BrRect GetTextRect(BrStringT<char>& text);

  // The height of one line: aspect ratio x size x (1 + leading).
  float GetNewLineHeight();
  float GetLeading() const { return m_fLeading; }
  // Stores the value clamped to 0..1.
  void SetLeading(float leading);
  // size += steps x step, and size -= steps x step, both only while the current font is valid: callers pair
  // them, so the size returns to where it was.
  void SizeUp(int steps);
  void SizeDown(int steps);
  float GetSize() const { return m_fSize; }
  float GetSizeStep() const { return m_fSizeStep; }

protected:
  // Registers the file's texture as "FX_" + file (a copy of "Shader2d" with flags 4); 0 when it cannot, or when the
  // texture itself cannot be loaded (logged naming the file).
  int LoadFontSetFX(const BrStringT<char>& file);
  // The current font, after making 0 current (with the debug warning) when the id is outside the list; null
  // while no font is loaded.
  BrFont* CurrentFontOrDefault(const char* warning);
  // Whether a failure to load the named font was logged already.
  bool FailureLogged(const BrStringT<char>& name) const;

  int32_t m_iCurrFont;
  TDArray<BrFont*> m_Fonts;
  // Fonts that could not be loaded, logged once each: a menu asks again for its font on every frame it draws.
  TDArray<BrStringT<char>> m_Failed;
  float m_fSizeStep;
  float m_fSize;
  float m_fLeading;
};
