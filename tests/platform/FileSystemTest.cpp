// File and folder existence, wildcard search and case-insensitive path
// resolution, each against a temporary folder.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TempFolder.h"
#include "vorn/platform/FileSystem.h"

namespace vorn::platform {
namespace {

using Names = std::vector<std::string>;

// The folder's entries exactly as readdir lists them.
Names ListedOrder(const std::string& folder) {
  Names names;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* entry = ::readdir(dir)) {  // NOLINT(concurrency-mt-unsafe)
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

TEST(FileSystemTest, FileExistsOnlyForRegularFiles) {
  testing::TempFolder temp;
  const std::string file = temp.WriteFile("bin/oci.dll");
  std::filesystem::create_symlink(file, temp / "link.dll");
  std::filesystem::create_symlink(temp / "nowhere.dll", temp / "dangling.dll");

  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(temp / "link.dll")) << "a link to a file";
  EXPECT_FALSE(FileExists(temp / "dangling.dll"));
  EXPECT_FALSE(FileExists(temp / "bin"));
  EXPECT_FALSE(FileExists(temp / "bin/OCI.DLL")) << "exact names only";
  EXPECT_FALSE(FileExists(""));
}

TEST(FileSystemTest, DirectoryExistsOnlyForFolders) {
  testing::TempFolder temp;
  const std::string file = temp.WriteFile("bin/oci.dll");

  EXPECT_TRUE(DirectoryExists(temp / "bin"));
  EXPECT_TRUE(DirectoryExists(temp / "bin/"));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(DirectoryExists(temp / "missing"));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST(FileSystemTest, FindFilesMatchesIgnoringCaseAndGivesNamesAsOnDisk) {
  testing::TempFolder temp;
  for (const char* name : {"ORA805.DLL", "ora73.dll", "OraNT8.Dll", "oci.dll", "ora805.dll.bak"}) {
    temp.WriteFile(name);
  }

  Names found = FindFiles(temp.Path(), "ora*.dll");

  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Names{"ORA805.DLL", "OraNT8.Dll", "ora73.dll"}));
}

TEST(FileSystemTest, FindFilesKeepsTheOrderTheFileSystemListsEntriesIn) {
  testing::TempFolder temp;
  // Enough names that a sorted or otherwise rearranged result would show.
  for (int i = 0; i < 40; ++i) {
    temp.WriteFile((i % 3 == 0 ? "ORA" : "ora") + std::to_string((i * 37) % 101) + ".dll");
    temp.WriteFile("other" + std::to_string(i) + ".txt");
  }
  Names expected;
  for (const std::string& name : ListedOrder(temp.Path())) {
    if (name.rfind("other", 0) != 0) expected.push_back(name);
  }
  ASSERT_EQ(expected.size(), 40U);

  EXPECT_EQ(FindFiles(temp.Path(), "ORA*.DLL"), expected);
}

TEST(FileSystemTest, FindFilesListsEveryKindOfEntryButDotAndDotDot) {
  testing::TempFolder temp;
  temp.WriteFile("oci.dll");
  temp.MakeFolder("ora9.dll");

  Names all = FindFiles(temp.Path(), "*");

  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (Names{"oci.dll", "ora9.dll"}));
}

TEST(FileSystemTest, FindFilesInAMissingFolderFindsNothing) {
  testing::TempFolder temp;
  const std::string file = temp.WriteFile("oci.dll");

  EXPECT_EQ(FindFiles(temp / "missing", "*"), Names{});
  EXPECT_EQ(FindFiles(file, "*"), Names{});
}

TEST(FileSystemTest, ResolvesBackslashedPathsInAnyCaseThroughSeveralLevels) {
  testing::TempFolder temp;
  const std::string real = temp.WriteFile("network/admin/TNSNAMES.ORA");

  EXPECT_EQ(ResolvePathCaseInsensitive(temp.Path() + "\\Network\\Admin\\tnsnames.ora"), real);
  EXPECT_EQ(ResolvePathCaseInsensitive(temp.Path() + "/NETWORK//admin/TnsNames.Ora"), real);
  EXPECT_EQ(ResolvePathCaseInsensitive(temp.Path() + "\\Network\\ADMIN\\"), temp / "network/admin");
}

TEST(FileSystemTest, ResolvingAnExactPathGivesItBack) {
  testing::TempFolder temp;
  const std::string real = temp.WriteFile("bin/oci.dll");

  EXPECT_EQ(ResolvePathCaseInsensitive(real), real);
  EXPECT_EQ(ResolvePathCaseInsensitive("/"), "/");
}

TEST(FileSystemTest, AnExactMatchWinsOverACaseVariantAndVariantsGoInByteOrder) {
  testing::TempFolder temp;
  temp.WriteFile("home/admin/tnsnames.ora");
  temp.WriteFile("home/Admin/tnsnames.ora");
  temp.WriteFile("home/aDMIN/tnsnames.ora");

  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "home/admin/tnsnames.ora"),
            temp / "home/admin/tnsnames.ora");
  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "home/aDMIN/tnsnames.ora"),
            temp / "home/aDMIN/tnsnames.ora");
  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "home/ADMIN/tnsnames.ora"),
            temp / "home/Admin/tnsnames.ora");
}

TEST(FileSystemTest, ResolutionTriesTheNextVariantWhenOneLeadsNowhere) {
  testing::TempFolder temp;
  temp.MakeFolder("home/Network/Admin");
  const std::string real = temp.WriteFile("home/network/admin/tnsnames.ora");
  // A file cannot stand for a folder in the middle of a path.
  temp.WriteFile("home/NETWORK");

  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "home/NETWORK/ADMIN/TNSNAMES.ORA"), real);
}

TEST(FileSystemTest, UnresolvablePathsGiveEmptyText) {
  testing::TempFolder temp;
  temp.WriteFile("network/admin/tnsnames.ora");

  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "network/admin/sqlnet.ora"), "");
  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "network/tnsnames.ora"), "");
  EXPECT_EQ(ResolvePathCaseInsensitive(temp / "network/admin/tnsnames.ora/x"), "");
  EXPECT_EQ(ResolvePathCaseInsensitive(""), "");
}

TEST(FileSystemTest, RelativePathsResolveFromTheCurrentDirectoryAndStayRelative) {
  testing::TempFolder temp;
  temp.WriteFile("home/bin/ORA805.DLL");
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(temp / "home");

  const std::string resolved = ResolvePathCaseInsensitive("BIN\\ora805.dll");
  const std::string viaParent = ResolvePathCaseInsensitive("..\\HOME\\Bin\\ora805.dll");

  std::filesystem::current_path(saved);
  EXPECT_EQ(resolved, "bin/ORA805.DLL");
  EXPECT_EQ(viaParent, "../home/bin/ORA805.DLL");
}

}  // namespace
}  // namespace vorn::platform
