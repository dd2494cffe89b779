// The bench capture of one frame: what each clear and draw sent OpenGL, kept in OpenGL's own terms.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/d3d9/BrD3D9Core.h"
#include "platform/d3d9/BrD3D9Resources.h"

namespace brd3d9 {

// The capture being filled and what it already holds, by OpenGL name.
struct CaptureRecorder {
  BrD3D9FrameCapture* out = nullptr;
  std::unordered_map<GLuint, int32_t> programs, textures;
};

namespace {

int32_t captureTexture(CaptureRecorder& r, Texture* t) {
  if (!t || !t->gl) return -1;
  auto it = r.textures.find(t->gl);
  if (it != r.textures.end()) return it->second;
  BrD3D9CapturedTexture c;
  for (UINT i = 0; i < t->levels.size(); ++i) {
    c.levels.push_back({t->levels[i].width, t->levels[i].height, {}});
    t->readLevel(i, c.levels.back().texels);
  }
  c.opaque = t->format == D3DFMT_X8R8G8B8;
  r.out->textures.push_back(std::move(c));
  const int32_t index = int32_t(r.out->textures.size()) - 1;
  r.textures.emplace(t->gl, index);
  return index;
}

template <class Index>
void rebase(const uint8_t* in, UINT count, std::vector<uint8_t>& out, uint32_t& low, uint32_t& high) {
  std::vector<Index> v(count);
  std::memcpy(v.data(), in, size_t(count) * sizeof(Index));
  low = count ? uint32_t(*std::min_element(v.begin(), v.end())) : 0;
  high = count ? uint32_t(*std::max_element(v.begin(), v.end())) : 0;
  for (Index& i : v) i = Index(i - low);
  out.resize(v.size() * sizeof(Index));
  std::memcpy(out.data(), v.data(), out.size());
}

}  // namespace

void Core::captureDraw(GLenum mode, UINT count, int64_t first, UINT vertexCount, const uint8_t* indices,
                       UINT indexSize) {
  CaptureRecorder& r = *gCapture;
  BrD3D9CapturedCall call;
  call.isDraw = true;
  call.mode = mode;
  call.count = count;
  if (indices) {
    uint32_t low = 0, high = 0;
    indexSize == 4 ? rebase<uint32_t>(indices, count, call.indices, low, high)
                   : rebase<uint16_t>(indices, count, call.indices, low, high);
    call.indexSize = indexSize;
    first += low;
    vertexCount = count ? high - low + 1 : 0;
  }
  call.vertexCount = vertexCount;

  // Vertex layout and the vertices this draw reads, stream by stream.
  const VertexDeclaration* decl = state.declaration;
  for (const VsInput& in : state.shader->program.inputs) {
    const D3DVERTEXELEMENT9* e = decl->find(in.usage, in.usageIndex);
    GLint size;
    GLenum type;
    GLboolean normalized;
    if (!e || !state.streams[e->Stream].buffer || !brAttribFormat(e->Type, size, type, normalized)) continue;
    call.attributes.push_back({in.reg, e->Stream, size, type, normalized != GL_FALSE, e->Offset});
    const StreamBinding& b = state.streams[e->Stream];
    if (b.stride == 0) {
      ++r.out->skippedDraws;
      return;
    }
    bool have = false;
    for (const BrD3D9CapturedStream& s : call.streams) have = have || s.stream == e->Stream;
    if (have) continue;
    const std::vector<uint8_t>& src = b.buffer->store.bytes;
    const size_t from = size_t(b.offset) + size_t(first) * b.stride;
    if (first < 0 || from + size_t(vertexCount) * b.stride > src.size() + b.stride) {
      ++r.out->skippedDraws;  // indices beyond the buffer: OpenGL reads what Direct3D leaves undefined
      return;
    }
    BrD3D9CapturedStream s;
    s.stream = e->Stream;
    s.stride = b.stride;
    s.bytes.assign(size_t(vertexCount) * b.stride, 0);
    if (from < src.size()) std::memcpy(s.bytes.data(), src.data() + from, std::min(s.bytes.size(), src.size() - from));
    call.streams.push_back(std::move(s));
  }

  // The program, its uniforms, the textures and samplers, the raster state.
  auto found = r.programs.find(mCurrent->program);
  if (found == r.programs.end()) {
    BrD3D9CapturedProgram p;
    p.vertexGlsl = brVsEmitGlsl(state.shader->program, mConv, mCurrentKey.pretransformed != 0, false);
    p.fragmentGlsl = brFsEmitGlsl(mCurrentKey.fs);
    p.constantRegisters = uint32_t(mCurrent->locC.size());
    r.out->programs.push_back(std::move(p));
    found = r.programs.emplace(mCurrent->program, int32_t(r.out->programs.size()) - 1).first;
  }
  call.program = found->second;
  call.constants.assign(state.constants, state.constants + mCurrent->locC.size() * 4);
  GLint alphaRef = 0;
  fixedUniforms(call.fix, call.textureFactor, alphaRef);
  call.alphaRef = alphaRef;
  for (uint32_t s = 0; s < kFsStages; ++s) {
    call.textures[s] = captureTexture(r, state.textures[s]);
    call.samplers[s] = brSamplerValues(state.samp[s]);
  }
  BrD3D9CapturedRaster& g = call.raster;
  g.depthTest = mGl.depthTest;
  g.depthMask = mGl.depthMask;
  g.depthFunc = mGl.depthFunc;
  g.blend = mGl.blend;
  g.blendSrc = mGl.blendSrc;
  g.blendDst = mGl.blendDst;
  g.blendEquation = mGl.blendEq;
  g.cull = mGl.cull;
  g.cullFace = mGl.cullFace;
  g.frontFace = mConv.frontFaceClockwise ? GL_CW : GL_CCW;
  g.colorMask = uint32_t(mGl.colorMask);
  g.polygonMode = mGl.polygonMode;
  const D3DVIEWPORT9& vp = state.viewport;
  g.viewport[0] = GLint(vp.X);
  g.viewport[1] = GLint(mParams.BackBufferHeight) - GLint(vp.Y + vp.Height);
  g.viewport[2] = GLint(vp.Width);
  g.viewport[3] = GLint(vp.Height);
  g.depthNear = vp.MinZ;
  g.depthFar = vp.MaxZ;
  r.out->calls.push_back(std::move(call));
}

void Core::captureClear(GLbitfield mask, bool scissor, const GLint box[4]) {
  BrD3D9CapturedCall call;
  call.clearMask = mask;
  std::memcpy(call.clearColor, mClearColor, sizeof call.clearColor);
  call.clearDepth = mClearDepth;
  call.clearStencil = mClearStencil;
  call.scissor = scissor;
  std::copy(box, box + 4, call.scissorBox);
  gCapture->out->calls.push_back(std::move(call));
}

void Core::captureFrameEnd() {
  BrD3D9FrameCapture& out = *gCapture->out;
  const UINT w = mParams.BackBufferWidth, h = mParams.BackBufferHeight;
  std::vector<uint32_t> rows(size_t(w) * h);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mDrawFb);
  if (mDrawFb == 0) glReadBuffer(GL_BACK);
  glReadPixels(0, 0, GLsizei(w), GLsizei(h), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
  mBoundFb = 0xFFFFFFFFu;
  bindDrawFramebuffer(mDrawFb);
  out.picture.resize(rows.size());
  for (UINT y = 0; y < h; ++y)
    for (UINT x = 0; x < w; ++x) out.picture[size_t(y) * w + x] = rows[size_t(h - 1 - y) * w + x] & 0xFFFFFFu;
  out.width = w;
  out.height = h;
  out.toWindow = mDirect;
  out.complete = true;
  delete gCapture;
  gCapture = nullptr;
}

}  // namespace brd3d9

void brD3D9TestCaptureNextFrame(BrD3D9FrameCapture* into) {
  delete brd3d9::gCapture;
  brd3d9::gCapture = nullptr;
  if (!into) return;
  *into = BrD3D9FrameCapture();
  brd3d9::gCapture = new brd3d9::CaptureRecorder{into, {}, {}};
}
