// BrSpriteDaemon: collects a frame's screen sprites into one vertex and one index buffer and draws them in batches.
#pragma once

#include <cstdint>

#include "core/BrARGB.h"
#include "templates/TDArray.h"

class BrRenderBase;
class BrVertexBufferBase;
class BrIndexBufferBase;

// A run of consecutive sprites with one effector: count, effector (-1 none), first sprite of the frame.
struct SPRITEBATCH {
  int32_t count = 0;
  int32_t effector = -1;
  int32_t start = 0;
};

// One pre-transformed sprite vertex (28 bytes, vertex format 0x144): pixel position, depth, reciprocal w,
// ARGB colour, texture coordinates.
struct BrSpriteVertex {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float rhw = 0.0f;
  uint32_t colour = 0;
  float u = 0.0f;
  float v = 0.0f;
};
static_assert(sizeof(BrSpriteVertex) == 28, "a sprite vertex is 28 bytes");

// Owned by the rendering device (made by its Init); fed by DrawSprite; drained by the device's EndRender.
class BrSpriteDaemon {
public:
  static const uint32_t ciFVF = 0x144;
  static const int ciVertexSize = 28;
  static const int ciSpriteBytes = 4 * 28;  // 112
  static const int ciIndexBytes = 6 * 2;    // 12
  static const int ciMaxEffector = 50000;

  // No buffers, capacity 1024, no open batch, nothing queued.
  BrSpriteDaemon();
  // Not copied: a copy would release the same buffers a second time.
  BrSpriteDaemon(const BrSpriteDaemon& other) = delete;
  BrSpriteDaemon& operator=(const BrSpriteDaemon& other) = delete;
  // Destroy().
  virtual ~BrSpriteDaemon();

  // (Re)creates the buffers through Engine().Render() and empties the frame. False when a buffer could not be
  // made; the frame then queues nothing and the set-up is tried again at the next frame.
  bool Init();
  // Queues one sprite: position and size in screen fractions, depth z (not 0), rotation in degrees about the
  // centre, texture rectangle. False when refused: queue full, buffers missing, a buffer write failing, or an
  // effector outside 0..50000 (logged; such a sprite never reaches the device).
  bool QueueSprite(float x, float y, float w, float h, unsigned int effector, float z, BrARGB& colour, float rotation,
                   float uLeft, float vTop, float uRight, float vBottom);
  // Draws every batch of the frame through the device (nothing for a null device) and empties the queue.
  void DrawAll(BrRenderBase* device);
  // Releases the buffers and clears the arrays.
  void Destroy();

  int GetCapacity() const { return m_iCapacity; }
  int GetQueuedCount() const { return m_iQueued; }
  // Closed batches of the frame, and one of them (the open batch is closed by DrawAll).
  int GetBatchCount() const { return m_iBatches; }
  const SPRITEBATCH& GetBatch(int i) const { return m_Batches[i]; }
  const SPRITEBATCH& GetOpenBatch() const { return m_OpenBatch; }
  BrVertexBufferBase* GetVertexBuffer() const { return m_pVB; }
  BrIndexBufferBase* GetIndexBuffer() const { return m_pIB; }

protected:
  // Stores the batch at [batch count], reusing the slot when it exists.
  void AddBatch(const SPRITEBATCH& batch);

  BrVertexBufferBase* m_pVB;
  BrIndexBufferBase* m_pIB;
  TDArray<BrSpriteVertex> m_Quad;
  TDArray<uint16_t> m_Indices;
  TDArray<SPRITEBATCH> m_Batches;
  SPRITEBATCH m_OpenBatch;
  int32_t m_iCapacity;
  int32_t m_iQueued;
  int32_t m_iBatches;
  // Set when the buffers could not be made this frame, so that they are not tried again for every sprite.
  bool m_bSetUpFailed;
};
