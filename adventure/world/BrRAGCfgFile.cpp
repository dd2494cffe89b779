// BrRAGCfgFile: the game's default main.cfg text and the opening that writes it.
#include "adventure/world/BrRAGCfgFile.h"

#include <cstdio>

namespace {
const uint32_t kReadUpdate = 0x1000001;

// The game's default main.cfg. [Engine] names the game library so that a first run loads the game's classes,
// and the game's section is the one the cache reads ([RAG] PlayerTypes), so a first run starts a playable game.
const char* const kDefaultText[BrRAGCfgFile::ciDefaultLines] = {
    "[Engine]",
    "Safe=0",
    "Libs=tidewrack",
    "",
    "[Render]",
    "Device=GfxDrv",
    "UseWBuffer=0",
    "UseZBuffer=1",
    "DepthBufferBitDepth=16",
    "",
    "[Display]",
    "WindowWidth=800",
    "WindowHeight=600",
    "StartFullScreen=0",
    "ScreenWidth=1024",
    "ScreenHeight=768",
    "",
    "[Audio]",
    "Device=SoundDrv",
    "Channels=32",
    "",
    "Hardware=0",
    "",
    "NoAudio=0",
    "",
    "NoMusic=0",
    "",
    "[Net]",
    "Device=NetDrv",
    "#Master=master2.tidewrack.net",
    "Master=master.tidewrack.net",
    "QueryPort=6660",
    "GamePort=6661",
    "",
    "[App]",
    "Title=Tidewrack",
    "Launch=",
    "Parser=",
    "MouseSpeedX=75",
    "MouseSpeedY=75",
    "DefaultFont=Media\\Fonts\\fontVanilla.tga",
    "Hints=1",
    "[RAG]",
    "PlayerTypes=Zivede",
    "AppType=BrRAGGame",
    "Configs=config\\armour.cfg,config\\core.cfg,config\\dungeons.cfg,config\\enemies.cfg,config\\magic.cfg,"
    "config\\pickups.cfg,config\\weapons.cfg,config\\widgets.cfg",
    "StartLevel=1",
    "ShowIntro=1"};
}  // namespace

BrRAGCfgFile::BrRAGCfgFile() {}

// The base's opening constructor would run CreateDefault while this object is still a BrCfgFile and write the
// engine's text; opening here, once the object is whole, writes the game's.
BrRAGCfgFile::BrRAGCfgFile(const char* path) { Open(path, kReadUpdate); }

BrRAGCfgFile::~BrRAGCfgFile() {}

bool BrRAGCfgFile::CreateDefault() {
  if (!IsValid()) return false;
  for (const char* line : kDefaultText) WriteLine(line);
  std::fflush(m_pHandle);
  return true;
}

const char* BrRAGCfgFile::DefaultLine(int i) {
  if (i < 0 || i >= ciDefaultLines) return nullptr;
  return kDefaultText[i];
}
