// Tests of BrFileDevice: open modes, full paths, existence, and folder listings (case, order, unenterable folders).
#include "CoreTestKit.h"

#include <filesystem>
#include <string>

#include "platform/win32/win32_kernel.h"
#include "templates/templates.h"

using coretest::ReadFileBytes;
using coretest::WriteFileBytes;

namespace {

class BrFileDeviceTest : public coretest::ScratchTest {
protected:
  static std::vector<std::string> Names(TDArray<BrStringT<char>>& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) names.push_back(list[i].c_str() ? list[i].c_str() : "");
    return names;
  }
};

TEST(BrFileDevicePermissionsTest, ModesFromFlags) {
  char mode[16];
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x1001010, mode), "w+b");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x10001000, mode), "rb");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x10000000, mode), "r");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x10000111, mode), "r");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x111, mode), "r+w+a+");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x1000010, mode), "w+");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0x1000001, mode), "r+");
  EXPECT_STREQ(BrFileDevice::GetPermissions(0, mode), "");
}

TEST_F(BrFileDeviceTest, FullPathsStayInTheirField) {
  BrAnsiFile file;
  file.SetFullPath("C:\\x.txt");
  EXPECT_STREQ(file.GetFullPath(), "C:\\x.txt");
  file.SetFullPath("/abs/x.txt");
  EXPECT_STREQ(file.GetFullPath(), "/abs/x.txt");
  file.SetFullPath("x.txt");
  EXPECT_EQ(std::string(file.GetFullPath()), Folder() + "\\x.txt");
  // A path that does not fit is not recorded at all: a cut one would name some other file.
  std::string longName(1000, 'n');
  EXPECT_FALSE(file.SetFullPath(longName.c_str()));
  EXPECT_STREQ(file.GetFullPath(), "");
  EXPECT_FALSE(file.SetFullPath(("C:" + longName).c_str()));
  EXPECT_STREQ(file.GetFullPath(), "");

  // A current folder longer than 259 characters gives no path at the root either.
  std::string deep = Folder();
  while (deep.size() < 300) deep += "/" + std::string(60, 'd');
  std::filesystem::create_directories(deep);
  std::filesystem::current_path(deep);
  EXPECT_FALSE(file.SetFullPath("x.txt"));
  EXPECT_STREQ(file.GetFullPath(), "");
  std::filesystem::current_path(Folder());
  file.SetFullPath(nullptr);
  EXPECT_STREQ(file.GetFullPath(), "");
}

TEST_F(BrFileDeviceTest, FreeFileNamesNeverNameAnExistingFile) {
  EXPECT_STREQ(BrFileDevice::FreeFileName("shot", ".bmp").c_str(), "shot.bmp");
  WriteFileBytes("shot.bmp", {'a'});
  EXPECT_STREQ(BrFileDevice::FreeFileName("shot", ".bmp").c_str(), "shot_2.bmp");
  WriteFileBytes("SHOT_2.BMP", {'a'});  // names are matched as the system matches them
  EXPECT_STREQ(BrFileDevice::FreeFileName("shot", ".bmp").c_str(), "shot_3.bmp");
  EXPECT_EQ(BrFileDevice::FreeFileName(nullptr, ".bmp").Length(), 0);
}

TEST_F(BrFileDeviceTest, ExistsNeitherCreatesNorTruncates) {
  EXPECT_FALSE(BrFileDevice::Exists(nullptr));
  EXPECT_FALSE(BrFileDevice::Exists("absent.cfg"));
  EXPECT_TRUE(ReadFileBytes("absent.cfg").empty());
  WriteFileBytes("present.cfg", {'a', 'b'});
  EXPECT_TRUE(BrFileDevice::Exists("PRESENT.cfg"));
  EXPECT_EQ(ReadFileBytes("present.cfg").size(), 2u);
}

TEST_F(BrFileDeviceTest, PositionsOfAnOpenFile) {
  WriteFileBytes("pos.bin", {0, 1, 2, 3, 4, 5});
  BrAnsiFile file("pos.bin", eFileSystem | eFileReadWrite | eFileBinary);
  int64_t pos = -1;
  EXPECT_TRUE(file.GetPos(pos));
  EXPECT_EQ(pos, 0);
  EXPECT_TRUE(file.SetPos(4));
  EXPECT_TRUE(file.Skip(-3));
  EXPECT_TRUE(file.GetPos(pos));
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(std::fgetc(file.Handle()), 1);
  EXPECT_FALSE(file.SetPos(-5));
  file.Close();
  EXPECT_FALSE(file.SetPos(0));
  EXPECT_FALSE(file.GetPos(pos));
  EXPECT_FALSE(file.Skip(1));
}

TEST_F(BrFileDeviceTest, ListsFilesAndFoldersWithBackslashesAndMixedCase) {
  ASSERT_TRUE(brCreateDirectory("Saves"));
  ASSERT_TRUE(brCreateDirectory("Saves/Sub"));
  WriteFileBytes("Saves/one.gin", {1});
  WriteFileBytes("Saves/Two.GIN", {2});
  WriteFileBytes("Saves/notes.txt", {3});
  WriteFileBytes("top.gin", {4});

  TDArray<BrStringT<char>> list;
  EXPECT_TRUE(BrFileDevice::GetFileList("*.gin", "SAVES", list, eFileOrderNone));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"one.gin", "Two.GIN"}));
  EXPECT_EQ(list.GetCapacity(), list.GetCount());

  EXPECT_TRUE(BrFileDevice::GetFileList("*", BrStringT<char>((Folder() + "\\saves").c_str()), list, eFileOrderNone));
  EXPECT_EQ(Names(list), (std::vector<std::string>{".", "..", "notes.txt", "one.gin", "Sub", "Two.GIN"}));

  EXPECT_TRUE(BrFileDevice::GetFolderList("*.*", "Saves\\", list, eFileOrderNone));
  EXPECT_EQ(Names(list), (std::vector<std::string>{".", "..", "Sub"}));

  EXPECT_TRUE(BrFileDevice::GetFileList("*.sav", "Saves", list, eFileOrderNone));
  EXPECT_EQ(list.GetCount(), 0);

  // The current folder is the same afterwards.
  char cwd[4096];
  brGetCurrentDirectory(sizeof(cwd), cwd);
  EXPECT_EQ(std::string(cwd), Folder());
}

TEST_F(BrFileDeviceTest, AFolderThatCannotBeEnteredListsNothing) {
  WriteFileBytes("here.gin", {1});
  TDArray<BrStringT<char>> list;
  list.Add(BrStringT<char>("stale"));
  EXPECT_FALSE(BrFileDevice::GetFileList("*.gin", "NoSuchFolder", list, eFileOrderNone));
  EXPECT_EQ(list.GetCount(), 0);
  list.Add(BrStringT<char>("stale"));
  EXPECT_FALSE(BrFileDevice::GetFolderList("*", BrStringT<char>(), list, eFileOrderNone));
  EXPECT_EQ(list.GetCount(), 0);
  // A file is not a folder either.
  EXPECT_FALSE(BrFileDevice::GetFileList("*", "here.gin", list, eFileOrderNone));
  EXPECT_EQ(list.GetCount(), 0);
  char cwd[4096];
  brGetCurrentDirectory(sizeof(cwd), cwd);
  EXPECT_EQ(std::string(cwd), Folder());
}

TEST_F(BrFileDeviceTest, DateOrderListsNewestFirst) {
  ASSERT_TRUE(brCreateDirectory("dated"));
  WriteFileBytes("dated/a_old.gin", {1});
  ASSERT_TRUE(brtest::WaitForALaterFileSecond("dated/a_old.gin"));  // the order compares whole seconds
  WriteFileBytes("dated/b_new.gin", {2});
  TDArray<BrStringT<char>> list;
  EXPECT_TRUE(BrFileDevice::GetFileList("*.gin", "dated", list, eFileOrderDate));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"b_new.gin", "a_old.gin"}));
  EXPECT_TRUE(BrFileDevice::GetFileList("*.gin", "dated", list, eFileOrderNone));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a_old.gin", "b_new.gin"}));
}

TEST(BrFileDeviceSortTest, ComparesYearToSecond) {
  WIN32_FIND_DATAA a = {}, b = {};
  // 2000-01-01 00:00:00 and one second later, as 100 ns ticks since 1601.
  uint64_t t = (uint64_t(946684800) + 11644473600ull) * 10000000ull;
  a.ftCreationTime.dwLowDateTime = DWORD(t);
  a.ftCreationTime.dwHighDateTime = DWORD(t >> 32);
  uint64_t later = t + 10000000ull;
  b.ftCreationTime.dwLowDateTime = DWORD(later);
  b.ftCreationTime.dwHighDateTime = DWORD(later >> 32);
  EXPECT_EQ(BrFileDevice::SortFileListByDateCallback(&a, &b), 1);
  EXPECT_EQ(BrFileDevice::SortFileListByDateCallback(&b, &a), -1);
  // Milliseconds are not compared.
  uint64_t sameSecond = t + 5000000ull;
  b.ftCreationTime.dwLowDateTime = DWORD(sameSecond);
  b.ftCreationTime.dwHighDateTime = DWORD(sameSecond >> 32);
  EXPECT_EQ(BrFileDevice::SortFileListByDateCallback(&a, &b), 0);
}

}  // namespace
