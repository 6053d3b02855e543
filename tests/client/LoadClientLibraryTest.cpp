// Loading real (stand-in) client libraries: the mode each export set gives,
// the initialisation call each mode makes, the failure messages, unloading,
// the retry from the library's folder, and concurrent loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ClientTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/platform/CurrentDirectory.h"

namespace vorn::client {
namespace {

using testing::ClientTest;
using testing::FakeLibraryProbe;

class LoadClientLibraryTest : public ClientTest {
 protected:
  // Installs `variant` as the home's bin/oci.dll; the library's path.
  std::string InstallClient(const std::string& variant) {
    std::string library = InstallLibrary(variant, "home/bin/oci.dll");
    WriteRegistry(SingleHome(temp_ / "home"));
    return library;
  }
};

TEST_F(LoadClientLibraryTest, Full81ClientIsInitialisedInVersion8Mode) {
  const std::string library = InstallClient("full81");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(IsClientLibraryLoaded());
  EXPECT_EQ(ClientLibraryPath(), library);
  EXPECT_TRUE(IsVersion7SetComplete());
  EXPECT_TRUE(IsVersion8SetComplete());
  EXPECT_TRUE(IsVersion8Mode());
  EXPECT_TRUE(IsVersion81Client());
  EXPECT_TRUE(Oci7().olog.Resolved());
  EXPECT_TRUE(Oci7().opinit.Resolved());

  const FakeLibraryProbe probe(library);
  EXPECT_EQ(probe.Variant(), "full81");
  EXPECT_EQ(probe.InitializeCalls(), 1);
  EXPECT_EQ(probe.InitializeMode(), 3u) << "threaded and object mode";
  EXPECT_EQ(probe.OpinitCalls(), 0) << "version 8 mode needs no opinit";
}

TEST_F(LoadClientLibraryTest, WithoutOCIDirPathPrepareTheClientIsNo81Client) {
  InstallClient("v80");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(IsVersion8Mode());
  EXPECT_TRUE(IsVersion7SetComplete());
  EXPECT_FALSE(IsVersion81Client());
}

TEST_F(LoadClientLibraryTest, Version7ClientIsInitialisedWithOpinit) {
  const std::string library = InstallClient("v7only");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(IsVersion7SetComplete());
  EXPECT_FALSE(IsVersion8SetComplete());
  EXPECT_FALSE(IsVersion8Mode());
  EXPECT_FALSE(IsVersion81Client());

  const FakeLibraryProbe probe(library);
  EXPECT_EQ(probe.OpinitCalls(), 1);
  EXPECT_EQ(probe.OpinitMode(), 0u);
}

TEST_F(LoadClientLibraryTest, OpinitIsResolvedOnlyAfterOlog) {
  const std::string library = InstallClient("v7noolog");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(IsVersion7SetComplete());
  EXPECT_FALSE(Oci7().olog.Resolved());
  EXPECT_FALSE(Oci7().opinit.Resolved()) << "the library exports it, but without olog";
  EXPECT_EQ(FakeLibraryProbe(library).OpinitCalls(), 0);
}

TEST_F(LoadClientLibraryTest, Version7ClientWithoutOpinitLogsOnWithOlog) {
  InstallClient("v7noopinit");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(Oci7().olog.Resolved());
  EXPECT_FALSE(Oci7().opinit.Resolved());
}

TEST_F(LoadClientLibraryTest, LibraryLackingOneVersion7NameLoadsInVersion8ModeOnly) {
  const std::string library = InstallClient("nooexfet");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_FALSE(IsVersion7SetComplete());
  EXPECT_TRUE(IsVersion8Mode());
  // Names before the missing one resolved; it and every later one did not.
  EXPECT_TRUE(Oci7().odefin.Resolved());
  EXPECT_FALSE(Oci7().oexfet.Resolved());
  EXPECT_FALSE(Oci7().ofen.Resolved());
  EXPECT_FALSE(Oci7().odessp.Resolved());
  EXPECT_FALSE(Oci7().olog.Resolved());

  const FakeLibraryProbe probe(library);
  EXPECT_EQ(probe.InitializeCalls(), 1);
  EXPECT_EQ(probe.OpinitCalls(), 0);
}

TEST_F(LoadClientLibraryTest, LibraryLackingOneVersion8NameLoadsInVersion7ModeOnly) {
  const std::string library = InstallClient("nolobread");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(IsVersion7SetComplete());
  EXPECT_FALSE(IsVersion8SetComplete());
  EXPECT_FALSE(IsVersion8Mode());
  EXPECT_FALSE(IsVersion81Client()) << "OCIDirPathPrepare is exported but the set is not whole";
  EXPECT_FALSE(Oci8().OCIDirPathPrepare.Resolved());

  const FakeLibraryProbe probe(library);
  EXPECT_EQ(probe.InitializeCalls(), 0) << "OCIInitialize resolved, but the mode is version 7";
  EXPECT_EQ(probe.OpinitCalls(), 1);
}

TEST_F(LoadClientLibraryTest, LibraryWithNeitherSetCannotBeInitialised) {
  const std::string library = InstallClient("neither");
  const std::string home = temp_ / "home";

  EXPECT_EQ(LoadFailure(), "Initialization error\r\nCould not initialize \"" + library +
                               "\"\r\n\r\nOracleHomeKey: SOFTWARE\\ORACLE\r\nOracleHomeDir: " +
                               home + "\r\nUsing: " + library);
  EXPECT_FALSE(IsClientLibraryLoaded());
  EXPECT_FALSE(IsVersion7SetComplete());
  EXPECT_FALSE(IsVersion8SetComplete());
  EXPECT_FALSE(Oci7().orlon.Resolved()) << "the failed load leaves no entry behind";
  EXPECT_EQ(ClientLibraryPath(), "") << "a searched path is forgotten";
  EXPECT_EQ(OracleHomeKey(), "");
}

TEST_F(LoadClientLibraryTest, FileThatIsNoLibraryCannotBeLoaded) {
  const std::string home = temp_.MakeFolder("home");
  const std::string library = temp_.WriteFile("home/bin/oci.dll", "not a library");
  WriteRegistry(SingleHome(home));

  const std::optional<std::string> failure = LoadFailure();
  ASSERT_TRUE(failure.has_value());
  const std::string head = "Initialization error\r\nCould not load \"" + library + "\"\r\n\r\n";
  EXPECT_TRUE(failure->starts_with(head)) << *failure;
  EXPECT_NE(failure->find("\r\nUsing: " + library + "\r\nLoadLibrary(" + library + ") returned 0"),
            std::string::npos)
      << *failure;
  EXPECT_FALSE(IsClientLibraryLoaded());
}

TEST_F(LoadClientLibraryTest, ForcedPathThatDoesNotLoadIsNamedAndKept) {
  const std::string library = temp_ / "nowhere/oci.dll";
  SetCommandLine({"OCIDLL=" + library});

  const std::optional<std::string> failure = LoadFailure();
  ASSERT_TRUE(failure.has_value());
  EXPECT_TRUE(failure->starts_with("Initialization error\r\nCould not load \"" + library +
                                   "\"\r\n\r\nOCIDLL forced to " + library + "\r\nLoadLibrary(" +
                                   library + ") returned 0"))
      << *failure;
  EXPECT_EQ(ClientLibraryPath(), library) << "a forced path outlives the failed load";
}

TEST_F(LoadClientLibraryTest, FailureMessagesTellWhatWasMissing) {
  const std::string home = temp_.MakeFolder("home");
  temp_.MakeFolder("home/bin");
  WriteRegistry(SingleHome(home));
  EXPECT_EQ(LoadFailure(),
            "Initialization error\r\nCould not locate OCI dll\r\n\r\n"
            "OracleHomeKey: SOFTWARE\\ORACLE\r\nOracleHomeDir: " +
                home);

  WriteRegistry("");
  EXPECT_EQ(LoadFailure(),
            "Initialization error\r\nSQL*Net not properly installed\r\n\r\n"
            "OracleHomeKey: SOFTWARE\\ORACLE\r\nOracleHomeDir: ");
  EXPECT_EQ(ClientLoadLog(), "OracleHomeKey: SOFTWARE\\ORACLE\r\nOracleHomeDir: ")
      << "the log describes the latest attempt only";
}

TEST_F(LoadClientLibraryTest, LoadingAgainDoesNothingUntilUnloaded) {
  const std::string library = InstallClient("full81");
  const FakeLibraryProbe probe(library);  // keeps the library's counters alive

  ASSERT_EQ(LoadFailure(), std::nullopt);
  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_EQ(probe.InitializeCalls(), 1);

  UnloadClientLibrary();
  EXPECT_FALSE(IsClientLibraryLoaded());
  EXPECT_FALSE(IsVersion8Mode());
  EXPECT_EQ(ClientLibraryPath(), "");
  EXPECT_EQ(OracleHomeKey(), "");
  EXPECT_EQ(OracleHomeDirectory(), "");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_EQ(probe.InitializeCalls(), 2) << "a new load initialises again";
}

TEST_F(LoadClientLibraryTest, CommandLinePathSurvivesAnUnload) {
  const std::string library = InstallLibrary("v7only", "elsewhere/ORA73.DLL");
  SetCommandLine({"OCIDLL=" + library});
  ASSERT_EQ(LoadFailure(), std::nullopt);
  UnloadClientLibrary();
  EXPECT_EQ(ClientLibraryPath(), library);

  SetCommandLine({});
  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_EQ(ClientLoadLog(), "OCIDLL forced to " + library);
  EXPECT_FALSE(IsVersion8Mode());
}

TEST_F(LoadClientLibraryTest, OcidllParameterWinsOverTheHomesLibrary) {
  InstallClient("full81");
  SetCommandLine({"OCIDLL=" + InstallLibrary("v7only", "forced/ora73.dll")});

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_FALSE(IsVersion8Mode());
  EXPECT_EQ(OracleHomeDirectory(), temp_ / "home");
}

TEST_F(LoadClientLibraryTest, OcidllWithoutFolderIsFoundThroughTheSystemSearch) {
  SetCommandLine({"OCIDLL=" + testing::FakeLibraryName("v80")});

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_TRUE(IsVersion8Mode());
  EXPECT_FALSE(IsVersion81Client());
  const FakeLibraryProbe probe(testing::FakeLibrary("v80"));
  EXPECT_EQ(probe.InitializeCalls(), 1) << "the library the search found is this file";
}

TEST_F(LoadClientLibraryTest, FailedLoadIsRetriedFromTheLibrarysFolder) {
  // "lib/oci.dll" does not exist below the current directory, but does
  // below the library's own folder "lib".
  InstallLibrary("full81", "lib/lib/oci.dll");
  ASSERT_TRUE(platform::SetCurrentDir(temp_.Path()));
  const std::string start = platform::GetCurrentDir();
  SetClientLibraryPath("lib/oci.dll");

  ASSERT_EQ(LoadFailure(), std::nullopt);
  EXPECT_EQ(platform::GetCurrentDir(), temp_ / "lib");

  RestoreCurrentDirectory();
  EXPECT_EQ(platform::GetCurrentDir(), start);
}

TEST_F(LoadClientLibraryTest, DirectoryChangedSinceTheLoadIsNotRestored) {
  InstallLibrary("full81", "lib/lib/oci.dll");
  const std::string other = temp_.MakeFolder("other");
  ASSERT_TRUE(platform::SetCurrentDir(temp_.Path()));
  SetClientLibraryPath("lib/oci.dll");
  ASSERT_EQ(LoadFailure(), std::nullopt);

  ASSERT_TRUE(platform::SetCurrentDir(other));
  RestoreCurrentDirectory();
  EXPECT_EQ(platform::GetCurrentDir(), other);

  // The saved directory is forgotten: going back to the library's folder
  // does not make a later call restore anything.
  ASSERT_TRUE(platform::SetCurrentDir(temp_ / "lib"));
  RestoreCurrentDirectory();
  EXPECT_EQ(platform::GetCurrentDir(), temp_ / "lib");
}

TEST_F(LoadClientLibraryTest, ConcurrentFirstLoadsInitialiseOnce) {
  const std::string library = InstallClient("full81");
  const FakeLibraryProbe probe(library);

  std::vector<int> failures(4, 0);
  std::vector<std::thread> threads;
  threads.reserve(failures.size());
  for (int& failed : failures) {
    threads.emplace_back([&failed] { failed = LoadFailure().has_value() ? 1 : 0; });
  }
  for (std::thread& thread : threads)
    thread.join();

  EXPECT_EQ(failures, std::vector<int>(4, 0));
  EXPECT_EQ(probe.InitializeCalls(), 1);
}

}  // namespace
}  // namespace vorn::client
