// BrEngineTestSeams: what test harnesses may do to the engine and no host or game may; kept out of BrEngine.h.
#pragma once

#include "engine/kernel/BrEngine.h"

// Seams for test harnesses only. Each works on the one engine, Engine().
class BrEngineTestSeams {
public:
  // Installs a rendering device made outside the plug-in path (a recording device) as Render() and returns the
  // one it replaces. Such a device has no plug-in library, so Exit never deletes it: the harness puts the old
  // device back and deletes its own.
  static BrRenderBase* SetRender(BrRenderBase* device) {
    BrRenderBase* old = Engine().m_pRender;
    Engine().m_pRender = device;
    return old;
  }
  // The same for the audio device (Audio()); Exit never deletes it either.
  static BrAudioMgrBase* SetAudio(BrAudioMgrBase* device) {
    BrAudioMgrBase* old = Engine().m_pAudio;
    Engine().m_pAudio = device;
    return old;
  }
  // The slots that have no setter, for harnesses that run parts of the engine without starting it. A harness that
  // sets one puts the old value back at its end.
  static BrApplication*& App() { return Engine().m_pApp; }
  static BrGUI*& GUI() { return Engine().m_pGUI; }
  static BrScriptDaemon*& Script() { return Engine().m_pScript; }
  static BrWindowBase*& OSGUI() { return Engine().m_pOSGUI; }
  static BrRenderBase*& Render() { return Engine().m_pRender; }
  static BrAudioMgrBase*& Audio() { return Engine().m_pAudio; }
  // Starts the audio device as Init would, alone.
  static bool InitAudio() { return Engine().InitAudio(); }
  // After Exit, returns the engine to its constructed state (GExit cleared, the host's configuration
  // forgotten), keeping the registry. Does nothing before Exit.
  static void ResetAfterExit() { Engine().ResetAfterExit(); }
};
