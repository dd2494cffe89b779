// The script daemon: properties found along a section's "Type" chain, loops, bounded copies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngineTestSupport.h"
#include "engine/kernel/BrScriptDaemon.h"

using brtest::RunTree;

namespace {
const char* kObjects =
    "[Base]\nHealth=10\nSpeed=1.5\nName=base\nList=1,2,3\nFlag=true\n\n"
    "[Middle]\nType=Base\nHealth=20\n\n"
    "[Leaf]\nType=Middle\nName=leaf\n\n"
    "[LoopA]\nType=LoopB\n\n[LoopB]\nType=LoopA\n\n"
    "[Self]\nType=Self\n\n";

struct Objects {
  explicit Objects(const std::string& text) : tree("") {
    std::ofstream(tree.root / "game" / "objects.cfg") << text;
    file.Open("objects.cfg", 0x1000001);
  }
  RunTree tree;
  BrCfgFile file;
  BrScriptDaemon script;
};
}  // namespace

TEST(ScriptDaemon, PropertiesFollowTheTypeChain) {
  Objects o(kObjects);
  int health = 0;
  EXPECT_TRUE(o.script.LoadProperty(health, "Leaf", &o.file, "Health"));
  EXPECT_EQ(health, 20);  // the nearest section that has it wins
  float speed = 0;
  EXPECT_TRUE(o.script.LoadProperty(speed, "Leaf", &o.file, "Speed"));
  EXPECT_FLOAT_EQ(speed, 1.5f);
  char name[64] = {0};
  EXPECT_TRUE(o.script.LoadProperty(name, "Leaf", &o.file, "Name"));
  EXPECT_STREQ(name, "leaf");
  bool flag = false;
  EXPECT_TRUE(o.script.LoadProperty(flag, "Leaf", &o.file, "Flag"));
  EXPECT_TRUE(flag);
  int count = 0;
  EXPECT_TRUE(o.script.LoadPropertyListSize("Leaf", &o.file, "List", count));
  EXPECT_EQ(count, 3);
  int values[3] = {0, 0, 0};
  EXPECT_TRUE(o.script.LoadPropertyList(values, 3, "Leaf", &o.file, "List"));
  EXPECT_EQ(values[2], 3);
  BrStringT<char> strings[3];
  EXPECT_TRUE(o.script.LoadPropertyList(strings, 3, "Middle", &o.file, "List"));
  EXPECT_STREQ(strings[1].c_str(), "2");
  // Missing everywhere along the chain, an empty key, a null file.
  EXPECT_FALSE(o.script.LoadProperty(health, "Leaf", &o.file, "Armour"));
  EXPECT_FALSE(o.script.LoadProperty(health, "Leaf", &o.file, ""));
  EXPECT_FALSE(o.script.LoadProperty(health, "", &o.file, "Health"));
  EXPECT_FALSE(o.script.LoadProperty(health, "Leaf", nullptr, "Health"));
}

TEST(ScriptDaemon, LoopingChainsEndWithFalse) {
  Objects o(kObjects);
  int v = 0;
  EXPECT_FALSE(o.script.LoadProperty(v, "LoopA", &o.file, "Health"));
  EXPECT_FALSE(o.script.LoadProperty(v, "Self", &o.file, "Health"));
}

TEST(ScriptDaemon, LongNamesAndValuesNeverOverflow) {
  std::string longName(300, 'S');
  std::string longValue(250, 'v');
  std::string text = "[" + longName + "]\nType=Base\nText=" + longValue + "\n\n[Base]\nHealth=3\n";
  Objects o(text);
  char small[16];
  std::memset(small, 'x', sizeof(small));
  // The section name is longer than the reader's 259-character lines: whatever it finds, nothing overflows.
  if (o.script.LoadProperty(small, (int)sizeof(small), longName.c_str(), &o.file, "Text"))
    EXPECT_LT(strnlen(small, sizeof(small)), sizeof(small));
  else
    EXPECT_EQ(small[0], 'x');

  Objects p("[A]\nType=Base\nText=" + longValue + "\n\n[Base]\nHealth=3\n");
  // The unsized form keeps texts of up to 255 characters (it once cut them at 63).
  char buf[BrCfgFile::ciLineLen];
  ASSERT_TRUE(p.script.LoadProperty(buf, "A", &p.file, "Text"));
  EXPECT_EQ(std::string(buf), longValue);
  char exact[8];
  ASSERT_TRUE(p.script.LoadProperty(exact, (int)sizeof(exact), "A", &p.file, "Text"));
  EXPECT_STREQ(exact, "vvvvvvv");
  int health = 0;
  EXPECT_TRUE(p.script.LoadProperty(health, "A", &p.file, "Health"));
  EXPECT_EQ(health, 3);
}
