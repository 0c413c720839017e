// Where orvik-host looks for its two modules: beside itself (build tree,
// Windows packages) or in the installed tree's module directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/orvik-host/CommandLine.h"
#include "host/orvik-host/HostModules.h"
#include "orvik/pcbapi.h"
#include "tests/support/TestPaths.h"

namespace orvik::host {
namespace {

namespace fs = std::filesystem;

TEST(ModuleDirectories, ProgramFolderFirstThenTheInstalledModuleFolder) {
  const fs::path bin = fs::path("/opt") / "orvik" / "bin";
  const std::vector<std::string> directories = ModuleDirectories(bin.string());
  ASSERT_EQ(directories.size(), 2u);
  EXPECT_EQ(directories[0], bin.string());
  EXPECT_EQ(fs::path(directories[1]), fs::path("/opt") / "orvik" / "lib" / "orvik");
  // Without a program directory only the system's search is left.
  EXPECT_EQ(ModuleDirectories(""), std::vector<std::string>{""});
}

TEST(ModuleDirectories, TheHelpNamesTheInstalledModuleFolder) {
  EXPECT_NE(UsageText("orvik-host").find(ORVIK_HOST_INSTALLED_MODULES " relative to the\nprogram's real location"),
            std::string::npos);
}

// A tree with bin/ and lib/orvik/; each case puts the host module's file
// (or a directory of its name) in some of them.
TEST(FindModuleDirectory, TakesTheFirstFolderThatHoldsTheHostModuleFile) {
  const std::string kovlan = platform::LibraryFileName(ORVIK_PCBAPI_MODULE_NAME);
  enum class Entry { kNone, kFile, kDirectory };
  struct Case {
    const char* name;
    Entry inBin;
    Entry inModules;
    std::optional<int> found;  // index into {bin, lib/orvik}
  };
  const Case cases[] = {
      {"build tree or Windows package", Entry::kFile, Entry::kNone, 0},
      {"installed tree", Entry::kNone, Entry::kFile, 1},
      {"both: the program's own folder wins", Entry::kFile, Entry::kFile, 0},
      {"a directory of the module's name is no module", Entry::kDirectory, Entry::kFile, 1},
      {"neither", Entry::kNone, Entry::kNone, std::nullopt},
      {"only directories", Entry::kDirectory, Entry::kDirectory, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const test::TempDir tree;
    const fs::path bin = tree.Path() / "bin";
    fs::create_directories(bin);
    const std::vector<std::string> directories = ModuleDirectories(bin.string());
    ASSERT_EQ(directories.size(), 2u);
    fs::create_directories(directories[1]);
    for (const auto& [directory, entry] :
         {std::pair{directories[0], c.inBin}, std::pair{directories[1], c.inModules}}) {
      const fs::path path = fs::path(directory) / kovlan;
      if (entry == Entry::kDirectory) fs::create_directory(path);
      if (entry == Entry::kFile) std::ofstream(path) << "module";
    }
    const std::optional<std::string> found = FindModuleDirectory(directories);
    if (!c.found) {
      EXPECT_FALSE(found.has_value()) << *found;
    } else {
      ASSERT_TRUE(found.has_value());
      EXPECT_EQ(*found, directories[static_cast<std::size_t>(*c.found)]);
    }
  }
  // The system's search is taken without a look.
  EXPECT_EQ(FindModuleDirectory({""}), std::optional<std::string>(""));
}

}  // namespace
}  // namespace orvik::host
