// What the client tests share: a temporary folder to build Oracle homes in,
// the stand-in client libraries, and a fixture that gives every test a
// machine registry, environment, command line, current directory and
// client state of its own and puts the process's back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "vorn/platform/DynamicLibrary.h"

namespace vorn::client::testing {

// A uniquely named folder under the system's temporary directory, removed
// with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path() const { return path_.string(); }
  std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes `content` to `relative`, creating its folders; the full path.
  std::string WriteFile(const std::string& relative, const std::string& content) const;
  std::string MakeFolder(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// The stand-in client library of `variant` as built (see CMakeLists.txt):
// full81, v80, v7only, v7noolog, v7noopinit, v8only, nooexfet, nolobread,
// neither.
std::string FakeLibrary(const std::string& variant);
// Its file name alone, for loading through the system's search.
std::string FakeLibraryName(const std::string& variant);

// The probes of a loaded stand-in: loads the same file once more (which
// yields the same library) and frees it again when it goes.
class FakeLibraryProbe {
 public:
  explicit FakeLibraryProbe(const std::string& path);
  ~FakeLibraryProbe();
  FakeLibraryProbe(const FakeLibraryProbe&) = delete;
  FakeLibraryProbe& operator=(const FakeLibraryProbe&) = delete;

  std::string Variant() const;
  int InitializeCalls() const;
  unsigned InitializeMode() const;
  int OpinitCalls() const;
  unsigned OpinitMode() const;

 private:
  platform::LibrarySymbol Symbol(const char* name) const;
  platform::LibraryHandle library_;
};

class ClientTest : public ::testing::Test {
 protected:
  ClientTest();
  ~ClientTest() override;

  // Replaces the machine registry file.
  void WriteRegistry(const std::string& text) const;
  // Registry text of a machine with one Oracle home under SOFTWARE\ORACLE.
  static std::string SingleHome(const std::string& directory, const std::string& moreValues = "");
  // Copies the stand-in `variant` to `relative` under the temporary folder;
  // the full path of the copy.
  std::string InstallLibrary(const std::string& variant, const std::string& relative) const;
  static void SetCommandLine(std::vector<std::string> parameters);
  // The message of the exception LoadClientLibrary raises; no value when
  // it loads.
  static std::optional<std::string> LoadFailure();

  TempFolder temp_;

 private:
  struct SavedVariable {
    std::string name;
    std::optional<std::string> value;
  };
  std::vector<SavedVariable> savedEnvironment_;
  std::string savedDirectory_;
};

}  // namespace vorn::client::testing
