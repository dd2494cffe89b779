// Test support for actors: a run folder with object configuration, a script daemon, recording audio, an
// application that records its messages, and a BrRAGMap of open cells that actors are spawned into.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../../engine/kernel/WorldTestSupport.h"
#include "../../support/RecordingAudioDevice.h"
#include "adventure/world/BrRAGActor.h"
#include "core/BrBin.h"
#include "templates/BrArchiveOps.h"
#include "adventure/world/BrRAGMap.h"
#include "adventure/world/BrRAGMutator.h"
#include "engine/kernel/BrApplication.h"
#include "engine/presentation/BrGUI.h"
#include "engine/kernel/BrEngineTestSeams.h"
#include "tests/adventure/world/RAGSpawnSupport.h"

namespace ragactor {

// A grid map whose object configuration is the test's "actors.cfg".
class ActorTestMap : public BrRAGMap {
  BR_DECLARE_CLASS(ActorTestMap)
public:
  bool LoadConfigList() override {
    ConfigFiles().Clear();
    ConfigFiles().Add(BrStringT<char>("actors.cfg"));
    return true;
  }
};

// Records what the application is asked to show.
class MessageApp : public BrApplication {
public:
  void DisplayMsg(char* text) override { messages.push_back(text ? text : ""); }
  std::vector<std::string> messages;
};

// The world every actor test runs in: configuration written, daemon, audio and application installed, a map of
// width x height open cells (scale 128) with its object table loaded.
class ActorWorld {
public:
  explicit ActorWorld(const std::string& config, int width = 8, int height = 8)
      : m_Audio(&audio), m_pApp(new MessageApp()) {
    std::ofstream(folder.root / "Media" / "actors.cfg") << config;
    m_pOldGUI = BrEngineTestSeams::GUI();
    BrEngineTestSeams::GUI() = &gui;
    m_pOldScript = BrEngineTestSeams::Script();
    BrEngineTestSeams::Script() = &script;
    audio.Init();
    m_pApp->SetMapType(BrStringT<char>("ActorTestMap"));
    m_pScoped = new brworld::ScopedApp(m_pApp);
    MakeGrid(width, height);
  }
  ~ActorWorld() {
    delete m_pScoped;
    gui.Destroy();
    BrEngineTestSeams::GUI() = m_pOldGUI;
    BrEngineTestSeams::Script() = m_pOldScript;
  }
  ActorWorld(const ActorWorld&) = delete;
  ActorWorld& operator=(const ActorWorld&) = delete;

  BrRAGMap* Map() { return static_cast<BrRAGMap*>(m_pApp->Map()); }
  MessageApp* App() { return m_pApp; }

  // A fresh map in place of the current one (as loading a game does), with its table loaded and no grid.
  void NewMap() {
    m_pApp->CreateMap();
    Map()->LoadObjectConfig();
  }

  // Every cell open.
  void MakeGrid(int width, int height) {
    BrRAGMap* map = Map();
    map->LoadObjectConfig();
    map->InitGrid(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) map->GetCell(x, y)->SetValid(true);
  }

  // An actor of a configured kind, added to the map at (x, 0, z) on the floor; null when it cannot be made.
  template <class T = BrRAGActor>
  T* Spawn(const char* kind, float x = 0.0f, float z = 0.0f) {
    return ragworld::SpawnStanding<T>(Map(), kind, x, z);
  }

  // The object of id when it is a valid T.
  template <class T>
  T* Get(int id) {
    BrGameObj* object = Map()->GetObjectA(id);
    return object->IsValid() && object->IsA(T::Type) ? static_cast<T*>(object) : nullptr;
  }

  // Saves the current map as a file of the given version and loads it into a new one; false when the load failed.
  bool SaveAndReload(uint32_t version = GEngineVer) {
    {
      // An archive takes the engine's version when it is made; an older one is made by lowering it meanwhile.
      const uint32_t current = GEngineVer;
      GEngineVer = version;
      BrBin out;
      GEngineVer = current;
      if (!out.Open("Media\\actors.sav", 0)) return false;
      // The header of a save game, so the load reads this engine's version.
      char magic[4] = {'G', 'I', 'N', 'F'};
      int32_t written = int32_t(version);
      out.Stream(magic, 1, 4);
      out << written;
      Map()->Serialize(out);
      if (!out.Close()) return false;
    }
    NewMap();
    BrBin in;
    in.Loading();
    if (!in.Open("Media\\actors.sav", 0)) return false;
    Map()->Serialize(in);
    if (in.HasFailed())
      for (const std::string& line : folder.Log()) std::fprintf(stderr, "%s\n", line.c_str());
    return !in.HasFailed();
  }

  int CountMessages(const std::string& text) const {
    int n = 0;
    for (const std::string& m : m_pApp->messages)
      if (m == text) ++n;
    return n;
  }

  brworld::RunFolder folder;
  BrScriptDaemon script;
  RecordingAudioDevice audio;
  BrGUI gui;

private:
  BrGUI* m_pOldGUI;
  ScopedEngineAudio m_Audio;
  MessageApp* m_pApp;
  brworld::ScopedApp* m_pScoped;
  BrScriptDaemon* m_pOldScript;
};

}  // namespace ragactor
