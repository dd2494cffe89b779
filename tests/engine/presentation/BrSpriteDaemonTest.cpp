// The sprite daemon: vertex and index layout, batching by effector, frame reuse, refusals and failed buffers.
#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <cstring>

#include "engine/presentation/BrSpriteDaemon.h"
#include "tests/engine/presentation/RenderTestKit.h"

using brrendertest::RenderTest;

namespace {

BrARGB gWhite(255, 255, 255, 255);

// Vertex v of sprite n as written into the recording vertex buffer.
BrSpriteVertex VertexAt(const RecordingVertexBuffer* vb, int n, int v) {
  BrSpriteVertex out;
  const unsigned char* p = vb->bytes.data() + n * 112 + v * 28;
  std::memcpy(&out.x, p + 0, 4);
  std::memcpy(&out.y, p + 4, 4);
  std::memcpy(&out.z, p + 8, 4);
  std::memcpy(&out.rhw, p + 12, 4);
  std::memcpy(&out.colour, p + 16, 4);
  std::memcpy(&out.u, p + 20, 4);
  std::memcpy(&out.v, p + 24, 4);
  return out;
}

}  // namespace

class SpriteDaemonTest : public RenderTest {
protected:
  bool Queue(unsigned int fx, float x = 0.25f, float y = 0.25f, float w = 0.5f, float h = 0.25f, float z = 0.001f,
             float rotation = 0.0f) {
    return dev->DrawSprite(x, y, w, h, fx, z, gWhite, rotation, 0.1f, 0.2f, 0.3f, 0.4f);
  }
  RecordingVertexBuffer* VB() { return static_cast<RecordingVertexBuffer*>(dev->SpriteDaemon()->GetVertexBuffer()); }
  RecordingIndexBuffer* IB() { return static_cast<RecordingIndexBuffer*>(dev->SpriteDaemon()->GetIndexBuffer()); }
};

TEST_F(SpriteDaemonTest, BuffersAreMadeForTheWholeFrameQueue) {
  ASSERT_NE(VB(), nullptr);
  ASSERT_NE(IB(), nullptr);
  EXPECT_EQ(VB()->bytes.size(), 1024u * 112u);
  EXPECT_EQ(VB()->FVFFlags(), 0x144u);
  EXPECT_EQ(IB()->GetSizeInBytes(), 1024u * 12u);
  EXPECT_EQ(IB()->GetFormat(), eIDXFormat16);
}

TEST_F(SpriteDaemonTest, VerticesAndIndicesLandAtTheSpritesPlaceInTheFrame) {
  ASSERT_TRUE(Queue(5));
  ASSERT_TRUE(dev->DrawSprite(0.5f, 0.5f, 0.25f, 0.5f, 5, 0.5f, gWhite, 0.0f, 0.1f, 0.2f, 0.3f, 0.4f));
  // Sprite 1: corners in pixels, clockwise from the top left, with the texture rectangle.
  const float xs[4] = {400, 600, 600, 400}, ys[4] = {300, 300, 600, 600};
  const float us[4] = {0.1f, 0.3f, 0.3f, 0.1f}, vs[4] = {0.2f, 0.2f, 0.4f, 0.4f};
  for (int v = 0; v < 4; ++v) {
    BrSpriteVertex q = VertexAt(VB(), 1, v);
    EXPECT_FLOAT_EQ(q.x, xs[v]);
    EXPECT_FLOAT_EQ(q.y, ys[v]);
    EXPECT_FLOAT_EQ(q.z, 0.5f);
    EXPECT_FLOAT_EQ(q.rhw, 2.0f);  // reciprocal of the depth
    EXPECT_EQ(q.colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(q.u, us[v]);
    EXPECT_FLOAT_EQ(q.v, vs[v]);
  }
  // A sprite at depth 0 (or below) keeps a finite, positive rhw, so the device still draws it.
  ASSERT_TRUE(dev->DrawSprite(0.1f, 0.1f, 0.1f, 0.1f, 5, 0.0f, gWhite, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f));
  ASSERT_TRUE(dev->DrawSprite(0.1f, 0.1f, 0.1f, 0.1f, 5, -1.0f, gWhite, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f));
  for (int n = 2; n < 4; ++n) {
    const float rhw = VertexAt(VB(), n, 0).rhw;
    EXPECT_TRUE(std::isfinite(rhw) && rhw > 0.0f) << rhw;
  }
  // Indices of sprite n: 4n+3, 4n, 4n+1, 4n+3, 4n+1, 4n+2, at index position 6n.
  const int expect[12] = {3, 0, 1, 3, 1, 2, 7, 4, 5, 7, 5, 6};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(IB()->Index16(i), expect[i]) << i;
}

TEST_F(SpriteDaemonTest, ConsecutiveEffectorsBatchAndEachBatchDrawsItsRange) {
  Queue(5);
  Queue(5);
  Queue(6);
  Queue(5);
  EXPECT_EQ(dev->SpriteDaemon()->GetBatchCount(), 2);
  dev->EndRender();
  ASSERT_EQ(dev->draws.size(), 3u);
  const unsigned int fx[3] = {5, 6, 5};
  const int vertices[3] = {8, 12, 16}, prims[3] = {4, 2, 2};
  const unsigned int starts[3] = {0, 12, 18};
  for (int i = 0; i < 3; ++i) {
    const RecordingRenderDevice::Draw& d = dev->draws[i];
    EXPECT_TRUE(d.indexed);
    EXPECT_EQ(d.type, 4u);
    EXPECT_EQ(d.effector, fx[i]);
    EXPECT_EQ(d.stride, 28u);
    EXPECT_EQ(d.fvf, 0x144u);
    EXPECT_EQ(d.numVertices, vertices[i]);
    EXPECT_EQ(d.primitiveCount, prims[i]);
    EXPECT_EQ(d.baseVertex, 0u);
    EXPECT_EQ(d.startIndex, starts[i]);
  }
  EXPECT_EQ(dev->SpriteDaemon()->GetQueuedCount(), 0);
  EXPECT_EQ(dev->SpriteDaemon()->GetBatchCount(), 0);
}

TEST_F(SpriteDaemonTest, EveryFrameDiscardsTheIndicesOnItsFirstSpriteAndReusesTheBatchList) {
  Queue(4);
  Queue(5);
  Queue(6);
  dev->EndRender();
  EXPECT_EQ(IB()->discards, 1);
  // A frame with fewer batches, then one with more: each batch keeps its own effector and range.
  dev->ClearRecords();
  Queue(7);
  Queue(7);
  dev->EndRender();
  EXPECT_EQ(IB()->discards, 2);
  ASSERT_EQ(dev->draws.size(), 1u);
  EXPECT_EQ(dev->draws[0].effector, 7u);
  EXPECT_EQ(dev->draws[0].primitiveCount, 4);
  EXPECT_EQ(dev->draws[0].startIndex, 0u);
  dev->ClearRecords();
  for (unsigned int fx = 10; fx < 15; ++fx) Queue(fx);
  dev->EndRender();
  ASSERT_EQ(dev->draws.size(), 5u);
  for (unsigned int i = 0; i < 5; ++i) {
    EXPECT_EQ(dev->draws[i].effector, 10 + i);
    EXPECT_EQ(dev->draws[i].startIndex, 6 * i);
    EXPECT_EQ(dev->draws[i].numVertices, (int)(4 * (i + 1)));
  }
  // The second frame's first sprite went to the start of the buffers again.
  EXPECT_EQ(IB()->Index16(0), 3);
}

TEST_F(SpriteDaemonTest, TheQueueHolds1024SpritesAFrame) {
  for (int i = 0; i < 1024; ++i) ASSERT_TRUE(Queue(5));
  EXPECT_FALSE(Queue(5));
  EXPECT_EQ(dev->SpriteDaemon()->GetQueuedCount(), 1024);
  dev->EndRender();
  ASSERT_EQ(dev->draws.size(), 1u);
  EXPECT_EQ(dev->draws[0].primitiveCount, 2048);
  EXPECT_TRUE(Queue(5));  // the next frame has room again
}

TEST_F(SpriteDaemonTest, RotationTurnsTheCornersAboutTheCentre) {
  ASSERT_TRUE(Queue(5, 0.25f, 0.25f, 0.5f, 0.25f, 0.001f, 0.0f));
  BrSpriteVertex c0 = VertexAt(VB(), 0, 0);
  EXPECT_EQ(c0.x, 200.0f);  // exactly the pixel products
  EXPECT_EQ(c0.y, 150.0f);
  // 400 x 150 pixels about (400, 225): a quarter turn makes it 150 wide and 400 high.
  ASSERT_TRUE(Queue(5, 0.25f, 0.25f, 0.5f, 0.25f, 0.001f, 90.0f));
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (int v = 0; v < 4; ++v) {
    BrSpriteVertex q = VertexAt(VB(), 1, v);
    minX = std::min(minX, q.x);
    maxX = std::max(maxX, q.x);
    minY = std::min(minY, q.y);
    maxY = std::max(maxY, q.y);
  }
  EXPECT_NEAR(minX, 325.0f, 0.01f);
  EXPECT_NEAR(maxX, 475.0f, 0.01f);
  EXPECT_NEAR(minY, 25.0f, 0.01f);
  EXPECT_NEAR(maxY, 425.0f, 0.01f);
}

TEST_F(SpriteDaemonTest, ASpriteWithAnEffectorOutOfRangeNeverReachesTheDevice) {
  const int writes = VB()->populates;
  EXPECT_FALSE(Queue(50001));
  EXPECT_FALSE(Queue(0xFFFFFFFFu));  // -1 read as signed
  EXPECT_EQ(VB()->populates, writes);
  EXPECT_EQ(dev->SpriteDaemon()->GetQueuedCount(), 0);
  EXPECT_TRUE(Queue(50000));
  dev->EndRender();
  ASSERT_EQ(dev->draws.size(), 1u);
  EXPECT_EQ(dev->draws[0].effector, 50000u);
}

TEST_F(SpriteDaemonTest, FailedBufferWritesDropTheSprite) {
  VB()->failPopulate = true;
  EXPECT_FALSE(Queue(5));
  VB()->failPopulate = false;
  IB()->failPopulate = true;
  EXPECT_FALSE(Queue(5));
  IB()->failPopulate = false;
  EXPECT_EQ(dev->SpriteDaemon()->GetQueuedCount(), 0);
  EXPECT_TRUE(Queue(5));
  dev->EndRender();
  ASSERT_EQ(dev->draws.size(), 1u);
  EXPECT_EQ(dev->draws[0].primitiveCount, 2);
}

TEST(SpriteDaemon, AFailedBufferSetUpIsTriedOnceAFrameNotForEverySprite) {
  RecordingRenderDevice device;
  ScopedRenderDevice scope(&device);
  device.failVertexBuffers = true;
  ASSERT_TRUE(device.Init());
  EXPECT_EQ(device.vertexBufferRequests, 1);
  BrARGB white(255, 255, 255, 255);
  for (int i = 0; i < 50; ++i) EXPECT_FALSE(device.DrawSprite(0, 0, 0.1f, 0.1f, 5, 0.001f, white, 0, 0, 0, 1, 1));
  EXPECT_EQ(device.vertexBufferRequests, 1);
  device.EndRender();
  EXPECT_TRUE(device.draws.empty());
  // Next frame: one more try, which now succeeds.
  device.failVertexBuffers = false;
  EXPECT_TRUE(device.DrawSprite(0, 0, 0.1f, 0.1f, 5, 0.001f, white, 0, 0, 0, 1, 1));
  EXPECT_EQ(device.vertexBufferRequests, 2);
  device.EndRender();
  EXPECT_EQ(device.draws.size(), 1u);
  device.Exit();
}

TEST(SpriteDaemon, DrawingWithoutADeviceEmptiesTheQueue) {
  RecordingRenderDevice device;
  ScopedRenderDevice scope(&device);
  ASSERT_TRUE(device.Init());
  BrARGB white(255, 255, 255, 255);
  device.DrawSprite(0, 0, 0.1f, 0.1f, 5, 0.001f, white, 0, 0, 0, 1, 1);
  device.SpriteDaemon()->DrawAll(nullptr);
  EXPECT_EQ(device.SpriteDaemon()->GetQueuedCount(), 0);
  EXPECT_EQ(device.SpriteDaemon()->GetOpenBatch().effector, -1);
  EXPECT_TRUE(device.draws.empty());
  device.Exit();
}

TEST_F(SpriteDaemonTest, RefusedSpritesAreLogged) {
  brrendertest::ScopedLog log;
  EXPECT_FALSE(Queue(50001));
  EXPECT_TRUE(log.Has("ERROR: Sprite Mgr batching invalid effector"));
  for (int i = 0; i < 1024; ++i) Queue(5);
  EXPECT_FALSE(Queue(5));
  EXPECT_TRUE(log.Has("ERROR: Max queue size of 1024 was exceeded in BrSpriteDaemon. Plz increase initial size."));
  dev->EndRender();
  VB()->failPopulate = true;
  EXPECT_FALSE(Queue(5));
  EXPECT_TRUE(log.Has("WARNING: Failed to initiate sprite vertices"));
  VB()->failPopulate = false;
  IB()->failPopulate = true;
  EXPECT_FALSE(Queue(5));
  EXPECT_TRUE(log.Has("WARNING: Failed to initiate sprite indices"));
}
