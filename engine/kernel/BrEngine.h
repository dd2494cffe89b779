// BrEngine and Engine(): the engine singleton: start-up, devices, game libraries, the class registry, frames and shut-down.
#pragma once

#include <cstdint>

#include "core/BrLogFile.h"
#include "engine/kernel/BrClassFactory.h"
#include "engine/kernel/BrProfiler.h"
#include "platform/win32/win32.h"
#include "templates/BrStringT.h"
#include "templates/TDArray.h"
#include "templates/TDLinkedList.h"
#include "templates/THashTable.h"

class BrApplication;
class BrAudioMgrBase;
class BrConfigCache;
class BrEngine;
class BrFmtParseBase;
class BrGUI;
class BrIpDevBase;
class BrRenderBase;
class BrScriptDaemon;
class BrWindowBase;

// The one engine, built in static storage on the first call (during the engine library's own static
// initialisation) and destroyed at process exit.
BrEngine& Engine();

// The window procedure of the main window class: Engine().MsgProc with the same arguments.
LRESULT CALLBACK brW32RootWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Two flags that Init clears; nothing else in the system reads them.
struct _BrDebugInfo {
  bool bFlag0;
  bool bFlag1;
};

// The engine. The host sets the configuration and the media folder, calls Init, creates and sets the
// application, calls Launch, then each frame pumps messages, writes FrameStarted, calls
// ProcessGlobalUserInput and Step, and draws; it leaves its loop when GExit is set.
class BrEngine {
public:
  static const int ciPathLen = 260;

  BrEngine();
  // One engine: never copied.
  BrEngine(const BrEngine& other) = delete;
  BrEngine& operator=(const BrEngine& other) = delete;
  // Exit, then releases the library list, the media folder, the profiler and the registry.
  virtual ~BrEngine();

  // The main window's messages (see the message table of the engine); ignored once GExit is set.
  virtual LRESULT CALLBACK MsgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Start-up: system description, window, script daemon, audio, game libraries, rendering, widgets. Stops at
  // the first fatal failure (after Exit) and returns false; without a configuration it refuses at once.
  virtual bool Init(DWORD icon, DWORD menu, DWORD exitCode);
  // Names the application ([App] Title), optionally converts a map through the format parser, and logs the
  // connection. Without an application it ends the run. The three DWORDs are not read; noMapLoad suppresses
  // the map.
  virtual void Launch(char* map, DWORD, DWORD, DWORD, bool noMapLoad);
  // Steps the application, then the audio device, by dt times the time scalar.
  virtual void Step(float dt);
  // Shuts everything down in order, once: false when it ran already. Called from inside the application, the
  // widgets or a device while the engine is calling them, it sets GExit at once and finishes the shut-down as
  // soon as that call has returned.
  virtual bool Exit();
  // The global keys: Escape, P, Alt+Enter (once per press), PrintScreen without Control.
  virtual void ProcessGlobalUserInput();

  BrApplication* App() { return m_pApp; }
  BrRenderBase* Render() { return m_pRender; }
  BrAudioMgrBase* Audio() { return m_pAudio; }
  BrGUI* GUI() { return m_pGUI; }
  BrWindowBase* OSGUI() { return m_pOSGUI; }
  BrScriptDaemon* Script() { return m_pScript; }
  BrFmtParseBase* FormatParser() { return m_pFmtParser; }
  BrConfigCache* GetConfig() { return m_pConfig; }
  // The host's cache; the engine never frees it.
  void SetConfig(BrConfigCache* config) { m_pConfig = config; }
  BrProfiler& Profiler() { return m_Profiler; }
  // Seconds on the brGetSystemTime clock at which the current frame began.
  float& FrameStarted() { return m_fFrameStarted; }
  void SetTimeScalar(float scalar) { m_fTimeScalar = scalar; }
  float GetTimeScalar() const { return m_fTimeScalar; }
  char* AppDir() { return m_szAppDir; }
  char* DriversDir() { return m_szDriversDir; }
  // The media folder, relative to the working folder, without a trailing backslash.
  BrStringT<char> getMediaDir() const { return m_MediaDir; }
  void setMediaDir(const BrStringT<char>& dir) { m_MediaDir = dir; }
  _BrDebugInfo& Debug() { return m_DebugInfo; }

  // Stores the application and calls its Init. Refused (false) for null or while one is set.
  bool SetApp(BrApplication* app);
  // Loads DriversDir + "\\plug-ins\\" + name + ".dll"; null, with a log line, on failure.
  HMODULE LoadPlugin(const char* name);
  // Loads the game libraries named by [Engine] Libs from the media folder's Libs folder, in list order.
  bool LoadNativeLibs();
  // A new instance of the registered class, named after it; null for a null or unknown name, or once the
  // game libraries have been freed.
  void* Spawn(const char* className);
  // Adds a registry entry; false for a null entry, an empty or over-long name or a null function.
  bool RegisterClassA(_factoryentry* entry);
  // Writes the registry to the log (not while gIsTestHarness is set).
  void LogRegistry();
  // Game libraries loaded.
  int GetNumLibs() const { return m_Libs.GetCount(); }
  // The game libraries the last LoadNativeLibs named but could not load, each as "name: why", in list order.
  const TDArray<BrStringT<char>>& GetMissingLibs() const { return m_MissingLibs; }

  // The pause of the start-up clock measurement, in milliseconds (2000 unless changed).
  void SetClockMeasurePause(DWORD ms) { m_dwClockPauseMS = ms; }
protected:
  // Test harnesses reach the engine's state through their own header (BrEngineTestSeams.h), never a host or game.
  friend class BrEngineTestSeams;
  // After Exit, returns the engine to its constructed state (see BrEngineTestSeams::ResetAfterExit).
  void ResetAfterExit();

  void LogSystemSpecs(BrLogFile* log);
  bool InitOSGUI(DWORD icon, DWORD menu, DWORD exitCode);
  bool InitScriptDaemon();
  bool InitAudio();
  bool InitRender();
  bool InitGUI();
  bool InitNet();
  bool InitFormatParser();

  // The common device start: library, create function, failure lines, Safe = 1.
  void* StartDevice(const char* opening, const char* section, const char* key, const char* createName, HMODULE& library,
                    const char* namedFailure, const char* unnamedFailure);
  // Calls the delete function when it resolves and the device exists, then frees the library.
  void DeleteDevice(HMODULE& library, void*& device, const char* deleteName, const char* deleted, const char* failed,
                    bool debugLine);

  char m_szDriversDir[ciPathLen];
  char m_szAppDir[ciPathLen];
  BrApplication* m_pApp;
  BrScriptDaemon* m_pScript;
  BrWindowBase* m_pOSGUI;
  HMODULE m_hAudioLib;
  HMODULE m_hRenderLib;
  HMODULE m_hFmtParserLib;
  HMODULE m_hNetLib;
  BrAudioMgrBase* m_pAudio;
  BrRenderBase* m_pRender;
  BrIpDevBase* m_pNet;
  BrFmtParseBase* m_pFmtParser;
  float m_fFrameStarted;
  THashTable<_factoryentry> m_Registry;
  _BrDebugInfo m_DebugInfo;
  BrProfiler m_Profiler;
  BrConfigCache* m_pConfig;
  BrGUI* m_pGUI;
  float m_fTimeScalar;
  BrStringT<char> m_MediaDir;
  TDLinkedList<HMODULE> m_Libs;

  DWORD m_dwClockPauseMS;
  int32_t m_iLoadingLib;  // 1-based number of the game library being loaded, 0 otherwise
  int32_t m_iLibsLoaded;  // game libraries loaded so far (numbers registry entries)
  bool m_bAltEnterHeld;
  bool m_bSnapshotHeld;
  TDArray<BrStringT<char>> m_MissingLibs;
};
