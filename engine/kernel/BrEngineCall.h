// BrEngineCall: the scope of one call from the engine into the application, the widgets or a device.
#pragma once

// While at least one such call is open, BrEngine::Exit sets GExit and logs its request at once but leaves the
// teardown (deleting the application, the devices, the widgets, freeing libraries) to the end of the outermost
// call: a state that ends the game from its OnEntry, or a device that ends the run from its Init, must not be
// deleted, nor its library freed, while its own code is still running. Engine-internal.
class BrEngineCall {
public:
  BrEngineCall();
  // Closing the outermost call finishes an exit requested inside it.
  ~BrEngineCall();
  BrEngineCall(const BrEngineCall&) = delete;
  BrEngineCall& operator=(const BrEngineCall&) = delete;
};
