// The engine singleton: start-up, device plug-ins, game libraries, launch, frames and the ordered shut-down.
#include "engine/kernel/BrEngine.h"

#include <cstdio>
#include <ctime>

#include "core/brcr.h"
#include "core/BrCfgFile.h"
#include "engine/kernel/BrApplication.h"
#include "engine/kernel/BrConfigCache.h"
#include "engine/kernel/BrEngineCall.h"
#include "engine/kernel/BrFmtParseBase.h"
#include "engine/kernel/BrIpDevBase.h"
#include "engine/kernel/BrPlugin.h"
#include "engine/kernel/BrScriptDaemon.h"
#include "engine/kernel/BrW32WindowMgr.h"
#include "engine/presentation/BrAudioMgrBase.h"
#include "engine/presentation/BrGUI.h"
#include "engine/presentation/BrRenderBase.h"

BrEngine& Engine() {
  static BrEngine engine;
  return engine;
}

namespace {
// Calls from the engine into the application, the widgets or a device that have not returned yet.
int32_t gCallDepth = 0;
// Exit was requested inside such a call; its teardown waits for the outermost call to return.
bool gExitDeferred = false;
// Set while the deferred teardown runs, so that Exit goes past its run-once test for it.
bool gFinishingExit = false;
}  // namespace

BrEngineCall::BrEngineCall() { ++gCallDepth; }

BrEngineCall::~BrEngineCall() {
  if (--gCallDepth > 0 || !gExitDeferred) return;
  gFinishingExit = true;
  Engine().Exit();
}

// The engine library's entry point accepts loading and does nothing else.
extern "C" BOOL DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

BrEngine::BrEngine()
    : m_pApp(nullptr),
      m_pScript(nullptr),
      m_pOSGUI(nullptr),
      m_hAudioLib(nullptr),
      m_hRenderLib(nullptr),
      m_hFmtParserLib(nullptr),
      m_hNetLib(nullptr),
      m_pAudio(nullptr),
      m_pRender(nullptr),
      m_pNet(nullptr),
      m_pFmtParser(nullptr),
      m_fFrameStarted(0.0f),
      m_pConfig(nullptr),
      m_pGUI(nullptr),
      m_fTimeScalar(1.0f),
      m_dwClockPauseMS(2000),
      m_iLoadingLib(0),
      m_iLibsLoaded(0),
      m_bAltEnterHeld(false),
      m_bSnapshotHeld(false) {
  m_szDriversDir[0] = 0;
  m_szAppDir[0] = 0;
  m_DebugInfo.bFlag0 = false;
  m_DebugInfo.bFlag1 = false;
}

BrEngine::~BrEngine() { Exit(); }

void BrEngine::ResetAfterExit() {
  if (!GExit) return;
  m_pConfig = nullptr;
  m_fTimeScalar = 1.0f;
  m_fFrameStarted = 0.0f;
  m_MediaDir = BrStringT<char>();
  m_bAltEnterHeld = false;
  m_bSnapshotHeld = false;
  m_MissingLibs.Clear();
  m_szDriversDir[0] = 0;
  m_szAppDir[0] = 0;
  gExitDeferred = false;
  gFinishingExit = false;
  GExit = false;
}

void BrEngine::LogSystemSpecs(BrLogFile* log) {
  log->printf("Brelmar Technology v%i", (int)GEngineVer);

  // A current folder too long for the field is named relatively, so paths built on it stay right instead of
  // starting at the root.
  const DWORD appDirLen = brGetCurrentDirectory(ciPathLen, m_szAppDir);
  if (appDirLen == 0 || appDirLen >= DWORD(ciPathLen)) std::snprintf(m_szAppDir, ciPathLen, "%s", ".");
  m_szAppDir[ciPathLen - 1] = 0;
  char drivers[ciPathLen + 16];
  std::snprintf(drivers, sizeof(drivers), "%s\\%s", m_szAppDir, "..\\drivers");
  std::snprintf(m_szDriversDir, ciPathLen, "%.259s", drivers);
  log->printf("Launching from %s", m_szAppDir);

  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GUnicodeDefined)
    brGetVersionExA(&version);
  else
    brGetVersionEx(&version);
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    log->printf("MS Windows NT v%u.%u", version.dwMajorVersion, version.dwMinorVersion);
    GRunningNT = true;
  } else if (version.dwPlatformId == 1 && version.dwMinorVersion > 0) {
    log->printf("MS Windows 98 v%u.%u", version.dwMajorVersion, version.dwMinorVersion);
  } else if (version.dwPlatformId == 1) {
    log->printf("MS Windows 95 v%u.%u", version.dwMajorVersion, version.dwMinorVersion);
  } else {
    log->printf("Unknown MS Windows v%u.%u", version.dwMajorVersion, version.dwMinorVersion);
  }
  log->printf("Using %s character set", GUnicodeDefined ? "UNICODE" : "ANSI");

  log->DebugPrintf("\nRunning a DEBUG build for development use only");
  if (GIsPerformance) log->printf("\nRunning a PERFORMANCE build for internal release only");

  log->WriteLine("\nSystem:");
  brSeedRand((unsigned int)std::time(nullptr));
  MEMORYSTATUS memory{};
  memory.dwLength = sizeof(memory);
  brGlobalMemoryStatus(&memory);
  log->printf("\tTotal physical memory: %i Mb", (int)(memory.dwTotalPhys >> 20));

  Gi64Start = 0;
  brQueryPerformanceCounter(&Gi64Start);
  if (m_dwClockPauseMS) Sleep(m_dwClockPauseMS);
  Gi64End = 0;
  brQueryPerformanceCounter(&Gi64End);
  GdDiff = (double)Gi64End - (double)Gi64Start;
  // Ticks per millisecond over the pause actually taken (a test harness may shorten it).
  GFreq = m_dwClockPauseMS ? GdDiff / (double)m_dwClockPauseMS : 0.0;
  log->printf("\tCPU freq: %f MHz", GFreq / 1000.0);
}

bool BrEngine::Init(DWORD icon, DWORD menu, DWORD exitCode) {
  // The device starts read the configuration unchecked: without one there is nothing to start from.
  if (!m_pConfig) {
    GLog.WriteLine("ERROR: Engine cannot start without a configuration");
    return false;
  }
  if (GExit) return false;
  // Every step below calls into devices that may end the run themselves.
  BrEngineCall call;

  LogSystemSpecs(&GLog);

  int safe = 0;
  if (m_pConfig->GetInteger("Engine", "Safe", safe) && safe != 0) GLog.WriteLine("-safe");

  // The menu value is not passed on: the window is created without a menu.
  if (!InitOSGUI(icon, 0, exitCode)) {
    GLog.WriteLine("ERROR: Failed to initiate Operating System GUI");
    Exit();
    return false;
  }
  GLog.WriteLine("Operating System GUI initiated");

  if (!InitScriptDaemon()) {
    GLog.WriteLine("ERROR: Failed to initiate Scripting device");
    Exit();
    return false;
  }
  GLog.WriteLine("Scripting Daemon initiated");

  if (InitAudio()) GLog.WriteLine("Audio daemon initiated");
  if (GExit) return false;

  if (LoadNativeLibs()) GLog.WriteLine("Loaded extensions.");
  if (GExit) return false;

  if (!InitRender() || GExit) {
    GLog.WriteLine("ERROR: Failed to initiate Render device");
    Exit();
    return false;
  }
  GLog.WriteLine("Rendering device initiated");

  if (!InitGUI() || GExit) {
    GLog.WriteLine("ERROR: Failed to summon widget daemon");
    Exit();
    return false;
  }
  GLog.WriteLine("Widget daemon online");

  m_DebugInfo.bFlag0 = false;
  m_DebugInfo.bFlag1 = false;
  return !GExit;
}

bool BrEngine::InitOSGUI(DWORD icon, DWORD menu, DWORD exitCode) {
  GLog.WriteLine("\nCreating Operating System GUI");
  if (m_pOSGUI) {
    GLog.WriteLine("Warning: Attempted to re-launch OS GUI, cannot do at run-time");
    return false;
  }
  BrW32WindowMgr* mgr = nullptr;
  try {
    mgr = new BrW32WindowMgr();
  } catch (...) {
    return false;
  }
  m_pOSGUI = mgr;
  mgr->Icon() = icon;
  mgr->Menu() = menu;
  mgr->ExitCode() = exitCode;
  return mgr->Init();
}

bool BrEngine::InitScriptDaemon() {
  GLog.WriteLine("\nCreating Script Daemon");
  if (m_pScript) return false;
  try {
    m_pScript = new BrScriptDaemon();
  } catch (...) {
    return false;
  }
  GLog.WriteLine("...daemon summoned!");
  return true;
}

bool BrEngine::InitGUI() {
  if (!m_pGUI) {
    try {
      m_pGUI = new BrGUI();
    } catch (...) {
      m_pGUI = nullptr;
    }
  }
  return m_pGUI != nullptr;
}

namespace {
// The loader's own words for the last failed load, never null.
const char* LoaderReason() {
  const char* reason = W32LastLibraryError();
  return reason && reason[0] ? reason : "no reason given";
}
}  // namespace

HMODULE BrEngine::LoadPlugin(const char* name) {
  char path[ciPathLen * 2];
  std::snprintf(path, sizeof(path), "%s\\plug-ins\\%s.dll", m_szDriversDir, name ? name : "");
  HMODULE lib = brLoadLibrary(path);
  if (!lib) {
    GLog.printf("Failed to load %s extension", name ? name : "");
    // The name alone does not say where the engine looked nor why the loader refused.
    GLog.printf("ERROR: Could not load %s: %s", path, LoaderReason());
  }
  return lib;
}

void* BrEngine::StartDevice(const char* opening, const char* section, const char* key, const char* createName,
                            HMODULE& library, const char* namedFailure, const char* unnamedFailure) {
  GLog.WriteLine(opening);
  BrStringT<char> name;
  if (m_pConfig) m_pConfig->GetString(section, key, name);
  const char* plugin = name.c_str() ? name.c_str() : "";

  void* device = nullptr;
  if (plugin[0]) {
    library = LoadPlugin(plugin);
    if (library) {
      FARPROC create = GetProcAddress(library, createName);
      if (create)
        device = reinterpret_cast<void* (*)()>(reinterpret_cast<void (*)()>(create))();
      else
        GLog.printf("ERROR: The %s extension exports no %s", plugin, createName);
    }
  }
  if (device) return device;

  if (plugin[0])
    GLog.printf(namedFailure, plugin);
  else if (unnamedFailure)
    GLog.WriteLine(unnamedFailure);
  else
    GLog.printf(namedFailure, "");
  GLog.WriteLine("Specifying -safe mode restart in config file");
  if (m_pConfig) m_pConfig->SetInteger("Engine", "Safe", 1);
  // A library without a device is of no further use; Exit deletes nothing for it.
  if (library) {
    brFreeLibrary(library);
    library = nullptr;
  }
  return nullptr;
}

bool BrEngine::InitRender() {
  void* device = StartDevice("\nCreating Rendering device", "Render", "Device", "fnGetRenderingDevice", m_hRenderLib,
                             "Failed to create %s rendering extension",
                             "Failed to create rendering extension, unspecified name in config file");
  // Init ends the run itself, after its own error line, so that the shut-down is the last thing logged.
  if (!device) return false;
  m_pRender = static_cast<BrRenderBase*>(device);
  if (m_pOSGUI) {
    m_pRender->ParentHandle() = m_pOSGUI->GetHandle();
    m_pRender->WindowStyle() = m_pOSGUI->WindowStyle();
    RECT client = m_pOSGUI->GetClientArea();
    m_pRender->SetClientArea(client);
  }
  return m_pRender->Init();
}

bool BrEngine::InitAudio() {
  void* device = StartDevice("\nCreating Audio device", "Audio", "Device", "fnGetAudioDevice", m_hAudioLib,
                             "Failed to create %s audio extension",
                             "Failed to create audio extension, unspecified name in config file");
  if (!device) {
    GLog.WriteLine("WARNING: Failed to initiate Audio device");
    return false;
  }
  m_pAudio = static_cast<BrAudioMgrBase*>(device);
  if (m_pAudio->Init()) return true;
  // A device that could not start (no sound hardware) would still be reached through Audio() by every sound
  // id; the run goes on without sound instead.
  GLog.WriteLine("WARNING: Failed to initiate Audio device");
  void* dev = m_pAudio;
  DeleteDevice(m_hAudioLib, dev, "fnDeleteAudioDevice", "Deleted Audio device",
               "WARNING: Failed to delete Audio device", true);
  m_pAudio = nullptr;
  return false;
}

bool BrEngine::InitNet() {
  void* device = StartDevice("\nCreating IP Daemon", "Net", "Device", "fnGetIpDevice", m_hNetLib,
                             "Failed to create %s IP service extension",
                             "Failed to create IP service extension, unspecified name in config file");
  if (!device) {
    Exit();
    return false;
  }
  m_pNet = static_cast<BrIpDevBase*>(device);
  GLog.WriteLine("...daemon summoned!");
  return m_pNet->Init();
}

bool BrEngine::InitFormatParser() {
  void* device = StartDevice("\nCreating Format Parser", "App", "Parser", "fnGetFormatParser", m_hFmtParserLib,
                             "Failed to create %s format parser", nullptr);
  if (!device) {
    Exit();
    return false;
  }
  m_pFmtParser = static_cast<BrFmtParseBase*>(device);
  return m_pFmtParser->Init();
}

bool BrEngine::LoadNativeLibs() {
  char path[ciPathLen * 2];
  std::snprintf(path, sizeof(path), "%s\\Config\\main.cfg", m_MediaDir.c_str() ? m_MediaDir.c_str() : "");
  BrCfgFile file;
  file.Open(path, 0x1000001);
  m_MissingLibs.Clear();
  if (!m_pScript) return false;

  int count = 0;
  if (!m_pScript->LoadPropertyListSize("Engine", &file, "Libs", count) || count <= 0) return false;
  TDArray<BrStringT<char>> names;
  for (int i = 0; i < count; ++i) names.Add(BrStringT<char>());
  if (!m_pScript->LoadPropertyList(&names[0], count, "Engine", &file, "Libs")) return false;

  for (int i = 0; i < count; ++i) {
    const char* name = names[i].c_str();
    if (!name || !name[0]) continue;
    std::snprintf(path, sizeof(path), "%s\\Libs\\%s.dll", m_MediaDir.c_str() ? m_MediaDir.c_str() : "", name);
    // Classes registered while the library loads are tagged with it, so they leave the registry with it.
    m_iLoadingLib = m_iLibsLoaded + 1;
    HMODULE lib = brLoadLibrary(path);
    m_iLoadingLib = 0;
    if (!lib) {
      // A game library that does not load leaves its classes unknown; the reason is the first thing to look at.
      const char* why = LoaderReason();
      GLog.printf("ERROR: Engine could not load lib %s from %s: %s", name, path, why);
      // Kept for whoever must tell the player (the host at start, the menu at Play), not only the log.
      BrStringT<char> missing(name);
      missing += BrStringT<char>(": ");
      missing += BrStringT<char>(why ? why : "");
      m_MissingLibs.Add(missing);
      continue;
    }
    ++m_iLibsLoaded;
    GLog.printf("Engine: Loaded lib %s", name);
    m_Libs.Append(lib);
  }
  return true;
}

bool BrEngine::SetApp(BrApplication* app) {
  if (!app) {
    GLog.DebugPrintf("WARNING: Engine could not set a null game");
    return false;
  }
  if (m_pApp) {
    GLog.DebugPrintf("WARNING: Engine could not set game because one is already in session");
    return false;
  }
  m_pApp = app;
  BrEngineCall call;
  m_pApp->Init();
  return true;
}

void BrEngine::Launch(char* map, DWORD, DWORD, DWORD, bool noMapLoad) {
  GLog.WriteLine("\nAwaiting game connection...");
  if (!m_pApp) {
    Exit();
    return;
  }
  BrEngineCall call;
  BrStringT<char> name("UnknownApp");
  if (m_pConfig) m_pConfig->GetString("App", "Title", name);
  m_pApp->SetName(name.c_str());

  if (map && !noMapLoad) {
    char path[ciPathLen * 2];
    std::snprintf(path, sizeof(path), "%s\\Maps\\%s", m_MediaDir.c_str() ? m_MediaDir.c_str() : "", map);
    GLog.printf("\nLaunching map: %s", path);
    BrBin archive;
    archive.Loading(false);
    if (archive.Open(path, 0x1000001) && archive.IsValid()) {
      if (InitFormatParser() && !GExit) {
        m_pApp->SetName("<COULD NOT PARSE GAME NAME>");
        BrStringT<char> target(path);
        if (!m_pFmtParser->ExtractInfo(target, 0))
          GLog.DebugPrintf("ERROR: Format parser failed to extract info from %s", path);
        else if (!GExit && !m_pFmtParser->Convert(m_pApp->Map()))
          GLog.DebugPrintf("ERROR: Format parser failed to convert %s", path);
      }
      archive.Close();
    }
  } else {
    GLog.WriteLine("\nNo map was specified to launch.");
  }
  // A parser that could not be made has ended the run: the application is on its way out.
  if (m_pApp && !GExit) GLog.printf("\nConnected to game: %s", m_pApp->GetName() ? m_pApp->GetName() : "");
}

void BrEngine::Step(float dt) {
  if (GExit) return;
  float scaled = dt * m_fTimeScalar;
  BrEngineCall call;
  if (m_pApp) m_pApp->Step(scaled);
  if (m_pAudio && !GExit) m_pAudio->Step(scaled);
}

void BrEngine::DeleteDevice(HMODULE& library, void*& device, const char* deleteName, const char* deleted,
                            const char* failed, bool debugLine) {
  if (library) {
    FARPROC del = GetProcAddress(library, deleteName);
    if (del && device) {
      reinterpret_cast<void (*)(void*)>(reinterpret_cast<void (*)()>(del))(device);
      device = nullptr;
    }
    brFreeLibrary(library);
    library = nullptr;
    if (!device) {
      if (debugLine)
        GLog.DebugPrintf("%s", deleted);
      else
        GLog.DebugWriteLine(deleted);
    } else {
      // The plug-in offers no delete function: the device cannot be released safely and is left alone.
      GLog.WriteLine(failed);
      device = nullptr;
    }
  } else if (device) {
    GLog.WriteLine(failed);
  }
}

bool BrEngine::Exit() {
  if (!gFinishingExit) {
    if (GExit) return false;
    GLog.WriteLine("\nEngine requesting exit");
    GExit = true;
    if (gCallDepth > 0) {
      gExitDeferred = true;
      return true;
    }
  }
  gFinishingExit = false;
  gExitDeferred = false;

  if (m_pApp) {
    m_pApp->Destroy();
    delete m_pApp;
    m_pApp = nullptr;
  }

  void* dev = m_pRender;
  DeleteDevice(m_hRenderLib, dev, "fnDeleteRenderingDevice", "Deleted Rendering device",
               "WARNING: Failed to delete Rendering device", true);
  m_pRender = static_cast<BrRenderBase*>(dev);

  dev = m_pAudio;
  DeleteDevice(m_hAudioLib, dev, "fnDeleteAudioDevice", "Deleted Audio device",
               "WARNING: Failed to delete Audio device", true);
  m_pAudio = static_cast<BrAudioMgrBase*>(dev);

  if (m_pOSGUI) {
    delete m_pOSGUI;
    m_pOSGUI = nullptr;
    GLog.DebugWriteLine("Deleted Operating System GUI");
  }

  dev = m_pFmtParser;
  DeleteDevice(m_hFmtParserLib, dev, "fnDeleteFormatParser", "Deleted Format Parser",
               "WARNING: Failed to delete Format Parser", true);
  m_pFmtParser = static_cast<BrFmtParseBase*>(dev);

  if (m_pScript) {
    delete m_pScript;
    m_pScript = nullptr;
  }

  dev = m_pNet;
  DeleteDevice(m_hNetLib, dev, "fnDeleteIpDevice", "Deleted IP service extension",
               "WARNING: Failed to delete IP service extension", true);
  m_pNet = static_cast<BrIpDevBase*>(dev);

  if (m_pGUI) {
    m_pGUI->Destroy();
    delete m_pGUI;
    m_pGUI = nullptr;
    GLog.DebugPrintf("Deleted Widgets mgr");
  }

  // The registry entries of the game libraries go first: once a library is freed its create functions point
  // at unloaded code.
  if (m_Libs.GetCount() > 0) {
    for (int b = 0; b < THashTable<_factoryentry>::ciNumBuckets; ++b) {
      TDLinkedList<_factoryentry>& bucket = m_Registry.GetBucketAt(b);
      for (TDLinkedList<_factoryentry>::Node* e = bucket.GetHead(); e;) {
        TDLinkedList<_factoryentry>::Node* next = e->next;
        if (e->element.lib != 0) bucket.Remove(e);
        e = next;
      }
    }
  }
  for (TDLinkedList<HMODULE>::Node* n = m_Libs.GetHead(); n; n = n->next) brFreeLibrary(n->element);
  m_Libs.Clear();

  if (GIsDebug) {
    GLog.WriteLine("DEBUG: Engine unloading: logging class registry");
    LogRegistry();
  }
  m_Profiler.DumpStats();
  GLog.WriteLine("\nExit granted\n");
  return true;
}
