// Tests of dynamic libraries: ".dll" names load the ".so", through the path layer, and symbols resolve by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/win32_kernel.h"

namespace {

std::string LibDir() { return BR_TEST_LIB_DIR; }

TEST(KernelLibraryTest, DllNameLoadsTheSharedObject) {
  // Backslashes and another case still find "BrW32TestLib.so".
  std::string name = LibDir() + "\\brw32testlib.DLL";
  HMODULE lib = LoadLibraryA(name.c_str());
  ASSERT_NE(lib, nullptr) << W32LastLibraryError();
  typedef int (*Answer)();
  typedef int (*Twice)(int);
  Answer answer = reinterpret_cast<Answer>(GetProcAddress(lib, "brw32TestAnswer"));
  Twice twice = reinterpret_cast<Twice>(GetProcAddress(lib, "brw32TestTwice"));
  ASSERT_NE(answer, nullptr);
  ASSERT_NE(twice, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(twice(21), 42);
  EXPECT_EQ(GetProcAddress(lib, "brw32NoSuchSymbol"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
  EXPECT_NE(std::string(W32LastLibraryError()), "");
  EXPECT_EQ(GetProcAddress(lib, nullptr), nullptr);
  EXPECT_TRUE(FreeLibrary(lib));
}

TEST(KernelLibraryTest, BareNameLoadsFromTheCurrentFolder) {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(LibDir());
  HMODULE lib = LoadLibraryA("BrW32TestLib.dll");
  std::filesystem::current_path(previous);
  ASSERT_NE(lib, nullptr) << W32LastLibraryError();
  EXPECT_NE(GetProcAddress(lib, "brw32TestAnswer"), nullptr);
  EXPECT_TRUE(FreeLibrary(lib));
}

TEST(KernelLibraryTest, MissingLibrariesFailCleanly) {
  EXPECT_EQ(LoadLibraryA((LibDir() + "\\NoSuchPlugin.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
  EXPECT_NE(std::string(W32LastLibraryError()), "");
  EXPECT_EQ(LoadLibraryA("NoSuchPluginAnywhere.dll"), nullptr);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
  EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
}

}  // namespace
