// Loading real shared libraries built for these tests, by full path, by a
// path relative to the current directory, and by bare name through the
// system's search (in a child process, whose search path is fixed when it
// starts).
#include <gtest/gtest.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "vorn/platform/CurrentDirectory.h"
#include "vorn/platform/DynamicLibrary.h"
#include "vorn/platform/Paths.h"

namespace vorn::platform {
namespace {

int CallIntFunction(LibrarySymbol symbol) {
  return reinterpret_cast<int (*)()>(symbol)();
}

TEST(DynamicLibraryTest, LoadsByFullPathAndResolvesExports) {
  LibraryHandle library = LoadDynamicLibrary(VORN_PROBE_ALPHA);
  ASSERT_NE(library, nullptr) << LastLibraryError();
  EXPECT_EQ(LastLibraryError(), "");

  LibrarySymbol answer = ResolveLibrarySymbol(library, "probe_answer");
  LibrarySymbol name = ResolveLibrarySymbol(library, "probe_name");
  ASSERT_NE(answer, nullptr);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(CallIntFunction(answer), 42);
  EXPECT_STREQ(reinterpret_cast<const char* (*)()>(name)(), "alpha");

  EXPECT_TRUE(FreeDynamicLibrary(library)) << LastLibraryError();
}

TEST(DynamicLibraryTest, EachLibraryResolvesItsOwnExportOfACommonName) {
  LibraryHandle alpha = LoadDynamicLibrary(VORN_PROBE_ALPHA);
  LibraryHandle beta = LoadDynamicLibrary(VORN_PROBE_BETA);
  ASSERT_NE(alpha, nullptr) << LastLibraryError();
  ASSERT_NE(beta, nullptr) << LastLibraryError();

  EXPECT_EQ(CallIntFunction(ResolveLibrarySymbol(beta, "probe_answer")), 7);
  EXPECT_EQ(CallIntFunction(ResolveLibrarySymbol(alpha, "probe_answer")), 42);
  EXPECT_EQ(ResolveLibrarySymbol(beta, "probe_name"), nullptr) << "beta has no probe_name";

  EXPECT_TRUE(FreeDynamicLibrary(beta));
  EXPECT_TRUE(FreeDynamicLibrary(alpha));
}

TEST(DynamicLibraryTest, MissingExportYieldsNullAndTellsWhy) {
  LibraryHandle library = LoadDynamicLibrary(VORN_PROBE_ALPHA);
  ASSERT_NE(library, nullptr) << LastLibraryError();

  EXPECT_EQ(ResolveLibrarySymbol(library, "OCIInitialize"), nullptr);
  EXPECT_NE(LastLibraryError().find("OCIInitialize"), std::string::npos) << LastLibraryError();

  ASSERT_NE(ResolveLibrarySymbol(library, "probe_answer"), nullptr);
  EXPECT_EQ(LastLibraryError(), "") << "a success clears the previous failure";
  EXPECT_TRUE(FreeDynamicLibrary(library));
}

TEST(DynamicLibraryTest, MissingLibraryYieldsNullAndTellsWhy) {
  testing::TempFolder temp;
  const std::string missing = temp / "bin/oci.dll";

  EXPECT_EQ(LoadDynamicLibrary(missing), nullptr);
  EXPECT_NE(LastLibraryError().find(missing), std::string::npos) << LastLibraryError();
}

TEST(DynamicLibraryTest, EmptyNameIsNoLibraryNotTheProgramItself) {
  EXPECT_EQ(LoadDynamicLibrary(""), nullptr);
  EXPECT_NE(LastLibraryError(), "");
}

TEST(DynamicLibraryTest, NullHandlesAreRefused) {
  EXPECT_EQ(ResolveLibrarySymbol(nullptr, "probe_answer"), nullptr);
  EXPECT_FALSE(FreeDynamicLibrary(nullptr));
  EXPECT_NE(LastLibraryError(), "");
}

TEST(DynamicLibraryTest, UnresolvableReferencesFailTheLoadNotTheFirstCall) {
  EXPECT_EQ(LoadDynamicLibrary(VORN_PROBE_UNBOUND), nullptr);
  EXPECT_NE(LastLibraryError().find("probe_function_defined_nowhere"), std::string::npos)
      << LastLibraryError();
}

TEST(DynamicLibraryTest, PathWithAFolderIsTakenRelativeToTheCurrentDirectory) {
  testing::TempFolder temp;
  const std::string fileName = ExtractFileName(VORN_PROBE_ALPHA);
  std::filesystem::copy_file(VORN_PROBE_ALPHA, temp / fileName);
  const std::filesystem::path saved = std::filesystem::current_path();
  ASSERT_TRUE(SetCurrentDir(temp.Path()));

  LibraryHandle library = LoadDynamicLibrary("./" + fileName);

  std::filesystem::current_path(saved);
  ASSERT_NE(library, nullptr) << LastLibraryError();
  EXPECT_EQ(CallIntFunction(ResolveLibrarySymbol(library, "probe_answer")), 42);
  EXPECT_TRUE(FreeDynamicLibrary(library));
}

TEST(DynamicLibraryTest, BareNameGoesThroughTheSystemsSearch) {
  testing::TempFolder searched;
  const std::string fileName = ExtractFileName(VORN_PROBE_BETA);
  std::filesystem::copy_file(VORN_PROBE_BETA, searched / fileName);

  const testing::ChildResult found =
      testing::RunChild(VORN_PLATFORM_PROBE, {"load", fileName, "probe_answer"},
                        {{"LD_LIBRARY_PATH", searched.Path()}});
  EXPECT_EQ(found.exitCode, 0) << found.output;
  EXPECT_EQ(found.output, "7\n");

  // Without the folder on the search path the same name is not found.
  const testing::ChildResult notFound = testing::RunChild(
      VORN_PLATFORM_PROBE, {"load", fileName, "probe_answer"}, {{"LD_LIBRARY_PATH", std::nullopt}});
  EXPECT_EQ(notFound.exitCode, 1);
  EXPECT_NE(notFound.output.find("load failed: "), std::string::npos) << notFound.output;
  EXPECT_NE(notFound.output.find(fileName), std::string::npos) << notFound.output;
}

}  // namespace
}  // namespace vorn::platform
