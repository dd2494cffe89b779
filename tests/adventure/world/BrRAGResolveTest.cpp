// The world's lookups have one definition each: two bodies of one template in one library let the linker keep
// either. The sources are read as shipped (CTest names their folder; by hand, the build folder inside it does).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

TEST(RAGResolve, EachLookupTemplateHasOneDefinition) {
  const char* env = std::getenv("BR_SOURCE_DIR");
  const fs::path root =
      env ? fs::path(env) : fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path();
  ASSERT_TRUE(fs::is_directory(root / "adventure")) << root;
  for (const char* name : {"brRAGResolve", "brRAGCast"}) {
    const std::regex definition(std::string("^\\s*(inline\\s+)?T\\*\\s+") + name + "\\s*\\(");
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "adventure")) {
      std::ifstream in(entry.path());
      for (std::string line; entry.is_regular_file() && std::getline(in, line);)
        n += std::regex_search(line, definition);
    }
    EXPECT_EQ(n, 1) << name;
  }
}
