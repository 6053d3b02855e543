// Where Vornix remembers the user's logon and last query between runs: four
// text values, UserName, Password, HostName and LastQuery. The program
// keeps them with QSettings (QtSettingsStore.h: organisation "Tarsk",
// application "Vorn", which on Windows is the registry key
// Software\Tarsk\Vorn of the current user); tests and the console mode keep
// them in memory. A value never written reads as empty text. The password
// is stored as it was typed, in plain text.
#pragma once

#include <map>
#include <string>

namespace vorn {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual std::string Read(const std::string& name) = 0;
  virtual void Write(const std::string& name, const std::string& value) = 0;
};

class MemorySettings : public SettingsStore {
 public:
  std::string Read(const std::string& name) override {
    auto found = values_.find(name);
    return found == values_.end() ? std::string() : found->second;
  }
  void Write(const std::string& name, const std::string& value) override { values_[name] = value; }

  const std::map<std::string, std::string>& Values() const { return values_; }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace vorn
