// Test support for items and the player: a game with a HUD and a grid map of open cells, a recording device, GUI,
// audio and script daemon, with the test's "items.cfg" as the object configuration.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "adventure/flow/BrRAGPlayerHUD.h"
#include "adventure/world/BrRAGActor.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGPlayer.h"
#include "core/BrBin.h"
#include "engine/kernel/BrGame.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "templates/BrArchiveOps.h"
#include "tests/adventure/world/RAGSpawnSupport.h"
#include "tests/engine/kernel/WorldTestSupport.h"
#include "tests/engine/presentation/WidgetTestKit.h"
#include "tests/support/RecordingAudioDevice.h"
#include "tests/support/RecordingRenderDevice.h"

namespace ragitem {

// A grid map whose object configuration is "items.cfg".
class ItemTestMap : public BrRAGMap {
  BR_DECLARE_CLASS(ItemTestMap)
public:
  bool LoadConfigList() override {
    ConfigFiles().Clear();
    ConfigFiles().Add(BrStringT<char>("items.cfg"));
    return true;
  }
};

// A game with the framework HUD, whose player is the first valid BrRAGPlayer of the map; it records messages.
class ItemTestGame : public BrGame {
  BR_DECLARE_CLASS(ItemTestGame)
public:
  ItemTestGame() {
    SetHUDType(BrStringT<char>("BrRAGHUD"));
    SetMapType(BrStringT<char>("ItemTestMap"));
  }
  void AddStates() override {}
  BrActor* GetPlayer() override {
    BrMap* map = Map();
    for (int id = 0; map && id < map->NumObjects(); ++id) {
      BrGameObj* object = map->GetObjectA(id);
      if (object && object->IsValid() && object->IsA(BrRAGPlayer::Type)) return static_cast<BrActor*>(object);
    }
    return nullptr;
  }
  void DisplayMsg(char* text) override { messages.push_back(text ? text : ""); }
  void ShowHint(const BrStringT<char>& name) override { hints.push_back(name.c_str() ? name.c_str() : ""); }
  std::vector<std::string> messages;
  std::vector<std::string> hints;
};

// The frame around a test: width x height open cells of scale 128.
class ItemWorld {
public:
  explicit ItemWorld(const std::string& config, int width = 8, int height = 8)
      : dev(800, 600), m_Render(&dev), m_Audio(&audio), m_pOldScript(BrEngineTestSeams::Script()) {
    std::ofstream(folder.root / "Media" / "items.cfg") << config;
    BrEngineTestSeams::Script() = &script;
    dev.Init();
    audio.Init();
    m_pGame = new ItemTestGame();
    m_pScoped = new brworld::ScopedApp(m_pGame, true);
    Map()->LoadObjectConfig();
    Map()->InitGrid(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Map()->GetCell(x, y)->SetValid(true);
  }
  ~ItemWorld() {
    delete m_pScoped;
    BrEngineTestSeams::Script() = m_pOldScript;
    dev.Exit();
  }
  ItemWorld(const ItemWorld&) = delete;
  ItemWorld& operator=(const ItemWorld&) = delete;

  ItemTestGame* Game() { return m_pGame; }
  BrRAGMap* Map() { return static_cast<BrRAGMap*>(m_pGame->Map()); }

  // An entity of a kind added to the map at (x, 0, z), standing there; null when it is not a T.
  template <class T = BrDemoEntity>
  T* Spawn(const char* kind, float x = 0.0f, float z = 0.0f) {
    return ragworld::SpawnStanding<T>(Map(), kind, x, z);
  }
  // An item of a kind put into the actor's inventory (hidden, owned by it).
  template <class T = BrRAGItem>
  T* Give(BrRAGActor* actor, const char* kind) {
    T* item = Spawn<T>(kind);
    if (!item) return nullptr;
    item->SetDrawnByMap(false);
    actor->AddToInventory(item->GetID());
    item->SetOwner(actor->GetID());
    return item;
  }
  template <class T>
  T* Get(int id) {
    BrGameObj* object = Map()->GetObjectA(id);
    return object->IsValid() && object->IsA(T::Type) ? static_cast<T*>(object) : nullptr;
  }
  // Saves the map and loads it into a fresh one with the archive version given.
  bool SaveAndReload(uint32_t version = GEngineVer) {
    const uint32_t engineVersion = GEngineVer;
    GEngineVer = version;
    bool ok = false;
    {
      BrBin out;
      if (out.Open("Media\\items.sav", 0)) {
        char magic[4] = {'G', 'I', 'N', 'F'};
        int32_t v = int32_t(GEngineVer);
        out.Stream(magic, 1, 4);
        out << v;
        Map()->Serialize(out);
        ok = out.Close();
      }
    }
    if (ok) {
      m_pGame->CreateMap();
      Map()->LoadObjectConfig();
      BrBin in;
      in.Loading();
      ok = in.Open("Media\\items.sav", 0);
      if (ok) Map()->Serialize(in);
      ok = ok && !in.HasFailed();
    }
    GEngineVer = engineVersion;
    return ok;
  }
  // The texts of the player HUD's live messages.
  static std::vector<std::string> Messages(BrRAGPlayer* player) {
    std::vector<std::string> out;
    BrRAGPlayerHUD* hud = player ? player->GetPlayerHUD() : nullptr;
    for (int i = 0; hud && i < hud->GetNumMessageSlots(); ++i) {
      const BrRAGPlayerMsg* msg = hud->GetMessageSlot(i);
      if (msg && msg->mfDisplayTime > 0.0f) out.push_back(msg->mText.c_str() ? msg->mText.c_str() : "");
    }
    return out;
  }
  // Audio calls that start with prefix.
  int CountCalls(const std::string& prefix) const {
    int n = 0;
    for (const std::string& call : audio.Calls())
      if (call.compare(0, prefix.size(), prefix) == 0) ++n;
    return n;
  }
  // Plays of a sound id.
  int Plays(const BrAudioID& id) const {
    int n = CountCalls("play3d " + std::to_string(id.GetID()) + " ");
    for (const std::string& call : audio.Calls())
      if (call == "play2d " + std::to_string(id.GetID())) ++n;
    return n;
  }

  brworld::RunFolder folder;
  RecordingRenderDevice dev;
  RecordingAudioDevice audio;
  BrScriptDaemon script;

private:
  ScopedRenderDevice m_Render;
  brwidgettest::ScopedGUI m_GUI;
  ScopedEngineAudio m_Audio;
  BrScriptDaemon* m_pOldScript;
  ItemTestGame* m_pGame;
  brworld::ScopedApp* m_pScoped;
};

}  // namespace ragitem
