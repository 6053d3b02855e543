// TLOBLocator as a stream over CLOBs, BLOBs and BFILEs: locators of query
// columns re-pointed at every row, locators bound for RETURNING ... INTO and
// as input, growing and trimming, seeking, and BFILEs opened by the first
// read and closed when the query moves on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "QueryTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/LobLocator.h"
#include "vorn/session/OracleError.h"

namespace vorn::query_test {
namespace {

// A text of `size` bytes in which every position can be told apart.
std::string Pattern(size_t size, int seed = 0) {
  std::string text(size, ' ');
  for (size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>('a' + (i * 7 + i / 26 + static_cast<size_t>(seed)) % 26);
  return text;
}

// Bytes of every value, zeros included.
std::string BytePattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>(i * 31 + i / 251);
  return bytes;
}

// Everything from the locator's position, in pieces of `piece` bytes.
std::string ReadRest(TLOBLocator& locator, size_t piece) {
  std::string value;
  std::string buffer(piece, '\0');
  for (;;) {
    const int64_t count = locator.Read(buffer.data(), static_cast<int64_t>(piece));
    if (count <= 0) return value;
    value.append(buffer.data(), static_cast<size_t>(count));
  }
}

// Writes `value` at the locator's position in pieces of `piece` bytes.
void WriteAll(TLOBLocator& locator, const std::string& value, size_t piece) {
  for (size_t at = 0; at < value.size(); at += piece) {
    const size_t count = std::min(piece, value.size() - at);
    ASSERT_EQ(static_cast<int64_t>(count),
              locator.Write(value.data() + at, static_cast<int64_t>(count)));
  }
}

class LobLocatorTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Run("create table docs (id number(5) primary key, body clob, data blob)");
  }

  // Inserts row `id` with empty LOBs and writes `body` and `data` through
  // the locators RETURNING hands back; the row stays uncommitted.
  void Insert(int id, const std::string& body, const std::string& data,
              TOracleSession* session = nullptr) {
    TOracleSession* on = session != nullptr ? session : session_.get();
    auto query = NewQuery(
        "insert into docs (id, body, data) values (:id, empty_clob(), empty_blob()) "
        "returning body, data into :body, :data",
        on);
    TLOBLocator body_locator(on, otCLOB);
    TLOBLocator data_locator(on, otBLOB);
    query->DeclareVariable("id", otInteger);
    query->DeclareVariable("body", otCLOB);
    query->DeclareVariable("data", otBLOB);
    query->SetVariable("id", id);
    query->SetComplexVariable("body", &body_locator);
    query->SetComplexVariable("data", &data_locator);
    query->Execute();
    WriteAll(body_locator, body, 4096);
    WriteAll(data_locator, data, 4096);
  }
};
INSTANTIATE_TEST_SUITE_P(Version8, LobLocatorTest, ::testing::Values(CallSet::OCI8), CallSetName);

// --- Creation ---

TEST_P(LobLocatorTest, CreationNeedsALoggedOnSessionAndALobType) {
  auto offline = NewSession();

  EXPECT_EQ("Not logged on", ErrorOf([&] { TLOBLocator(offline.get(), otCLOB); }));
  EXPECT_EQ("Not logged on", ErrorOf([&] { TLOBLocator(nullptr, otCLOB); }));
  EXPECT_EQ("Type must be otCLOB, otBLOB or otBFile",
            ErrorOf([&] { TLOBLocator(session_.get(), otString); }));
  EXPECT_EQ("", ErrorOf([&] { TLOBLocator(session_.get(), otBFile); }));
}

TEST_P(LobLocatorTest, ANewLocatorIsNullAndReadsNothing) {
  TLOBLocator locator(session_.get(), otCLOB);
  char buffer[16] = {};

  EXPECT_TRUE(locator.IsNull());
  EXPECT_EQ(0, locator.Size());
  EXPECT_EQ(0, locator.Read(buffer, sizeof buffer));
  EXPECT_EQ(0, locator.Position());
}

// --- Columns ---

TEST_P(LobLocatorTest, AColumnsLocatorReadsTheCurrentRowAcrossBatches) {
  for (int id = 1; id <= 5; ++id)
    Insert(id, "text " + std::to_string(id), std::string(static_cast<size_t>(id), '\x7f'));
  auto query = NewQuery("select id, body, data from docs order by id");
  query->SetReadBuffer(2);

  query->Execute();

  EXPECT_EQ(otCLOB, query->FieldType(1));
  EXPECT_EQ(otBLOB, query->FieldType(2));
  TLOBLocator* body = query->LOBField(1);
  TLOBLocator* data = query->LOBField(2);
  ASSERT_NE(nullptr, body);
  EXPECT_EQ(otCLOB, body->LOBType());
  for (int id = 1; id <= 5; ++id) {
    ASSERT_FALSE(query->Eof());
    EXPECT_EQ(id, query->FieldAsInteger(0));
    EXPECT_EQ("text " + std::to_string(id), ReadRest(*body, 3));
    EXPECT_EQ(id, data->Size());
    query->Next();
  }
  EXPECT_TRUE(query->Eof());
}

TEST_P(LobLocatorTest, MovingToTheNextRowStartsItsLocatorAtZero) {
  Insert(1, "abcdef", "");
  Insert(2, "ghijkl", "");
  auto query = NewQuery("select body from docs order by id");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);
  char buffer[4] = {};
  body.Read(buffer, 3);
  ASSERT_EQ(3, body.Position());

  query->Next();

  EXPECT_EQ(0, body.Position());
  EXPECT_EQ("ghijkl", ReadRest(body, 100));
}

TEST_P(LobLocatorTest, FieldGivesTextBytesAndNullForEmptyAndNullLobs) {
  Insert(1, "one\ntwo", std::string("\0\1\2", 3));
  Insert(2, "", "");
  Run("insert into docs (id, body, data) values (3, null, null)");
  auto query = NewQuery("select body, data from docs order by id");
  query->Execute();

  EXPECT_EQ("one\r\ntwo", query->Field(0).AsString());
  EXPECT_EQ((std::vector<uint8_t>{0, 1, 2}), query->Field(1).Bytes());
  EXPECT_FALSE(query->FieldIsNull(0));
  query->Next();
  EXPECT_TRUE(query->Field(0).IsEmpty());
  EXPECT_TRUE(query->Field(1).IsEmpty());
  EXPECT_FALSE(query->FieldIsNull(0));
  EXPECT_FALSE(query->LOBField(0)->IsNull());
  query->Next();
  EXPECT_TRUE(query->FieldIsNull(0));
  EXPECT_TRUE(query->LOBField(0)->IsNull());
  EXPECT_TRUE(query->Field(1).IsEmpty());
}

TEST_P(LobLocatorTest, FieldReadsTheWholeValueAndKeepsTheStreamPosition) {
  Insert(1, "0123456789", "");
  auto query = NewQuery("select body from docs");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);
  body.Seek(4, soFromBeginning);

  EXPECT_EQ("0123456789", query->Field(0).AsString());

  EXPECT_EQ(4, body.Position());
  EXPECT_EQ("456789", ReadRest(body, 100));
}

TEST_P(LobLocatorTest, LOBFieldOfAnotherColumnRaises) {
  auto query = NewQuery("select id, body from docs");
  query->Describe();

  EXPECT_EQ("Field ID is not a LOB", ErrorOf([&] { query->LOBField(0); }));
  EXPECT_EQ(otCLOB, query->FieldType(1));
}

TEST_P(LobLocatorTest, AColumnsLocatorBeforeItsFirstRowIsNull) {
  auto query = NewQuery("select body from docs");
  query->Describe();
  TLOBLocator& body = *query->LOBField(0);
  char buffer[4] = {};

  EXPECT_TRUE(body.IsNull());
  EXPECT_EQ(0, body.Size());
  EXPECT_EQ(0, body.Read(buffer, sizeof buffer));
  EXPECT_EQ("TLOBLocator: Invalid handle", ErrorOf([&] { body.Write("x", 1); }));
}

TEST_P(LobLocatorTest, ALocatorSelectedWithoutTheRowLockCannotWrite) {
  Insert(1, "committed", "");
  session_->Commit();
  auto query = NewQuery("select body from docs");
  query->Execute();

  try {
    query->LOBField(0)->Write("x", 1);
    FAIL() << "the write went through";
  } catch (const EOracleError& error) {
    EXPECT_EQ(22920, error.ErrorCode());
  }
  EXPECT_EQ((std::vector<std::string>{"9"}), Rows("select length(body) from docs"));
}

TEST_P(LobLocatorTest, ARowSelectedForUpdateIsWrittenThroughTheColumnsLocator) {
  Insert(1, "before", "");
  session_->Commit();
  auto query = NewQuery("select body from docs for update");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);

  body.Seek(0, soFromEnd);
  body.Write(" and after", 10);
  session_->Commit();

  EXPECT_EQ((std::vector<std::string>{"before and after"}),
            Rows("select dbms_lob.substr(body, 100, 1) from docs"));
}

// --- Size and position ---

TEST_P(LobLocatorTest, GrowingAClobWritesABlankAtTheNewEnd) {
  CallLog log;
  auto session = NewSession();
  session->LogOn();
  Insert(1, "0123456789", "", session.get());
  auto query = NewQuery("select body from docs for update", session.get());
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);
  log.Clear();

  body.SetSize(12);

  EXPECT_EQ((std::vector<std::string>{"lobwrite 1 12 32"}), log.Calls());
  EXPECT_EQ(12, body.Size());
  EXPECT_EQ(12, body.Position());
  body.SetPosition(0);
  EXPECT_EQ("0123456789  ", ReadRest(body, 5));
}

TEST_P(LobLocatorTest, GrowingABlobWritesAZeroByteAndShrinkingTrims) {
  CallLog log;
  auto session = NewSession();
  session->LogOn();
  Insert(1, "", "abcdefghij", session.get());
  auto query = NewQuery("select data from docs for update", session.get());
  query->Execute();
  TLOBLocator& data = *query->LOBField(0);
  log.Clear();

  data.SetSize(12);
  data.SetSize(4);
  data.SetSize(4);

  EXPECT_EQ((std::vector<std::string>{"lobwrite 1 12 0", "lobtrim 4"}), log.Calls());
  data.SetPosition(0);
  EXPECT_EQ("abcd", ReadRest(data, 3));
  data.SetSize(6);
  data.SetPosition(0);
  EXPECT_EQ(std::string("abcd\0\0", 6), ReadRest(data, 3));
}

TEST_P(LobLocatorTest, SeekingFromTheEndCountsFromTheLength) {
  Insert(1, Pattern(100), "");
  auto query = NewQuery("select body from docs");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);

  EXPECT_EQ(99, body.Seek(-1, soFromEnd));
  EXPECT_EQ(Pattern(100).substr(99), ReadRest(body, 10));
  EXPECT_EQ(100, body.Position());
  EXPECT_EQ(90, body.Seek(-10, soFromCurrent));
  EXPECT_EQ(5, body.Seek(5, soFromBeginning));
  EXPECT_EQ(100, body.Size());
}

TEST_P(LobLocatorTest, ReadingAtOrPastTheEndGivesNothing) {
  Insert(1, "abc", "");
  auto query = NewQuery("select body from docs");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);
  char buffer[8] = {};

  body.Seek(3, soFromBeginning);
  EXPECT_EQ(0, body.Read(buffer, sizeof buffer));
  body.Seek(50, soFromBeginning);
  EXPECT_EQ(0, body.Read(buffer, sizeof buffer));
  EXPECT_EQ(50, body.Position());
}

TEST_P(LobLocatorTest, SeekingBeforeTheStartRaisesAndKeepsThePosition) {
  Insert(1, "abc", "");
  auto query = NewQuery("select body from docs");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);
  body.Seek(2, soFromBeginning);

  EXPECT_EQ("Invalid stream position", ErrorOf([&] { body.Seek(-3, soFromCurrent); }));
  EXPECT_EQ("Invalid stream position", ErrorOf([&] { body.Seek(-4, soFromEnd); }));
  EXPECT_EQ(2, body.Position());
}

// --- Several megabytes through the stream ---

TEST_P(LobLocatorTest, MegabytesWrittenAndReadBackInOddPieces) {
  const std::string text = Pattern(3 * 1024 * 1024 + 17);
  const std::string bytes = BytePattern(2 * 1024 * 1024 + 3);
  auto insert = NewQuery(
      "insert into docs (id, body, data) values (1, empty_clob(), empty_blob()) "
      "returning body, data into :body, :data");
  TLOBLocator body(session_.get(), otCLOB);
  TLOBLocator data(session_.get(), otBLOB);
  insert->DeclareVariable("body", otCLOB);
  insert->DeclareVariable("data", otBLOB);
  insert->SetComplexVariable("body", &body);
  insert->SetComplexVariable("data", &data);
  insert->Execute();

  WriteAll(body, text, 99991);
  WriteAll(data, bytes, 65521);
  session_->Commit();

  auto select = NewQuery("select body, data from docs");
  select->Execute();
  EXPECT_EQ(static_cast<int64_t>(text.size()), select->LOBField(0)->Size());
  EXPECT_TRUE(ReadRest(*select->LOBField(0), 4099) == text);
  EXPECT_TRUE(ReadRest(*select->LOBField(1), 333) == bytes);
  EXPECT_TRUE(select->Field(1).Bytes() == std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// --- Variables ---

TEST_P(LobLocatorTest, ReturningFillsTheLocatorWithTheNewRowsLob) {
  auto insert =
      NewQuery("insert into docs (id, body) values (1, empty_clob()) returning body into :body");
  TLOBLocator body(session_.get(), otCLOB);
  insert->DeclareVariable("body", otCLOB);
  insert->SetComplexVariable("body", &body);

  insert->Execute();

  EXPECT_FALSE(body.IsNull());
  EXPECT_EQ(0, body.Size());
  body.Write("written", 7);
  EXPECT_EQ((std::vector<std::string>{"written"}),
            Rows("select dbms_lob.substr(body, 100, 1) from docs"));
}

TEST_P(LobLocatorTest, ALocatorBoundAsInputGivesItsValue) {
  Insert(1, "copied text", "");
  auto select = NewQuery("select body from docs where id = 1");
  select->Execute();
  auto insert = NewQuery("insert into docs (id, body) values (2, :body)");
  insert->DeclareVariable("body", otCLOB);
  insert->SetComplexVariable("body", select->LOBField(0));

  insert->Execute();

  EXPECT_EQ((std::vector<std::string>{"copied text"}),
            Rows("select dbms_lob.substr(body, 100, 1) from docs where id = 2"));
}

TEST_P(LobLocatorTest, ANullLocatorBoundAsInputGivesNull) {
  TLOBLocator empty(session_.get(), otBLOB);
  auto insert = NewQuery("insert into docs (id, data) values (1, :data)");
  insert->DeclareVariable("data", otBLOB);
  insert->SetComplexVariable("data", &empty);

  insert->Execute();

  EXPECT_EQ((std::vector<std::string>{"1"}), Rows("select count(*) from docs where data is null"));
}

TEST_P(LobLocatorTest, ANullReturnedIntoAFilledLocatorMakesItNull) {
  Insert(1, "some text", "");
  auto update = NewQuery("update docs set id = 1 where id = 1 returning body into :body");
  TLOBLocator body(session_.get(), otCLOB);
  update->DeclareVariable("body", otCLOB);
  update->SetComplexVariable("body", &body);
  update->Execute();
  ASSERT_FALSE(body.IsNull());

  update->SQL()->SetText("update docs set body = null where id = 1 returning body into :body");
  update->Execute();

  EXPECT_TRUE(body.IsNull());
  EXPECT_EQ(0, update->Variables()->Items(0)->Indicators()[0]);
}

TEST_P(LobLocatorTest, ALobVariableWithoutLocatorRaises) {
  auto insert = NewQuery("insert into docs (id, body) values (1, :body)");
  insert->DeclareVariable("body", otCLOB);

  EXPECT_EQ("LOB variable :BODY cannot be nil", ErrorOf([&] { insert->Execute(); }));
}

TEST_P(LobLocatorTest, ClearMakesAFilledLocatorNull) {
  Insert(1, "text", "");
  auto query = NewQuery("select body from docs");
  query->Execute();
  TLOBLocator& body = *query->LOBField(0);

  body.Clear();

  EXPECT_TRUE(body.IsNull());
  EXPECT_EQ(0, body.Size());
}

// --- Sessions ---

TEST_P(LobLocatorTest, ALocatorOutlivesItsSessionsLogoffAndIsNullAfterANewLogon) {
  TLOBLocator body(session_.get(), otCLOB);
  auto insert =
      NewQuery("insert into docs (id, body) values (1, empty_clob()) returning body into :body");
  insert->DeclareVariable("body", otCLOB);
  insert->SetComplexVariable("body", &body);
  insert->Execute();
  ASSERT_FALSE(body.IsNull());

  session_->LogOff();
  EXPECT_EQ("Not logged on", ErrorOf([&] { body.Size(); }));
  session_->LogOn();

  EXPECT_TRUE(body.IsNull());
}

TEST_P(LobLocatorTest, ALocatorOutlivesItsSession) {
  auto session = NewSession();
  session->LogOn();
  auto body = std::make_unique<TLOBLocator>(session.get(), otCLOB);

  session.reset();

  EXPECT_EQ("Not logged on", ErrorOf([&] { body->IsNull(); }));
  body.reset();
}

// --- BFILEs ---

class BfileTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    // By process: test programs run side by side, and under ThreadSanitizer
    // their fixtures sit at the same addresses.
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ("vorn-bfiles-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    for (int i = 1; i <= 12; ++i)
      std::ofstream(folder_ / ("f" + std::to_string(i) + ".txt")) << "file " << i;
  }
  void TearDown() override {
    QueryTest::TearDown();
    std::filesystem::remove_all(folder_);
  }

  void MakeFiles(TOracleSession* session) {
    NewQuery("create or replace directory lob_dir as '" + folder_.string() + "'", session)
        ->Execute();
    NewQuery("create table files (id number(5), f bfile)", session)->Execute();
    for (int i = 1; i <= 12; ++i) {
      NewQuery("insert into files values (" + std::to_string(i) + ", bfilename('LOB_DIR', 'f" +
                   std::to_string(i) + ".txt'))",
               session)
          ->Execute();
    }
  }

  std::filesystem::path folder_;
};
INSTANTIATE_TEST_SUITE_P(Version8, BfileTest, ::testing::Values(CallSet::OCI8), CallSetName);

TEST_P(BfileTest, TheFirstReadOpensTheFileAndTheNextRowClosesIt) {
  CallLog log;
  auto session = NewSession();
  session->LogOn();
  MakeFiles(session.get());
  auto query = NewQuery("select f from files order by id", session.get());
  query->Execute();
  TLOBLocator& file = *query->LOBField(0);
  EXPECT_EQ(otBFile, query->FieldType(0));
  log.Clear();

  char buffer[4] = {};
  file.Read(buffer, 2);
  file.Read(buffer, 2);
  const std::vector<std::string> reading = log.Calls();
  log.Clear();
  query->Next();
  const std::vector<std::string> moving = log.Calls();

  EXPECT_EQ((std::vector<std::string>{"fileopen", "lobread 2 1", "lobread 2 3"}), reading);
  EXPECT_EQ((std::vector<std::string>{"fileclose"}), moving);
  EXPECT_EQ("file 2", ReadRest(file, 4));
}

TEST_P(BfileTest, EveryRowsFileIsReadThoughOnlyTenMayBeOpen) {
  MakeFiles(session_.get());
  auto query = NewQuery("select f from files order by id");
  query->SetReadBuffer(5);
  query->Execute();

  std::vector<std::string> contents;
  for (; !query->Eof(); query->Next()) {
    const std::vector<uint8_t> bytes = query->Field(0).Bytes();
    contents.emplace_back(bytes.begin(), bytes.end());
  }

  ASSERT_EQ(12u, contents.size());
  EXPECT_EQ("file 1", contents[0]);
  EXPECT_EQ("file 12", contents[11]);
}

TEST_P(BfileTest, AStandaloneLocatorClosesItsFileWhenDestroyed) {
  MakeFiles(session_.get());
  for (int round = 1; round <= 12; ++round) {
    TLOBLocator copy(session_.get(), otBFile);
    auto into = NewQuery("update files set id = id where id = :id returning f into :f");
    into->DeclareVariable("f", otBFile);
    into->DeclareVariable("id", otInteger);
    into->SetComplexVariable("f", &copy);
    into->SetVariable("id", round);
    into->Execute();

    EXPECT_EQ("file " + std::to_string(round), ReadRest(copy, 100));
  }
}

// --- Version 7 ---

class LobVersion7Test : public QueryTest {};
INSTANTIATE_TEST_SUITE_P(Version7, LobVersion7Test, ::testing::Values(CallSet::OCI7), CallSetName);

TEST_P(LobVersion7Test, LobsNeedTheVersion8Calls) {
  Run("create table docs (id number(5), body clob)");
  auto select = NewQuery("select body from docs");
  auto insert = NewQuery("insert into docs (id, body) values (1, :body)");
  insert->DeclareVariable("body", otCLOB);

  EXPECT_EQ("A query with LOB's requires OCI8 mode, but OCI7 mode is used.",
            ErrorOf([&] { select->Execute(); }));
  EXPECT_EQ("A LOB Locator variable requires OCI8 mode, but OCI7 mode is used.",
            ErrorOf([&] { insert->Execute(); }));
  EXPECT_EQ("A TLOBLocator instance requires OCI8 mode, but OCI7 mode is used.",
            ErrorOf([&] { TLOBLocator(session_.get(), otCLOB); }));
}

}  // namespace
}  // namespace vorn::query_test
