// BrRAGPlayerMsg: the player's message value: copying, ageing and drawing as a text line or an icon row.
#include "adventure/flow/BrRAGPlayerMsg.h"

#include "adventure/flow/BrRAGFlowDraw.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "engine/presentation/BrRenderBase.h"

int BrRAGPlayerMsg::miEqualsFX = 0;

BrRAGPlayerMsg::BrRAGPlayerMsg() : mfDisplayTime(-1.0f), miResultIcon(0), mColour(255, 255, 255, 255), mbHold(false) {}

BrRAGPlayerMsg::BrRAGPlayerMsg(const BrRAGPlayerMsg& other)
    : mfDisplayTime(other.mfDisplayTime),
      mText(other.mText),
      mIcons(other.mIcons),
      miResultIcon(other.miResultIcon),
      mColour(other.mColour),
      mbHold(other.mbHold) {}

BrRAGPlayerMsg& BrRAGPlayerMsg::operator=(const BrRAGPlayerMsg& other) {
  if (this == &other) return *this;
  mfDisplayTime = other.mfDisplayTime;
  mText = other.mText;
  mIcons = other.mIcons;
  miResultIcon = other.miResultIcon;
  mColour = other.mColour;
  mbHold = other.mbHold;
  return *this;
}

BrRAGPlayerMsg::~BrRAGPlayerMsg() {}

bool BrRAGPlayerMsg::operator==(const BrRAGPlayerMsg& other) const {
  return mbHold == other.mbHold && mfDisplayTime == other.mfDisplayTime && miResultIcon == other.miResultIcon &&
         mText == other.mText && mIcons.GetCount() == other.mIcons.GetCount();
}

void BrRAGPlayerMsg::Step(float dt) {
  if (!mbHold) mfDisplayTime -= dt;
}

void BrRAGPlayerMsg::Draw(BrRenderBase* const render, float x, float& y) {
  if (!render) return;
  if (miEqualsFX == 0)
    miEqualsFX =
        brMake2DEffector(BrStringT<char>("ShaderEqualsFX"), BrStringT<char>("Textures\\ui\\equals.jpg"), false);
  if (!IsCompound()) {
    brflow::Text(render, x, y, mColour, eFontFormatCentre, "%s", mText.c_str() ? mText.c_str() : "");
    return;
  }
  const float cell = 0.05f;
  const float gap = 0.005f;
  const int n = mIcons.GetCount() + 2;
  float left = 0.5f - ((float)(n - 1) * gap + (float)n * cell) / 2.0f;
  y -= brflow::LineHeight(render);
  const unsigned int back = brflow::FindEffector(render, "ShaderInvCellBackFX");
  const BrARGB half(128, 255, 255, 255);
  const BrARGB white(255, 255, 255, 255);
  for (int i = 0; i < mIcons.GetCount(); ++i) {
    brflow::Sprite(render, left, y, cell, cell, back, 0.001f, half);
    brflow::Sprite(render, left, y, cell, cell, (unsigned int)mIcons[i], 0.001f, white);
    left += cell + gap;
  }
  brflow::Sprite(render, left, y, cell, cell, (unsigned int)miEqualsFX, 0.001f, half);
  left += cell + gap;
  brflow::Sprite(render, left, y, cell, cell, back, 0.001f, half);
  brflow::Sprite(render, left, y, cell, cell, (unsigned int)miResultIcon, 0.001f, white);
}
