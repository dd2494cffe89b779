// How far a context may run ahead of the driver: a fence after each presented frame, and a wait only when more
// frames than the bound are still unfinished. Header-only, so that a plain-OpenGL path measured against the
// layer can hold itself to the same bound.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>

namespace brd3d9 {

// Presented frames a swap chain lets the driver hold unfinished: the layer's bound.
constexpr int kSwapChainFramesAhead = 2;

class FramePacer {
public:
  static constexpr int kMaxAhead = 4;
  // ahead: presented frames the driver may hold unfinished (1..kMaxAhead); 0 never waits.
  explicit FramePacer(int ahead = kSwapChainFramesAhead)
      : mAhead(ahead < 0 ? 0 : (ahead > kMaxAhead ? kMaxAhead : ahead)) {}

  // Marks the end of a frame just presented. Its fence is owed, placed by settle() before the next frame's
  // first command: the frame's commands reach the driver when the surface's own swap hands them over (a window
  // does), or at the next frame's first command, and not in a flush of the layer's own in between, which on the
  // software rasteriser costs the submitting thread a hand-over of its own. When the frames before this one
  // put more in flight than the bound, the oldest must be finished: a query when the driver has drawn it
  // already, a wait when it has not. Returns true when the bound was held so (every Present once the queue is
  // full), whether or not it had to wait.
  bool presented() {
    if (mAhead == 0) return false;
    settle();  // a frame that sent nothing: the fence of the one before goes here
    mOwed = true;
    bool held = false;
    while (mCount > mAhead - 1) {
      if (glClientWaitSync(mFences[mHead], 0, 0) == GL_TIMEOUT_EXPIRED) {
        ++mWaits;
        glClientWaitSync(mFences[mHead], GL_SYNC_FLUSH_COMMANDS_BIT, GLuint64(5000000000ull));
      }
      popOldest();
      held = true;
    }
    return held;
  }
  // Before a frame's first command: places the fence owed by the frame presented last, so that it covers that
  // frame's commands and none of this one's.
  void settle() {
    if (!mOwed) return;
    mOwed = false;
    // A plain flush first: the fence then covers the same commands, and the software rasteriser's flush
    // inside the fence call costs the submitting thread more than the two calls apart.
    glFlush();
    mFences[(mHead + mCount) % kRing] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    ++mCount;
  }
  // Presents that found the oldest frame unfinished and waited for it.
  uint64_t waits() const { return mWaits; }
  // Drops every fence (the context is current).
  void release() {
    while (mCount > 0) popOldest();
    mOwed = false;
  }
  // Forgets the fences of a context that is gone with them.
  void forget() {
    mHead = mCount = 0;
    mOwed = false;
  }

private:
  static constexpr int kRing = kMaxAhead + 1;
  void popOldest() {
    glDeleteSync(mFences[mHead]);
    mHead = (mHead + 1) % kRing;
    --mCount;
  }
  GLsync mFences[kRing] = {};
  int mHead = 0, mCount = 0;
  int mAhead;
  bool mOwed = false;
  uint64_t mWaits = 0;
};

}  // namespace brd3d9
