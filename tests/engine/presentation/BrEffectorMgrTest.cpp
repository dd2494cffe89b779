// Effectors: lookups by name and index, destroyed slots, icons, 2D materials whose pass failed, shader names.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/BrSystem.h"
#include "engine/kernel/BrEngine.h"
#include "engine/presentation/BrEffectorMgr.h"
#include "templates/THashTable.h"
#include "tests/engine/presentation/RenderTestKit.h"

using brrendertest::RenderTest;

TEST_F(RenderTest, EffectorsAreFoundByNameAndByIndexWithZeroForNone) {
  RecordingEffectorMgr* fx = dev->Effectors();
  EXPECT_EQ(fx->Num(), 4u);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("ShaderDefault")), 0u);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("Shader3dLine")), 1u);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("Shader2d")), 2u);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("Shader3d")), 3u);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("shader2d")), 0u);  // exact, case-sensitive
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("")), 0u);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("NoSuchShader")), 0u);
  ASSERT_NE(fx->GetEffector(3u), nullptr);
  EXPECT_NE(*fx->GetEffector(3u), nullptr);
  // An index past the list gives null rather than a spare slot a caller could write through.
  EXPECT_EQ(fx->GetEffector(4u), nullptr);
  EXPECT_EQ(fx->GetEffector(0xFFFFFFFFu), nullptr);
}

TEST_F(RenderTest, NamesSharingABucketAreBothFoundAndTheTableKeepsItsBuckets) {
  THashTable<BrEffectorName> probe;
  const int target = probe.Hash("fx0");
  std::string other;
  for (int i = 1; i < 100000 && other.empty(); ++i) {
    std::string name = "fx" + std::to_string(i);
    if (probe.Hash(name.c_str()) == target) other = name;
  }
  ASSERT_FALSE(other.empty());
  RecordingEffectorMgr* fx = dev->Effectors();
  BrStringT<char> a("fx0"), b(other.c_str());
  const int ia = fx->AddEffector(a, fx->CreateEffector());
  const int ib = fx->AddEffector(b, fx->CreateEffector());
  EXPECT_EQ(fx->GetEffector(a), (unsigned int)ia);
  EXPECT_EQ(fx->GetEffector(b), (unsigned int)ib);
  EXPECT_NE(ia, ib);
  const int buckets = THashTable<BrEffectorName>::ciNumBuckets;
  EXPECT_EQ(buckets, 97);
}

TEST_F(RenderTest, DestroyedSlotsStayNullAndAreSkipped) {
  RecordingEffectorMgr* fx = dev->Effectors();
  BrStringT<char> name("Temp");
  const unsigned int i = (unsigned int)fx->AddEffector(name, fx->CreateEffector());
  fx->DestroyEffector(i);
  ASSERT_NE(fx->GetEffector(i), nullptr);
  EXPECT_EQ(*fx->GetEffector(i), nullptr);
  EXPECT_EQ(fx->At(i), nullptr);
  // A second destruction, and indexes at or past the end, change nothing.
  fx->DestroyEffector(i);
  fx->DestroyEffector(fx->Num());
  fx->DestroyEffector(fx->Num() + 10);
  EXPECT_EQ(fx->Num(), i + 1);
  // The manager's own destruction passes over the null slot (the teardown deletes it).
}

TEST_F(RenderTest, IconsAreLoadedOnceAsAlpha2DCopies) {
  RecordingEffectorMgr* fx = dev->Effectors();
  const int icon = fx->LoadIconA(BrStringT<char>("Textures\\icons\\sword.tga"), BrStringT<char>("DlgIconsword"));
  ASSERT_GE(icon, 4);
  RecordingEffector* e = fx->At((unsigned int)icon);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->passes.size(), 1u);
  EXPECT_EQ(e->shaders[0], "Shader2d");
  EXPECT_EQ(e->passes[0].m_uiFlags, 4u);
  EXPECT_EQ(dev->Textures()->statics[(size_t)e->passes[0].m_iTexture], "Textures\\icons\\sword.tga");
  // The same name again: the same index, nothing made, whatever file is named.
  const int made = fx->created;
  const size_t loads = dev->Textures()->loads.size();
  EXPECT_EQ(fx->LoadIconA(BrStringT<char>("Textures\\other.tga"), BrStringT<char>("DlgIconsword")), icon);
  EXPECT_EQ(fx->created, made);
  EXPECT_EQ(dev->Textures()->loads.size(), loads);
}

TEST_F(RenderTest, IconsThatCannotShowTheirImageAreNotKept) {
  RecordingEffectorMgr* fx = dev->Effectors();
  const unsigned int before = fx->Num();
  // An image that does not load (handle 0).
  dev->Textures()->missing.insert("Textures\\gone.tga");
  EXPECT_EQ(fx->LoadIconA(BrStringT<char>("Textures\\gone.tga"), BrStringT<char>("Gone")), 0);
  EXPECT_EQ(fx->GetEffector(BrStringT<char>("Gone")), 0u);
  // A "Shader2d" whose shader failed: its copy has no pass 0 to take the image.
  fx->failingShaders.insert("Shader2d");
  EXPECT_EQ(fx->LoadIconA(BrStringT<char>("Textures\\ok.tga"), BrStringT<char>("NoPass")), 0);
  // A manager that cannot copy at all.
  fx->failingShaders.clear();
  fx->failCreate = true;
  EXPECT_EQ(fx->LoadIconA(BrStringT<char>("Textures\\ok.tga"), BrStringT<char>("NoCopy")), 0);
  EXPECT_EQ(fx->Num(), before);
}

TEST(EffectorMgr, ShaderNamesHaveASlashAndNoFullStop) {
  RecordingEffectorMgr fx;
  EXPECT_TRUE(fx.IsShaderName("textures/base_wall/metal"));
  EXPECT_FALSE(fx.IsShaderName("textures/base_wall/metal.tga"));
  EXPECT_FALSE(fx.IsShaderName("metal"));
  EXPECT_FALSE(fx.IsShaderName(nullptr));
  // A name of neither kind of script gives an empty block without looking for files.
  EXPECT_EQ(fx.GetShaderScript(BrStringT<char>("models/thing")).Length(), 0);
  // A script name with no script file found gives an empty block too.
  EXPECT_EQ(fx.GetShaderScript(BrStringT<char>("textures/nowhere_p1/thing")).Length(), 0);
}

TEST(EffectorMgr, AShadersBlockIsCutFromItsScriptFileUpToTheNextShader) {
  brtest::TempFolder scratch("brshader");
  const std::string root = scratch.String();
  brtest::fs::create_directories(scratch.Path() / "Media" / "Textures" / "Q3A" / "scripts");
  FILE* f = std::fopen((root + "/Media/Textures/Q3A/scripts/base_wall.shader").c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(
      "// walls\ntextures/base_wall/metal\n{\n\tqer_editorimage textures/base_wall/metal.tga\n"
      "\t{\n\t\tmap $lightmap\n\t}\n}\ntextures/base_wall/other\n{\n}\n",
      f);
  std::fclose(f);
  char saved[260];
  std::strcpy(saved, Engine().AppDir());
  std::strcpy(Engine().AppDir(), root.c_str());
  char cwd[260] = {0};
  brGetCurrentDirectory(sizeof(cwd), cwd);

  RecordingEffectorMgr fx;
  BrStringT<char> block = fx.GetShaderScript(BrStringT<char>("textures/base_wall/metal"));
  BrStringT<char> missing = fx.GetShaderScript(BrStringT<char>("textures/base_wall/nothere"));
  char after[260] = {0};
  brGetCurrentDirectory(sizeof(after), after);
  std::strcpy(Engine().AppDir(), saved);

  ASSERT_NE(block.c_str(), nullptr);
  EXPECT_STREQ(block.c_str(),
               "textures/base_wall/metal\n\n{\n\tqer_editorimage textures/base_wall/metal.tga\n"
               "\t{\n\t\tmap $lightmap\n\t}\n}\n");
  EXPECT_EQ(missing.Length(), 0);
  EXPECT_STREQ(after, cwd);  // the current folder is put back
}

TEST(EffectorMgr, ItsDestructionListsTheCacheInTheDebugLog) {
  brrendertest::ScopedLog log;
  RecordingEffectorMgr* fx = new RecordingEffectorMgr();
  BrStringT<char> name("Alpha");
  fx->AddEffector(name, fx->CreateEffector());
  BrStringT<char> other("Beta");
  fx->AddEffector(other, fx->CreateEffector());
  fx->DestroyEffector(1);
  delete fx;  // the null slot is passed over
  const std::string text = log.Text();
  EXPECT_NE(text.find("DEBUG: Effector manager unloading: logging cache list"), std::string::npos);
  EXPECT_NE(text.find("FXMGR: Logging cache list"), std::string::npos);
  THashTable<BrEffectorName> probe;
  EXPECT_NE(text.find("Hash " + std::to_string(probe.Hash("Alpha")) + ": Alpha, IDX 0"), std::string::npos);
  EXPECT_NE(text.find("Hash " + std::to_string(probe.Hash("Beta")) + ": Beta, IDX 1"), std::string::npos);
}
