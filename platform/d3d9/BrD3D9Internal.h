// Shared internals of the Direct3D 9 layer: reference counting, deferred deletion and the one refusal helper.
#pragma once

#include <cstdint>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_testing.h"

namespace brd3d9 {

// Anything the layer deletes later rather than from inside one of its own methods.
class Buried {
public:
  virtual ~Buried() = default;
};

// Hands an object over for deletion; it is deleted at the next layer call that drains the graveyard
// (never while one of its own methods runs), or at process exit.
void bury(Buried* object);
// Deletes every buried object. Called at the start of the layer's entry points.
void drainGraveyard();

// The public reference count of an interface object. What the device has bound is not counted here:
// the release that reaches 0 calls finalRelease, which unbinds the object and buries it.
template <class Interface>
class RefCounted : public Interface {
public:
  ULONG AddRef() override {
    drainGraveyard();
    return ++mRefs;
  }
  ULONG Release() override {
    // Checked before draining: an object released once too often may be in the graveyard itself.
    if (mRefs == 0) return 0;
    drainGraveyard();
    const ULONG left = --mRefs;
    if (left == 0) finalRelease();
    return left;
  }
  ULONG publicRefs() const { return mRefs; }

protected:
  virtual void finalRelease() = 0;
  ULONG mRefs = 1;
};

// Every refusal of the layer leaves through here: the reason is kept for brD3D9LastError (and printed
// when BR_D3D9_TRACE is set in the environment). Returns result.
HRESULT refuse(HRESULT result, const char* where, const char* why);
inline HRESULT invalidCall(const char* where, const char* why) { return refuse(D3DERR_INVALIDCALL, where, why); }

// The test seam's verdict for one named check (see d3d9_testing.h).
bool faultInjected(uint32_t check);
// The test seam's counts of work sent to OpenGL, bumped where that work is done.
BrD3D9TestCounts& testCounts();
// True when the test seam refuses this format in the format checks.
bool formatRefused(D3DFORMAT format);
// The window surface's size as a test set it (false when none is set).
bool surfaceSizeSet(int& w, int& h);

}  // namespace brd3d9
