#include "ClientTestSupport.h"

#include <unistd.h>

#include <fstream>
#include <random>

#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/CommandLine.h"
#include "vorn/platform/CurrentDirectory.h"
#include "vorn/platform/Environment.h"

namespace vorn::client::testing {

TempFolder::TempFolder() {
  std::random_device random;
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("vorn-client-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::WriteFile(const std::string& relative, const std::string& content) const {
  const std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file.string();
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
  std::filesystem::create_directories(path_ / relative);
  return (path_ / relative).string();
}

std::string FakeLibraryName(const std::string& variant) {
  return "libfakeoci_" + variant + ".so";
}

std::string FakeLibrary(const std::string& variant) {
  return std::string(VORN_FAKE_OCI_DIR) + "/" + FakeLibraryName(variant);
}

FakeLibraryProbe::FakeLibraryProbe(const std::string& path)
    : library_(platform::LoadDynamicLibrary(path)) {
  EXPECT_NE(library_, nullptr) << platform::LastLibraryError();
}

FakeLibraryProbe::~FakeLibraryProbe() {
  if (library_ != nullptr) platform::FreeDynamicLibrary(library_);
}

platform::LibrarySymbol FakeLibraryProbe::Symbol(const char* name) const {
  platform::LibrarySymbol symbol = platform::ResolveLibrarySymbol(library_, name);
  if (symbol == nullptr) ADD_FAILURE() << "no probe " << name;
  return symbol;
}

std::string FakeLibraryProbe::Variant() const {
  auto probe = reinterpret_cast<const char* (*)()>(Symbol("fake_oci_variant"));
  return probe != nullptr ? probe() : "";
}

int FakeLibraryProbe::InitializeCalls() const {
  auto probe = reinterpret_cast<int (*)()>(Symbol("fake_oci_initialize_calls"));
  return probe != nullptr ? probe() : -1;
}

unsigned FakeLibraryProbe::InitializeMode() const {
  auto probe = reinterpret_cast<unsigned (*)()>(Symbol("fake_oci_initialize_mode"));
  return probe != nullptr ? probe() : ~0U;
}

int FakeLibraryProbe::OpinitCalls() const {
  auto probe = reinterpret_cast<int (*)()>(Symbol("fake_oci_opinit_calls"));
  return probe != nullptr ? probe() : -1;
}

unsigned FakeLibraryProbe::OpinitMode() const {
  auto probe = reinterpret_cast<unsigned (*)()>(Symbol("fake_oci_opinit_mode"));
  return probe != nullptr ? probe() : ~0U;
}

namespace {

// Everything in the environment that steers the client binding.
const char* const kClientVariables[] = {"VORN_MACHINE_REGISTRY", "ORACLE_HOME", "TNS_ADMIN",
                                        "PATH"};

void ResetClient() {
  UnloadClientLibrary();
  SetClientLibraryPath("");
  RestoreCurrentDirectory();
}

}  // namespace

ClientTest::ClientTest() : savedDirectory_(platform::GetCurrentDir()) {
  for (const char* name : kClientVariables) {
    savedEnvironment_.push_back({name, platform::FindEnvironmentVariable(name)});
  }
  platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", temp_ / "machine-registry.ini");
  platform::RemoveEnvironmentVariable("ORACLE_HOME");
  platform::RemoveEnvironmentVariable("TNS_ADMIN");
  platform::WriteEnvironmentVariable("PATH", "/usr/bin:/bin");
  platform::SetCommandLineForTesting({});
  ResetClient();
}

ClientTest::~ClientTest() {
  ResetClient();
  platform::ResetCommandLineForTesting();
  platform::SetCurrentDir(savedDirectory_);
  for (const SavedVariable& variable : savedEnvironment_) {
    if (variable.value) {
      platform::WriteEnvironmentVariable(variable.name, *variable.value);
    } else {
      platform::RemoveEnvironmentVariable(variable.name);
    }
  }
}

void ClientTest::WriteRegistry(const std::string& text) const {
  temp_.WriteFile("machine-registry.ini", text);
}

std::string ClientTest::SingleHome(const std::string& directory, const std::string& moreValues) {
  return "[SOFTWARE\\ORACLE]\nORACLE_HOME = \"" + directory + "\"\n" + moreValues;
}

std::string ClientTest::InstallLibrary(const std::string& variant,
                                       const std::string& relative) const {
  const std::filesystem::path target = temp_ / relative;
  std::filesystem::create_directories(target.parent_path());
  std::filesystem::copy_file(FakeLibrary(variant), target,
                             std::filesystem::copy_options::overwrite_existing);
  return target.string();
}

void ClientTest::SetCommandLine(std::vector<std::string> parameters) {
  platform::SetCommandLineForTesting(std::move(parameters));
}

std::optional<std::string> ClientTest::LoadFailure() {
  try {
    LoadClientLibrary();
  } catch (const Exception& error) {
    return error.Message();
  }
  return std::nullopt;
}

}  // namespace vorn::client::testing
