// The shader cache with its declarations, the built-in effectors, and effector copies and registration.
#include <memory>

#include "tests/plugins/render_d3d9/GfxDrvRig.h"

using namespace gfxtest;

namespace {

std::vector<D3DVERTEXELEMENT9> Elements(void* decl) {
  auto* d = static_cast<IDirect3DVertexDeclaration9*>(decl);
  UINT n = 0;
  d->GetDeclaration(nullptr, &n);
  std::vector<D3DVERTEXELEMENT9> out(n);
  d->GetDeclaration(out.data(), &n);
  return out;
}

BrD3DEffector* Registered(BrD3DRenDev* dev, const char* name) {
  BrEffector** slot = dev->FXMgr()->GetEffector(dev->FXMgr()->GetEffector(BrStringT<char>(name)));
  return slot ? dynamic_cast<BrD3DEffector*>(*slot) : nullptr;
}

}  // namespace

TEST_F(GfxDrvTest, ShadersAreCachedByTextWithDeclarationsInTheFixedOrder) {
  BrD3DRenDev* dev = StartDevice();
  const int before = dev->NumCachedShaders();
  // Colour declared before normal: the declaration still runs position, normal, colour, texture sets.
  BrStringT<char> text(
      "vs_1_1\ndcl_position v0\ndcl_color0 v1\ndcl_normal v2\ndcl_texcoord0 v3\ndcl_texcoord1 v4\nm4x4 oPos, v0, "
      "c0\nmov oD0, v1\nmov oT0, v3\nmov oT1, v4\n");
  void* shader = nullptr;
  void* decl = nullptr;
  ASSERT_TRUE(dev->CompileShader(text, &shader, &decl)) << m_Log.Text();
  ASSERT_NE(shader, nullptr);
  ASSERT_NE(decl, nullptr);
  std::vector<D3DVERTEXELEMENT9> e = Elements(decl);
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0].Usage, D3DDECLUSAGE_POSITION);
  EXPECT_EQ(e[0].Type, D3DDECLTYPE_FLOAT3);
  EXPECT_EQ(e[1].Usage, D3DDECLUSAGE_NORMAL);
  EXPECT_EQ(e[1].Offset, 12);
  EXPECT_EQ(e[2].Usage, D3DDECLUSAGE_COLOR);
  EXPECT_EQ(e[2].Offset, 24);
  EXPECT_EQ(e[3].Usage, D3DDECLUSAGE_TEXCOORD);
  EXPECT_EQ(e[3].Offset, 28);
  EXPECT_EQ(e[4].UsageIndex, 1);
  EXPECT_EQ(e[4].Offset, 36);
  EXPECT_EQ(e[5].Stream, 0xFF);
  EXPECT_EQ(dev->NumCachedShaders(), before + 1);

  // The same text again: the cached pair, nothing assembled.
  void* shader2 = nullptr;
  void* decl2 = nullptr;
  ASSERT_TRUE(dev->CompileShader(text, &shader2, &decl2));
  EXPECT_EQ(shader2, shader);
  EXPECT_EQ(decl2, decl);
  EXPECT_EQ(dev->NumCachedShaders(), before + 1);

  // Pre-transformed positions: a 16-byte POSITIONT element first.
  BrStringT<char> screen("vs_1_1\ndcl_position0 v0\ndcl_color0 v1\nmov oPos, v0\nmov oD0, v1\n");
  ASSERT_TRUE(dev->CompileShader(screen, &shader, &decl));
  e = Elements(decl);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].Usage, D3DDECLUSAGE_POSITIONT);
  EXPECT_EQ(e[0].Type, D3DDECLTYPE_FLOAT4);
  EXPECT_EQ(e[1].Offset, 16);
}

TEST_F(GfxDrvTest, AShaderThatFailsIsNeverCachedAsASuccess) {
  BrD3DRenDev* dev = StartDevice();
  const int before = dev->NumCachedShaders();
  BrStringT<char> bad("vs_1_1\ndcl_position v0\nfrobnicate oPos, v0\n");
  void* shader = reinterpret_cast<void*>(0x1);
  void* decl = nullptr;
  EXPECT_FALSE(dev->CompileShader(bad, &shader, &decl));
  EXPECT_EQ(shader, reinterpret_cast<void*>(0x1)) << "the caller's value is left alone";
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to assemble shader:\n\tvs_1_1"));
  EXPECT_TRUE(m_Log.Has("ERROR: Failed - "));
  EXPECT_FALSE(dev->CompileShader(bad, &shader, &decl)) << "asked again, it fails again";
  EXPECT_EQ(dev->NumCachedShaders(), before);

  // A shader Direct3D will not create fails the same way, and so does an effector built on it.
  BrStringT<char> good("vs_1_1\ndcl_position v0\nmov oPos, v0\n");
  brD3D9TestSetFailures(BR_D3D9_FAIL_CREATE_SHADER);
  EXPECT_FALSE(dev->CompileShader(good, &shader, &decl));
  std::unique_ptr<BrEffector> effector(dev->FXMgr()->CreateEffector());
  EXPECT_EQ(effector->AddPass(good), nullptr);
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to compile shader:"));
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to add render pass vs_1_1"));
  EXPECT_EQ(effector->GetPass(0), nullptr);
  EXPECT_FALSE(effector->IsProgrammable());
  EXPECT_EQ(dev->NumCachedShaders(), before);
  // Once Direct3D accepts it the text compiles.
  EXPECT_NE(effector->AddPass(good), nullptr);
  EXPECT_TRUE(effector->IsProgrammable());
}

TEST_F(GfxDrvTest, TheBuiltInEffectorsAndTheirCopies) {
  BrD3DRenDev* dev = StartDevice();
  BrEffectorMgr* fx = dev->FXMgr();
  const char* names[4] = {"ShaderDefault", "Shader3dLine", "Shader2d", "Shader3d"};
  for (int i = 0; i < 4; ++i) {
    BrEffector** slot = fx->GetEffector((unsigned int)i);
    ASSERT_TRUE(slot && *slot) << names[i];
    BrRenderPass* pass = (*slot)->GetPass(0);
    ASSERT_NE(pass, nullptr) << names[i];
    EXPECT_EQ(pass->m_iTexture, 0);
    EXPECT_EQ(pass->m_uiFlags, i == 1 ? 4u : 0u) << names[i];
    EXPECT_TRUE((*slot)->IsProgrammable());
    EXPECT_EQ(static_cast<BrD3DEffector*>(*slot)->NumPasses(), 1);
  }
  EXPECT_EQ((*fx->GetEffector(0u))->GetPass(1), nullptr);
  EXPECT_TRUE(m_Log.Has("ERROR: Requested invalid pass index from effector"));

  // An unknown name copies "ShaderDefault"; "Shader3d" is found through the name table.
  std::unique_ptr<BrEffector> unknown(fx->CreateEffector(BrStringT<char>("NoSuchShader")));
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(static_cast<BrD3DRenderPass*>(unknown->GetPass(0))->m_pShader,
            static_cast<BrD3DRenderPass*>(Registered(dev, "ShaderDefault")->GetPass(0))->m_pShader);
  std::unique_ptr<BrEffector> lit(fx->CreateEffector(BrStringT<char>("Shader3d")));
  EXPECT_EQ(static_cast<BrD3DRenderPass*>(lit->GetPass(0))->m_pShader,
            static_cast<BrD3DRenderPass*>(Registered(dev, "Shader3d")->GetPass(0))->m_pShader);

  // A copy of "Shader2d" registered twice under one name: the second costs nothing and keeps the id.
  BrStringT<char> name("Icon");
  BrEffector* first = fx->CreateEffector(BrStringT<char>("Shader2d"));
  first->GetPass(0)->m_iTexture = 0;
  first->GetPass(0)->m_uiFlags = 4;
  const int id = fx->AddEffector(name, first);
  EXPECT_GE(id, 4);
  BrEffector* second = fx->CreateEffector(BrStringT<char>("Shader2d"));
  second->GetPass(0)->m_uiFlags = 4;
  const unsigned int count = fx->Num();
  EXPECT_EQ(fx->AddEffector(name, second), id);
  EXPECT_EQ(fx->Num(), count);
  // The registered effector itself offered again is kept once (the manager deletes each entry at exit).
  EXPECT_EQ(fx->AddEffector(name, first), id);
  EXPECT_EQ(fx->Num(), count);
  // A different effector under the same name gets an id of its own.
  BrEffector* third = fx->CreateEffector(BrStringT<char>("Shader2d"));
  third->GetPass(0)->m_uiFlags = 0;
  EXPECT_EQ(fx->AddEffector(name, third), (int)count);

  BrStringT<char> scripted("Scripted");
  EXPECT_EQ(fx->AddEffector(scripted, BrStringT<char>("textures/x { }"), eFXRepShaderScript), -1);
  EXPECT_TRUE(m_Log.Has("*** Q3A Shader script:\n\ttextures/x { }"));
  EXPECT_EQ(fx->AddEffector(scripted, BrStringT<char>(""), eFXRepShaderScript), -1);
  EXPECT_TRUE(m_Log.Has("ERROR: Empty script sent to BrEffectorMgr::AddEffector(...)"));
  EXPECT_EQ(fx->AddEffector(scripted, BrStringT<char>("x"), (eFXRep)9), -1);
  EXPECT_TRUE(m_Log.Has("ERROR: Unknown script format passed to BrEffectorMgr::AddEffector(...)"));
}

TEST_F(GfxDrvTest, DefaultShadersThatCannotBeMadeEndTheStart) {
  BrD3DRenDev* dev = NewDevice();
  brD3D9TestSetFailures(BR_D3D9_FAIL_CREATE_DECLARATION);
  EXPECT_FALSE(dev->Init());
  brD3D9TestSetFailures(0);
  EXPECT_TRUE(m_Log.Has("ERROR: CreateVertexDeclaration failed"));
  EXPECT_TRUE(m_Log.Has("ERROR: Failed to create default shaders"));
  EXPECT_TRUE(GExit) << "the engine was asked to end the run";
  BrEngineTestSeams::ResetAfterExit();
  // The text whose declaration failed left no cache entry behind.
  EXPECT_EQ(dev->NumCachedShaders(), 0);
}

// Registering under a taken name keeps one entry only for an equal material: equality compares every pass,
// so a copy with a pass more (or less) is a new effector, not deleted as a duplicate of a prefix.
TEST_F(GfxDrvTest, EffectorsWithMorePassesAreNotEqual) {
  BrD3DRenDev* dev = StartDevice();
  BrEffectorMgr* fx = dev->FXMgr();
  std::unique_ptr<BrEffector> one(fx->CreateEffector(BrStringT<char>("Shader2d")));
  BrEffector* two = fx->CreateEffector(BrStringT<char>("Shader2d"));
  ASSERT_TRUE(one && two);
  ASSERT_NE(two->AddPass(BrStringT<char>(
                "vs.1.1\ndcl_position0 v0\ndcl_color0 v1\ndcl_texcoord0 v8\nmov oPos,v0\nmov oD0, v1\nmov oT0, v8\n")),
            nullptr);
  auto* a = static_cast<BrD3DEffector*>(one.get());
  auto* b = static_cast<BrD3DEffector*>(two);
  ASSERT_EQ(b->NumPasses(), 2);
  EXPECT_FALSE(*a == *b);
  EXPECT_FALSE(*b == *a);
  BrStringT<char> name("TwoPasses");
  const int first = fx->AddEffector(name, one.release());
  EXPECT_NE(fx->AddEffector(name, two), first) << "the two-pass copy is kept as its own effector";
}
