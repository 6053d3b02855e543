// The call tables: which names the stand-in libraries really export (read
// from the built files, so that the other tests rest on facts), that the
// tables ask for exactly the names the libraries export, that a call
// through a filled entry reaches the library with its arguments intact, and
// that a call through an empty one raises instead of jumping.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ClientTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"

namespace vorn::client {
namespace {

using testing::ClientTest;

std::vector<std::string> Version7Names() {
  std::vector<std::string> names;
  for (const ClientEntryBase* entry : Oci7().RequiredEntries())
    names.emplace_back(entry->Name());
  return names;
}

std::vector<std::string> Version8Names() {
  std::vector<std::string> names;
  for (const ClientEntryBase* entry : Oci8().RequiredEntries())
    names.emplace_back(entry->Name());
  return names;
}

// The names a variant leaves out, as tests/client/CMakeLists.txt builds it.
std::set<std::string> MissingNames(const std::string& variant) {
  const std::vector<std::string> names7 = Version7Names();
  const std::vector<std::string> names8 = Version8Names();
  std::set<std::string> version7(names7.begin(), names7.end());
  version7.insert({"olog", "opinit"});
  std::set<std::string> version8(names8.begin(), names8.end());
  version8.insert("OCIDirPathPrepare");
  if (variant == "v80") return {"OCIDirPathPrepare"};
  if (variant == "v7only") return version8;
  if (variant == "v7noolog" || variant == "v7noopinit") {
    version8.insert(variant == "v7noolog" ? "olog" : "opinit");
    return version8;
  }
  if (variant == "v8only") return version7;
  if (variant == "nooexfet") return {"oexfet"};
  if (variant == "nolobread") return {"OCILobRead"};
  if (variant == "neither") return {"odessp", "OCICacheFlush"};
  return {};
}

TEST(CallTableTest, TablesListTheCallSetsInTheirOrderOfResolution) {
  const std::vector<std::string> version7 = Version7Names();
  ASSERT_EQ(version7.size(), 20u);
  EXPECT_EQ(version7.front(), "orlon");
  EXPECT_EQ(version7[6], "oexfet");
  EXPECT_EQ(version7.back(), "odessp");

  const std::vector<std::string> version8 = Version8Names();
  ASSERT_EQ(version8.size(), 112u);
  EXPECT_EQ(version8.front(), "OCIInitialize");
  EXPECT_EQ(version8[58], "OCILobRead");
  EXPECT_EQ(version8.back(), "OCICacheFlush");
}

TEST(CallTableTest, StandInsExportEveryNameOfTheTablesExceptTheirOmissions) {
  std::vector<std::string> names = Version7Names();
  const std::vector<std::string> version8 = Version8Names();
  names.insert(names.end(), version8.begin(), version8.end());
  names.insert(names.end(), {"olog", "opinit", "OCIDirPathPrepare"});

  for (const std::string variant : {"full81", "v80", "v7only", "v7noolog", "v7noopinit", "v8only",
                                    "nooexfet", "nolobread", "neither"}) {
    SCOPED_TRACE(variant);
    platform::LibraryHandle library = platform::LoadDynamicLibrary(testing::FakeLibrary(variant));
    ASSERT_NE(library, nullptr) << platform::LastLibraryError();
    const std::set<std::string> missing = MissingNames(variant);
    for (const std::string& name : names) {
      const bool exported = platform::ResolveLibrarySymbol(library, name) != nullptr;
      EXPECT_EQ(exported, missing.count(name) == 0) << name;
    }
    platform::FreeDynamicLibrary(library);
  }
}

TEST_F(ClientTest, CallWithoutALoadedLibraryRaisesNamingTheCall) {
  ASSERT_FALSE(IsClientLibraryLoaded());
  try {
    Oci8().OCITransCommit(nullptr, nullptr, OCI_DEFAULT);
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(),
              "OCI function OCITransCommit is not available: no client library is loaded");
  }
}

TEST_F(ClientTest, CallThroughAnEntryTheLibraryLacksRaisesNamingTheCall) {
  SetCommandLine({"OCIDLL=" + testing::FakeLibrary("nolobread")});
  ASSERT_EQ(LoadFailure(), std::nullopt);

  // Names before the missing one were resolved; it and all after stay empty.
  EXPECT_TRUE(Oci8().OCILobLocatorIsInit.Resolved());
  EXPECT_FALSE(Oci8().OCILobRead.Resolved());
  EXPECT_FALSE(Oci8().OCICacheFlush.Resolved());
  ub4 amount = 0;
  try {
    Oci8().OCILobRead(nullptr, nullptr, nullptr, &amount, 1, nullptr, 0, nullptr, nullptr, 0, 1);
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(),
              "OCI function OCILobRead is not available in the loaded client library");
  }
  EXPECT_THROW(Oci8().OCILobTrim(nullptr, nullptr, nullptr, 0), Exception);
}

TEST_F(ClientTest, CallThroughAFilledEntryPassesArgumentsAndResult) {
  SetCommandLine({"OCIDLL=" + testing::FakeLibrary("full81")});
  ASSERT_EQ(LoadFailure(), std::nullopt);

  OraText banner[64] = {};
  EXPECT_EQ(Oci8().OCIServerVersion(nullptr, nullptr, banner, sizeof banner, OCI_HTYPE_SERVER),
            OCI_SUCCESS);
  EXPECT_STREQ(reinterpret_cast<const char*>(banner), "Oracle8 stand-in full81, handle type 8");

  // A narrow sb2 argument and a length that cuts the text.
  Lda_Def lda{};
  OraText message[12] = {};
  EXPECT_EQ(Oci7().oerhms(&lda, 942, message, sizeof message), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(message), "ORA-00942: ");
}

TEST_F(ClientTest, UnloadEmptiesBothTables) {
  SetCommandLine({"OCIDLL=" + testing::FakeLibrary("full81")});
  ASSERT_EQ(LoadFailure(), std::nullopt);
  ASSERT_TRUE(Oci7().opinit.Resolved());
  ASSERT_TRUE(Oci8().OCIDirPathPrepare.Resolved());

  UnloadClientLibrary();

  for (const ClientEntryBase* entry : Oci7().RequiredEntries())
    EXPECT_FALSE(entry->Resolved()) << entry->Name();
  for (const ClientEntryBase* entry : Oci8().RequiredEntries())
    EXPECT_FALSE(entry->Resolved()) << entry->Name();
  EXPECT_FALSE(Oci7().olog.Resolved());
  EXPECT_FALSE(Oci7().opinit.Resolved());
  EXPECT_FALSE(Oci8().OCIDirPathPrepare.Resolved());
  EXPECT_THROW(Oci7().ocom(nullptr), Exception);
}

}  // namespace
}  // namespace vorn::client
