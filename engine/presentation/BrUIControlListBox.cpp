// BrUIControlListBox: filling, scrolling, selecting and drawing the list's rows.
#include "engine/presentation/BrUIControlListBox.h"

#include "core/BrVector.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrCursor.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrFontMgr.h"
#include "engine/presentation/BrHUD.h"
#include "engine/presentation/BrRect.h"
#include "engine/presentation/BrRenderBase.h"
#include "engine/presentation/BrUIControlButton.h"

BR_IMPLEMENT_CLASS(BrUIControlListBox, BrUIControl)

namespace {

const char* const kScrollUp = "ControlScrollUp";
const char* const kScrollDown = "ControlScrollDown";

// The row as drawn: before + name + after, the name cut at its end with "..." when the whole would run past
// width, out of the box and over whatever is drawn beside it (a save or a mod folder may be named at any
// length). The item itself keeps its whole name for whoever reads the selection. extent receives the measure of
// the row returned.
BrStringT<char> FitRow(BrFontMgr* fonts, const char* before, const BrStringT<char>& name, const char* after,
                       float width, BrRect& extent) {
  BrStringT<char> row = BrStringT<char>(before) + name + after;
  extent = fonts->GetTextRect(row);
  if (extent.GetWidth() <= width) return row;
  // The text widens with every character, so the longest prefix that fits is found by halving.
  int fits = 0, tooLong = name.Length();
  while (fits + 1 < tooLong) {
    const int mid = (fits + tooLong) / 2;
    BrStringT<char> candidate = BrStringT<char>(before) + name(0, mid) + "..." + after;
    if (fonts->GetTextRect(candidate).GetWidth() <= width)
      fits = mid;
    else
      tooLong = mid;
  }
  row = BrStringT<char>(before) + (fits > 0 ? name(0, fits) : BrStringT<char>()) + "..." + after;
  extent = fonts->GetTextRect(row);
  return row;
}

// The first row shown, kept where the rows still fill the box: the list may have shrunk under a scroll (saves
// deleted, another mod's folder), and rows from past its end would show an empty box over the saves left.
void KeepScrollInList(int32_t& first, int count, int rows) {
  const int last = count > rows ? count - rows : 0;
  if (first > last) first = last;
}

}  // namespace

BrUIControlListBox::BrUIControlListBox()
    : m_iFirstVisible(0),
      m_iVisibleRows(10),
      m_iSelected(-1),
      m_iSelectEffector(-1),
      m_fListTop(0.2f),
      m_fListBottom(0.9f) {}

BrUIControlListBox::BrUIControlListBox(const BrUIControlListBox& other)
    : BrUIControl(other),
      m_Items(other.m_Items),
      m_iFirstVisible(other.m_iFirstVisible),
      m_iVisibleRows(other.m_iVisibleRows),
      m_iSelected(other.m_iSelected),
      m_iSelectEffector(other.m_iSelectEffector),
      m_fListTop(other.m_fListTop),
      m_fListBottom(other.m_fListBottom),
      m_Title(other.m_Title),
      m_PreviousItems(other.m_PreviousItems) {}

BrUIControlListBox& BrUIControlListBox::operator=(const BrUIControlListBox& other) {
  if (this == &other) return *this;
  BrUIControl::operator=(other);
  m_Items = other.m_Items;
  m_iFirstVisible = other.m_iFirstVisible;
  m_iVisibleRows = other.m_iVisibleRows;
  m_iSelected = other.m_iSelected;
  m_iSelectEffector = other.m_iSelectEffector;
  m_fListTop = other.m_fListTop;
  m_fListBottom = other.m_fListBottom;
  m_Title = other.m_Title;
  m_PreviousItems = other.m_PreviousItems;
  return *this;
}

BrUIControlListBox::~BrUIControlListBox() {}

void BrUIControlListBox::Serialize(BrBin& bin) { BrObject::Serialize(bin); }

bool BrUIControlListBox::Init() {
  BrUIControl::Init();
  ClearList();
  m_PreviousItems.Clear();
  return true;
}

void BrUIControlListBox::Destroy() {
  BrUIControl::Destroy();
  ClearList();
  m_PreviousItems.Clear();
}

void BrUIControlListBox::AddListItem(const BrStringT<char>& s) {
  const int index = m_Items.Add(s);
  // The selection index was chosen against the old lines; if the new ones differ it could name another line.
  if (m_iSelected >= 0 && (index >= m_PreviousItems.GetCount() || m_PreviousItems[index] != s)) m_iSelected = -1;
  if (m_Items.GetCount() > m_iVisibleRows) ShowScrollBar();
}

void BrUIControlListBox::ClearList() {
  // Even an empty list is remembered: a row clicked while it was shown named no line, and must not come to name
  // one of a later refill.
  m_PreviousItems = m_Items;
  m_Items.Clear();
}

BrStringT<char> BrUIControlListBox::GetCurrentItemText() {
  if (m_iSelected >= 0 && m_iSelected < m_Items.GetCount()) return m_Items[m_iSelected];
  return BrStringT<char>();
}

void BrUIControlListBox::SetSelectTexture(const BrStringT<char>& file) {
  BrRenderBase* render = Engine().Render();
  BrEffectorMgr* fx = render ? render->FXMgr() : nullptr;
  if (!fx) return;
  const BrStringT<char> name("ShaderListBoxSelect");
  m_iSelectEffector = (int)fx->GetEffector(name);
  if (m_iSelectEffector != 0) return;
  // The bar keeps the pass flags of its "Shader2d" copy. A copy without a first pass (its shader failed) could
  // show nothing: the helper keeps none, and no bar is drawn.
  m_iSelectEffector = brMake2DEffector(name, file, false, false);
}

void BrUIControlListBox::ShowScrollBar() {
  BrRenderBase* render = Engine().Render();
  const float aspect = render ? render->GetAspectRatio() : 1.0f;
  const float bw = 0.05f * m_fWidth;
  const float bh = bw * aspect;
  const float bx = m_fPosX + 0.5f * m_fWidth - bw / 2.0f;
  const float upY = m_fPosY + 0.02f * m_fHeight;
  const float downY = m_fPosY + 0.95f * m_fHeight;

  if (GetNumChildControls() < 2) {
    BrObject* upObject = static_cast<BrObject*>(Engine().Spawn("BrUIControlButton"));
    BrObject* downObject = static_cast<BrObject*>(Engine().Spawn("BrUIControlButton"));
    BrUIControlButton* up =
        upObject ? static_cast<BrUIControlButton*>(upObject->SafeCast(&BrUIControlButton::Type)) : nullptr;
    BrUIControlButton* down =
        downObject ? static_cast<BrUIControlButton*>(downObject->SafeCast(&BrUIControlButton::Type)) : nullptr;
    if (!up || !down) {
      delete upObject;
      delete downObject;
      return;
    }
    up->SetArea(bx, upY, bw, bh);
    up->SetID(BrStringT<char>(kScrollUp));
    up->SetTexture(BrStringT<char>("Textures\\ui\\menus\\listboxup.tga"));
    up->SetRolloverTexture(BrStringT<char>("Textures\\ui\\menus\\listboxupover.tga"));
    AddChildControl(up);
    down->SetArea(bx, downY, bw, bh);
    down->SetID(BrStringT<char>(kScrollDown));
    down->SetTexture(BrStringT<char>("Textures\\ui\\menus\\listboxdown.tga"));
    down->SetRolloverTexture(BrStringT<char>("Textures\\ui\\menus\\listboxdownover.tga"));
    AddChildControl(down);
  }

  // The box may have moved since the buttons were made.
  BrUIControl* down = GetControl(BrStringT<char>(kScrollDown), true);
  BrUIControl* up = GetControl(BrStringT<char>(kScrollUp), true);
  if (down) down->SetArea(bx, downY, bw, bh);
  if (up) up->SetArea(bx, upY, bw, bh);
  if (down) down->SetActive(true);
  if (up) up->SetActive(true);
}

void BrUIControlListBox::HideScrollBar() {
  if (BrUIControl* down = GetControl(BrStringT<char>(kScrollDown), true)) down->SetActive(false);
  if (BrUIControl* up = GetControl(BrStringT<char>(kScrollUp), true)) up->SetActive(false);
}

bool BrUIControlListBox::LeftClick(float x, float y) {
  DispatchScope scope;
  const bool taken = BrUIControl::LeftClick(x, y);
  if (taken) return true;
  // Every control may be offered every click: one outside this box belongs to something else and must leave
  // the selection alone. So must one while the box is hidden: the load and mods menus' lists lie at the same
  // place, and a row chosen in one would be chosen in the other too.
  if (!m_bActive || !CoversPoint(x, y)) return false;
  const float top = m_fPosY + m_fListTop * m_fHeight;
  const float bottom = m_fPosY + m_fListBottom * m_fHeight;
  const float rowHeight = RowHeight();
  KeepScrollInList(m_iFirstVisible, m_Items.GetCount(), m_iVisibleRows);
  if (y < top || y > bottom || !(rowHeight > 0.0f)) {
    m_iSelected = -1;
  } else {
    m_iSelected = m_iFirstVisible + (int)((y - top) / rowHeight);
  }
  return taken;
}

bool BrUIControlListBox::ControlLeftClicked(const BrStringT<char>& id) {
  if (id == BrStringT<char>(kScrollUp)) {
    if (m_iFirstVisible > 0) --m_iFirstVisible;
    return true;
  }
  if (id == BrStringT<char>(kScrollDown)) {
    if (m_iFirstVisible < m_Items.GetCount() - m_iVisibleRows) {
      ++m_iFirstVisible;
      return true;
    }
  }
  return BrUIControl::ControlLeftClicked(id);
}

void BrUIControlListBox::Draw(BrRenderBase* const render) {
  BrUIControl::Draw(render);
  if (!render) return;
  BrFontMgr* fonts = render->FontMgr();
  if (!fonts) return;

  const float leading = fonts->GetLeading();
  const int previousFont = fonts->GetCurrFontID();
  KeepScrollInList(m_iFirstVisible, m_Items.GetCount(), m_iVisibleRows);
  fonts->SetFont(BrStringT<char>("Fonts\\fontScript.tga"));
  fonts->SetLeading(leading - 0.05f);
  fonts->SizeUp(3);

  BrHUD* hud = BrHUD::GameHUD();
  BrCursor* cursor = hud ? hud->GetCursor(-1) : nullptr;
  const float screenW = float(render->GetWidth());
  const float screenH = float(render->GetHeight());

  const float textX = m_fPosX + m_fWidth / 2.0f;
  const float bandTop = m_fPosY + m_fListTop * m_fHeight;
  const float rowHeight = RowHeight();
  float rowY = bandTop + 0.005f;
  BrARGB black(255, 0, 0, 0);
  BrARGB highlight(255, 255, 244, 0);
  BrARGB white(255, 255, 255, 255);
  char plainFormat[] = "%s";
  // Rows are drawn within the selection bar's width.
  const float rowWidth = 0.8f * m_fWidth;

  for (int i = m_iFirstVisible; i >= 0 && i < m_Items.GetCount() && i - m_iFirstVisible < m_iVisibleRows; ++i) {
    const int k = i - m_iFirstVisible;
    const BrStringT<char>& item = m_Items[i];
    if (i == m_iSelected) {
      // Until the owner gives the bar a texture there is no bar to draw.
      if (m_iSelectEffector > 0) {
        render->DrawSprite(m_fPosX + 0.1f * m_fWidth, bandTop + k * rowHeight, rowWidth, rowHeight,
                           (unsigned int)m_iSelectEffector, 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f, 0.999f);
      }
      fonts->SizeUp(1);
      BrRect unused;
      BrStringT<char> shown = FitRow(fonts, "> ", item, " <", rowWidth, unused);
      render->DrawTextA(textX, rowY, black, eFontFormatCentre, const_cast<char*>(shown.c_str()));
      fonts->SizeDown(1);
    } else {
      BrRect extent;
      BrStringT<char> shown = FitRow(fonts, "", item, "", rowWidth, extent);
      char* shownText = const_cast<char*>(shown.c_str() ? shown.c_str() : "");
      render->DrawTextA(textX, rowY, black, eFontFormatCentre, shownText);
      extent.Translate(textX - extent.GetWidth() / 2.0f, rowY);
      if (cursor && screenW > 0.0f && screenH > 0.0f) {
        BrVector pointer(cursor->CursorScreenX() / screenW, cursor->CursorScreenY() / screenH, 0.0f);
        if (extent.ContainsPoint(pointer))
          render->DrawTextA(textX, rowY + 0.05f * fonts->GetNewLineHeight(), highlight, eFontFormatCentre, shownText);
      }
    }
    rowY += fonts->GetNewLineHeight();
  }

  fonts->SizeDown(1);
  fonts->SetLeading(leading);
  fonts->SetFont(previousFont);
  if (m_Title.Length() > 0) {
    render->DrawTextf(m_fPosX + m_fWidth / 2.0f, m_fPosY + 0.1f * m_fHeight, black, eFontFormatCentre, plainFormat,
                      m_Title.c_str());
  }
  fonts->SizeDown(2);
}
