// Memory, string and file streams: reading, writing, seeking, sizes and
// their errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "vorn/host/Exceptions.h"
#include "vorn/host/FileStream.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/host/StringStream.h"

namespace vorn {
namespace {

std::string Contents(TMemoryStream& stream) {
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

class FileStreamTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vorn-streams-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

TEST(MemoryStreamTest, WritesReadsAndSeeks) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Write("hello world", 11), 11);
  EXPECT_EQ(stream.Size(), 11);
  EXPECT_EQ(stream.Position(), 11);
  EXPECT_EQ(stream.Seek(-5, soFromEnd), 6);
  char buffer[16] = {};
  EXPECT_EQ(stream.Read(buffer, 16), 5);
  EXPECT_STREQ(buffer, "world");
  EXPECT_EQ(stream.Read(buffer, 16), 0);
  stream.SetPosition(0);
  stream.Write("J", 1);
  EXPECT_EQ(stream.Seek(3, soFromCurrent), 4);
  EXPECT_EQ(Contents(stream), "Jello world");
  EXPECT_EQ(stream.Read(buffer, -1), 0);
}

TEST(MemoryStreamTest, PositionsPastTheEnd) {
  TMemoryStream stream;
  stream.Write("ab", 2);
  stream.SetPosition(5);
  char c;
  EXPECT_EQ(stream.Read(&c, 1), 0);
  EXPECT_EQ(stream.Size(), 2);
  stream.Write("z", 1);
  EXPECT_EQ(Contents(stream), std::string("ab\0\0\0z", 6));
  try {
    stream.Seek(-7, soFromEnd);
    FAIL();
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(), "Invalid stream position");
  }
  EXPECT_EQ(stream.Position(), 6);
}

TEST(MemoryStreamTest, SizeClearAndBufferErrors) {
  TMemoryStream stream;
  stream.Write("abcdef", 6);
  stream.SetSize(3);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(Contents(stream), "abc");
  stream.SetSize(5);
  EXPECT_EQ(Contents(stream), std::string("abc\0\0", 5));
  stream.SetPosition(4);
  char buffer[4];
  try {
    stream.ReadBuffer(buffer, 2);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_THROW(stream.SetSize(-1), EStreamError);
}

TEST(MemoryStreamTest, CopyFromAndLoadFromStream) {
  TStringStream source("0123456789");
  source.SetPosition(2);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 3), 3);
  EXPECT_EQ(Contents(target), "234");
  EXPECT_EQ(target.CopyFrom(source, 0), 10);  // 0: all of it, from the start
  EXPECT_EQ(Contents(target), "2340123456789");
  EXPECT_THROW(target.CopyFrom(source, 1), EReadError);
  TMemoryStream loaded;
  loaded.LoadFromStream(target);
  EXPECT_EQ(Contents(loaded), "2340123456789");
  EXPECT_EQ(loaded.Position(), 0);
}

TEST(StringStreamTest, ReadsAndWritesText) {
  TStringStream stream("abc");
  EXPECT_EQ(stream.ReadString(2), "ab");
  stream.WriteString("XYZ");
  EXPECT_EQ(stream.DataString(), "abXYZ");
  stream.SetPosition(10);
  EXPECT_EQ(stream.ReadString(4), "");
  stream.SetSize(1);
  EXPECT_EQ(stream.DataString(), "a");
  EXPECT_EQ(stream.Position(), 1);
}

TEST_F(FileStreamTest, CreatesWritesAndReads) {
  {
    TFileStream out(Path("data.bin"), fmCreate);
    out.WriteBuffer("0123456789", 10);
    EXPECT_EQ(out.Size(), 10);
    out.SetSize(4);
    EXPECT_EQ(out.Position(), 4);
  }
  TFileStream in(Path("data.bin"), fmOpenRead | fmShareDenyNone);
  EXPECT_EQ(in.Size(), 4);
  char buffer[8] = {};
  EXPECT_EQ(in.Read(buffer, 8), 4);
  EXPECT_STREQ(buffer, "0123");
  EXPECT_EQ(in.Seek(1, soFromBeginning), 1);
  in.ReadBuffer(buffer, 2);
  EXPECT_EQ(std::string(buffer, 2), "12");
  EXPECT_THROW(in.ReadBuffer(buffer, 2), EReadError);
  EXPECT_THROW(in.Write("x", 1), EWriteError);
}

TEST_F(FileStreamTest, WritesPastTheEnd) {
  TFileStream file(Path("sparse.bin"), fmCreate);
  file.SetPosition(4);
  file.WriteBuffer("x", 1);
  EXPECT_EQ(file.Size(), 5);
  file.SetPosition(0);
  char buffer[5];
  file.ReadBuffer(buffer, 5);
  EXPECT_EQ(std::string(buffer, 5), std::string("\0\0\0\0x", 5));
  EXPECT_THROW(file.Seek(-1, soFromBeginning), EStreamError);
}

TEST_F(FileStreamTest, OpenModes) {
  { std::ofstream(Path("existing.txt")) << "abc"; }
  {
    TFileStream rw(Path("existing.txt"), fmOpenReadWrite);
    rw.Seek(0, soFromEnd);
    rw.WriteBuffer("d", 1);
  }
  {
    TFileStream w(Path("existing.txt"), fmOpenWrite);
    w.WriteBuffer("A", 1);
    char c;
    EXPECT_THROW(w.Read(&c, 1), EReadError);
  }
  TMemoryStream memory;
  memory.LoadFromFile(Path("existing.txt"));
  EXPECT_EQ(Contents(memory), "Abcd");
  memory.SaveToFile(Path("copy.txt"));
  EXPECT_EQ(std::filesystem::file_size(Path("copy.txt")), 4u);
}

TEST_F(FileStreamTest, ErrorsNameTheFile) {
  std::string missing = Path("missing.txt");
  try {
    TFileStream stream(missing, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
  }
  std::string nowhere = Path("no/such/folder.txt");
  try {
    TFileStream stream(nowhere, fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + nowhere + "\". No such file or directory");
  }
  try {
    TFileStream stream(folder_.string(), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find("Is a directory"), std::string::npos);
  }
  EXPECT_THROW(TMemoryStream().LoadFromFile(missing), EFOpenError);
}

}  // namespace
}  // namespace vorn
