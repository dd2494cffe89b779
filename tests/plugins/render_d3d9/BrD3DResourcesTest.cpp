// Vertex and index buffers with their lock semantics, and the texture manager's static and dynamic caches.
#include <memory>

#include "tests/plugins/render_d3d9/GfxDrvRig.h"

using namespace gfxtest;

TEST_F(GfxDrvTest, IndexBuffersAppendAndRestartLikeARing) {
  BrD3DRenDev* dev = StartDevice();
  BrIndexBufferBase* raw = nullptr;
  ASSERT_TRUE(dev->CreateIndexBuffer(&raw, 12288, eIDXFormat16, eMemPoolDevice));
  std::unique_ptr<BrIndexBufferBase> ib(raw);
  EXPECT_EQ(ib->GetNumIndices(), 6144u);
  EXPECT_EQ(ib->GetLastIndex(), -1);
  uint16_t six[6] = {0, 1, 2, 0, 2, 3};
  for (int i = 0; i < 1024; ++i)
    ASSERT_EQ(ib->Populate(reinterpret_cast<unsigned char*>(six), 12, false), eLockAppended) << i;
  EXPECT_EQ(ib->GetLastIndex(), 6143);
  EXPECT_EQ(ib->Populate(reinterpret_cast<unsigned char*>(six), 12, false), eLockDiscarded);
  EXPECT_EQ(ib->GetLastIndex(), 5);
  EXPECT_EQ(ib->Populate(reinterpret_cast<unsigned char*>(six), 12, true), eLockDiscarded) << "discard always restarts";
  EXPECT_EQ(ib->GetLastIndex(), 5);

  // Bad arguments change nothing.
  EXPECT_EQ(ib->Populate(nullptr, 12, false), eLockFailed);
  std::vector<unsigned char> tooMuch(12290, 0);
  EXPECT_EQ(ib->Populate(tooMuch.data(), 12290, false), eLockFailed);
  EXPECT_EQ(ib->GetLastIndex(), 5);
  EXPECT_EQ(m_Log.Count("ERROR: BrD3DIndexBuffer::Populate(..) was passed invalid parameters"), 2);
  // A lock that fails leaves the count where it was.
  brD3D9TestSetFailures(BR_D3D9_FAIL_LOCK);
  EXPECT_EQ(ib->Populate(reinterpret_cast<unsigned char*>(six), 12, false), eLockFailed);
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to populate index buffer"));
  EXPECT_EQ(ib->GetLastIndex(), 5);

  // A 32-bit buffer counts four bytes an index.
  BrIndexBufferBase* raw32 = nullptr;
  ASSERT_TRUE(dev->CreateIndexBuffer(&raw32, 64, eIDXFormat32, eMemPoolSystem));
  std::unique_ptr<BrIndexBufferBase> ib32(raw32);
  EXPECT_EQ(ib32->GetNumIndices(), 16u);
  uint32_t three[3] = {0, 1, 2};
  EXPECT_EQ(ib32->Populate(reinterpret_cast<unsigned char*>(three), 12, false), eLockAppended);
  EXPECT_EQ(ib32->GetLastIndex(), 2);

  // A managed buffer (a terrain tile's) is made static, the only usage Direct3D takes in that pool, and fills.
  BrIndexBufferBase* rawManaged = nullptr;
  ASSERT_TRUE(dev->CreateIndexBuffer(&rawManaged, 24, eIDXFormat16, eMemPoolManaged)) << m_Log.Text();
  std::unique_ptr<BrIndexBufferBase> managed(rawManaged);
  EXPECT_EQ(managed->Populate(reinterpret_cast<unsigned char*>(six), 12, false), eLockAppended);
  EXPECT_EQ(managed->Populate(reinterpret_cast<unsigned char*>(six), 12, false), eLockAppended);
  EXPECT_EQ(managed->GetLastIndex(), 11);

  // An unknown format: a 16-bit buffer handed out, reported as a failure.
  BrIndexBufferBase* odd = nullptr;
  EXPECT_FALSE(dev->CreateIndexBuffer(&odd, 64, eIDXFormatNone, eMemPoolSystem));
  ASSERT_NE(odd, nullptr);
  std::unique_ptr<BrIndexBufferBase> oddOwner(odd);
  D3DINDEXBUFFER_DESC desc;
  ASSERT_EQ(static_cast<BrD3DIndexBuffer*>(odd)->Buffer()->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Format, D3DFMT_INDEX16);
  EXPECT_TRUE(m_Log.Has("ERROR: Invalid index format passed to BrD3DRenDev::CreateIndexBuffer(..)"));
}

TEST_F(GfxDrvTest, VertexBuffersCountVerticesByStrideAndMapPools) {
  BrD3DRenDev* dev = StartDevice();
  BrVertexBufferBase* raw = nullptr;
  ASSERT_TRUE(dev->CreateVertexBuffer(&raw, 64, 0x42, eMemPoolManaged, eResUsageStatic));
  std::unique_ptr<BrVertexBufferBase> vb(raw);
  EXPECT_EQ(vb->FVFFlags(), 0x42ul);
  EXPECT_EQ(vb->Num(), 0u);
  unsigned char data[32] = {0};
  ASSERT_TRUE(vb->Populate(0, data, 32));
  EXPECT_EQ(vb->Num(), 2u);
  ASSERT_TRUE(vb->Populate(0, data, 32));
  EXPECT_EQ(vb->Num(), 4u) << "the count grows with every call, whatever the offset";
  unsigned char* out = nullptr;
  ASSERT_TRUE(vb->Access(32, 32, &out, 1));
  ASSERT_NE(out, nullptr);
  out[0] = 7;
  vb->Update();
  brD3D9TestSetFailures(BR_D3D9_FAIL_LOCK);
  EXPECT_FALSE(vb->Populate(0, data, 32));
  EXPECT_FALSE(vb->Access(0, 16, &out, 0));
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to populate vertex buffer"));
  EXPECT_TRUE(m_Log.Has("EARROR: Failed to lock vertex buffer for access"));
  EXPECT_EQ(vb->Num(), 4u);

  // A dynamic buffer asked for in the managed pool lives in system memory.
  BrVertexBufferBase* dyn = nullptr;
  ASSERT_TRUE(dev->CreateVertexBuffer(&dyn, 64, 0x142, eMemPoolManaged, eResUsageDynamic));
  std::unique_ptr<BrVertexBufferBase> dynOwner(dyn);
  EXPECT_TRUE(m_Log.Has("WARNING: Dynamic vertex buffer requested as a managed resource. Moving to SYSTEMMEM"));
  D3DVERTEXBUFFER_DESC desc;
  ASSERT_EQ(static_cast<BrD3DVertexBuffer*>(dyn)->Buffer()->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
  EXPECT_EQ(desc.Usage & D3DUSAGE_DYNAMIC, (DWORD)D3DUSAGE_DYNAMIC);
  EXPECT_EQ(BrD3DVertexBuffer::StrideOf(0x142), 24u);
  EXPECT_EQ(BrD3DVertexBuffer::StrideOf(0x252), 44u);
  EXPECT_EQ(BrD3DVertexBuffer::StrideOf(0x144), 28u);

  // A refused creation leaves the out-pointer alone.
  BrVertexBufferBase* none = nullptr;
  brD3D9TestSetFailures(BR_D3D9_FAIL_CREATE_VERTEX_BUFFER);
  EXPECT_FALSE(dev->CreateVertexBuffer(&none, 96, 0x42, eMemPoolDevice, eResUsageStatic));
  brD3D9TestSetFailures(0);
  EXPECT_EQ(none, nullptr);
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to create vertex buffer, size 96 bytes"));
}

TEST_F(GfxDrvTest, StaticTexturesAreCachedByNameAndAFailedLoadTakesNoSlot) {
  m_Media.Write("Textures\\red.bmp", SolidBmp(8, 4, 0xFF0000));
  m_Media.Write("Textures\\green.bmp", SolidBmp(16, 16, 0x00FF00));
  BrD3DRenDev* dev = StartDevice();
  BrTextureMgrBase* mgr = dev->TextureMgr();
  const unsigned int red = mgr->GetTexture(BrStringT<char>("Textures\\red.bmp"));
  EXPECT_EQ(red, 1u);
  EXPECT_EQ(mgr->GetTexture((int)red)->GetWidth(), 8u);
  EXPECT_EQ(mgr->GetTexture((int)red)->GetHeight(), 4u);
  // Cached: the file is not read again.
  m_Media.Remove("Textures\\red.bmp");
  EXPECT_EQ(mgr->GetTexture(BrStringT<char>("Textures\\red.bmp")), red);
  EXPECT_EQ(mgr->GetTexture(BrStringT<char>("")), 0u);

  EXPECT_EQ(mgr->Load(BrStringT<char>("Textures\\missing.bmp")), 0u);
  EXPECT_TRUE(m_Log.Has("\\Textures\\missing.bmp texture"));
  EXPECT_EQ(mgr->CachedTextureCount(eTextureStatic), 2) << "a failed load takes no slot";
  m_Media.Write("Textures\\bad.bmp", {'B', 'M', 1, 2, 3});
  EXPECT_EQ(mgr->Load(BrStringT<char>("Textures\\bad.bmp")), 0u);
  EXPECT_EQ(mgr->Load(BrStringT<char>("Textures\\green.bmp")), 2u);
  EXPECT_EQ(mgr->CachedTextureCount(eTextureStatic), 3);

  // Out-of-range ids are refused with their lines.
  EXPECT_EQ(mgr->GetTexture(3), nullptr);
  EXPECT_TRUE(m_Log.Has("RENDER: Failed to get texture 3 from cache of 3 surfaces"));
  EXPECT_EQ(mgr->GetTextureInterface(-1, eTextureStatic), nullptr);
  EXPECT_EQ(mgr->GetTextureInterface(0, eTextureDynamic), nullptr);
  EXPECT_TRUE(m_Log.Has("RENDER: Failed to get texture 0 from dynamic cache of 0 surfaces"));
  EXPECT_EQ(mgr->GetTextureInterface(0, (eTextureType)5), nullptr);
  EXPECT_EQ(mgr->CachedTextureCount((eTextureType)5), -1);

  // A name that already starts with the media folder (as the default font's does) is not prefixed again.
  m_Media.Write("Fonts\\font.bmp", SolidBmp(4, 4, 0xFFFFFF));
  const std::string prefixed = m_Media.Path().string() + "\\Fonts\\font.bmp";
  EXPECT_EQ(mgr->Load(BrStringT<char>(prefixed.c_str())), 3u);

  // Reloading in place keeps every id.
  mgr->ReloadStatics();
  EXPECT_EQ(mgr->GetTexture(BrStringT<char>("Textures\\green.bmp")), 2u);
  void** green = mgr->GetTextureInterface(2, eTextureStatic);
  ASSERT_NE(green, nullptr);
  EXPECT_NE(*green, nullptr);
}

TEST_F(GfxDrvTest, TheFallbackKeepsIdZeroEvenWhenItsFileIsMissing) {
  m_Media.Remove("Textures\\noshader.bmp");
  m_Media.Write("Textures\\blue.bmp", SolidBmp(4, 4, 0x0000FF));
  BrD3DRenDev* dev = StartDevice();
  BrTextureMgrBase* mgr = dev->TextureMgr();
  EXPECT_EQ(mgr->CachedTextureCount(eTextureStatic), 1);
  EXPECT_EQ(mgr->GetTexture(BrStringT<char>("Textures\\blue.bmp")), 1u) << "no texture may take the fallback's id";
  // The fallback's file arrives: a reload brings it into slot 0.
  m_Media.Write("Textures\\noshader.bmp", SolidBmp(2, 2, 0xFF00FF));
  mgr->ReloadStatics();
  void** fallback = mgr->GetTextureInterface(0, eTextureStatic);
  ASSERT_NE(fallback, nullptr);
  EXPECT_NE(*fallback, nullptr);
}

TEST_F(GfxDrvTest, DynamicTexturesAreNamedCountedLockedAndLostAtUnlink) {
  BrD3DRenDev* dev = StartDevice();
  BrTextureMgrBase* mgr = dev->TextureMgr();
  for (int i = 0; i < 11; ++i) EXPECT_EQ(mgr->CreateTexture(64, 32, eResFormatARGB8888, 1), i);
  EXPECT_TRUE(m_Log.Has("DYNAMIC TEXTURE: Created dynamic manual_00"));
  EXPECT_TRUE(m_Log.Has("DYNAMIC TEXTURE: Created dynamic manual_03"));
  EXPECT_TRUE(m_Log.Has("DYNAMIC TEXTURE: Created dynamic manual_10"));
  int index = -1;
  EXPECT_TRUE(mgr->GetDynamic(10, index));
  EXPECT_EQ(index, 10);
  EXPECT_FALSE(mgr->GetDynamic(11, index));
  EXPECT_EQ(index, -1);

  BrTextureBase* tex = mgr->GetDynamic(0u);
  ASSERT_NE(tex, nullptr);
  EXPECT_EQ(tex->GetWidth(), 64u);
  void* texels = tex->Access(0);
  ASSERT_NE(texels, nullptr);
  EXPECT_TRUE(tex->Locked());
  EXPECT_EQ(tex->Access(0), nullptr) << "a locked texture is not locked again";
  static_cast<uint32_t*>(texels)[0] = 0xFF112233u;
  tex->Update(0);
  EXPECT_FALSE(tex->Locked());
  EXPECT_EQ(tex->GetTexels(), nullptr);
  tex->Update(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Update(...) called on NULL texture: manual_00"));
  EXPECT_FALSE(tex->Locked());

  mgr->UnlinkDynamics();
  EXPECT_FALSE(mgr->GetDynamic(0, index));
  EXPECT_EQ(index, -1);
  EXPECT_EQ(mgr->GetDynamic(0u), nullptr);
  EXPECT_EQ(mgr->CreateTexture(64, 64, eResFormatARGB8888, 1), 0) << "ids count from 0 again";

  brD3D9TestSetFailures(BR_D3D9_FAIL_CREATE_TEXTURE);
  EXPECT_EQ(mgr->CreateTexture(64, 64, eResFormatARGB8888, 1), -1);
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("WARNING: Failed to create D3DFMT_A8R8G8B8 dynamic texture 64x64"));
}

TEST_F(GfxDrvTest, ADeviceWithoutFreeTextureSizesRefusesOddDynamicSizes) {
  // The caps the layer reports, with the power-of-two restriction added.
  {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DCAPS9 caps;
    ASSERT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    d3d->Release();
    caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
    brD3D9TestSetCaps(&caps);
  }
  BrD3DRenDev* dev = StartDevice();
  EXPECT_FALSE(dev->NonPow2Textures());
  EXPECT_EQ(dev->TextureMgr()->CreateTexture(100, 64, eResFormatARGB8888, 1), -1);
  EXPECT_EQ(dev->TextureMgr()->CreateTexture(64, 64, eResFormatARGB8888, 1), 0);
}

// A reset reads no texture file again, a texture reloaded while bound is the one drawn next, Load without a
// device keeps what it has, and mip levels are made only for a device that filters between them.
TEST_F(GfxDrvTest, StaticTexturesSurviveResetsAndReloadInPlaceWhileBound) {
  m_Media.Write("Textures\\swap.bmp", SolidBmp(32, 32, 0xFF0000));
  BrD3DRenDev* dev = StartDevice();
  BrTextureMgrBase* mgr = dev->TextureMgr();
  const int icon = dev->FXMgr()->LoadIconA(BrStringT<char>("Textures\\swap.bmp"), BrStringT<char>("Swap"));
  ASSERT_GE(icon, 4);
  const unsigned int id = mgr->GetTexture(BrStringT<char>("Textures\\swap.bmp"));
  ASSERT_GT(id, 0u);
  void** ref = mgr->GetTextureInterface(int(id), eTextureStatic);
  ASSERT_NE(ref, nullptr);
  IDirect3DTexture9* before = static_cast<IDirect3DTexture9*>(*ref);

  // Resize and full screen and back: no file is read again (the file is gone) and the texture is the same.
  m_Media.Remove("Textures\\swap.bmp");
  m_Log.Clear();
  ASSERT_TRUE(dev->UpdateDimensions());
  ASSERT_TRUE(dev->ToggleFullScreen(true));
  ASSERT_TRUE(dev->ToggleFullScreen(true));
  EXPECT_FALSE(m_Log.Has("texture")) << m_Log.Text();
  EXPECT_EQ(*mgr->GetTextureInterface(int(id), eTextureStatic), before);

  const fs::path shot = m_Media.Path() / "swap.bmp";
  Image image;
  BrARGB white(255, 255, 255, 255);
  auto drawn = [&]() {
    EXPECT_GE(dev->PreRender(ePreRenderClearAll), 0);
    EXPECT_TRUE(dev->DrawSprite(0.0f, 0.0f, 0.5f, 0.5f, (unsigned int)icon, 0.001f, white, 0.0f, 0.001f, 0.001f, 0.999f,
                                0.999f));
    EXPECT_GE(dev->EndRender(), 0);
    dev->takeScreenshot(BrStringT<char>(shot.string().c_str()));
    EXPECT_TRUE(ReadBmp(shot, image));
    return image.width > 100 ? image.At(100, 100) : 0u;
  };
  EXPECT_LE(ColourDistance(drawn(), 0xFF0000), 8);
  // The same name loaded again while it is the bound texture: the next frame shows the new image.
  m_Media.Write("Textures\\swap.bmp", SolidBmp(32, 32, 0x00FF00));
  EXPECT_EQ(mgr->Load(BrStringT<char>("Textures\\swap.bmp")), id);
  EXPECT_LE(ColourDistance(drawn(), 0x00FF00), 8) << std::hex << image.At(100, 100);

  // Without a device a reload keeps the cached texture and its id.
  IDirect3DTexture9* kept = static_cast<IDirect3DTexture9*>(*mgr->GetTextureInterface(int(id), eTextureStatic));
  dev->ExitAPI();
  EXPECT_EQ(mgr->Load(BrStringT<char>("Textures\\swap.bmp")), id);
  EXPECT_EQ(*mgr->GetTextureInterface(int(id), eTextureStatic), kept);
  EXPECT_NE(kept, nullptr);
}

TEST_F(GfxDrvTest, MipLevelsAreMadeOnlyForADeviceThatFiltersBetweenThem) {
  m_Media.Write("Textures\\big.bmp", SolidBmp(64, 64, 0x808080));
  auto levels = [&](BrD3DRenDev* dev) {
    const unsigned int id = dev->TextureMgr()->GetTexture(BrStringT<char>("Textures\\big.bmp"));
    EXPECT_GT(id, 0u);
    void** ref = dev->TextureMgr()->GetTextureInterface(int(id), eTextureStatic);
    return ref && *ref ? static_cast<IDirect3DTexture9*>(*ref)->GetLevelCount() : 0u;
  };
  D3DCAPS9 caps;
  BrD3DRenDev* dev = StartDevice();
  ASSERT_EQ(dev->GetDevice()->GetDeviceCaps(&caps), D3D_OK);
  ASSERT_FALSE(caps.TextureFilterCaps & D3DPTFILTERCAPS_MIPFLINEAR);
  EXPECT_EQ(levels(dev), 1u);
  caps.TextureFilterCaps |= D3DPTFILTERCAPS_MIPFLINEAR;
  brD3D9TestSetCaps(&caps);
  EXPECT_EQ(levels(StartDevice()), 7u);
}
