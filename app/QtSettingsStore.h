// Vornix's remembered values in QSettings: organisation "Tarsk",
// application "Vorn", which is the registry key Software\Tarsk\Vorn of the
// current user on Windows (string values) and ~/.config/Tarsk/Vorn.conf on
// Linux. Every access opens the settings afresh and every write is saved at
// once, so two windows, or a crash, lose nothing written. Needs a
// QCoreApplication only for QSettings' own defaults; none of the names
// depend on it.
#pragma once

#include "SettingsStore.h"

namespace vorn {

inline constexpr const char* kSettingsOrganisation = "Tarsk";
inline constexpr const char* kSettingsApplication = "Vorn";

class QtSettingsStore : public SettingsStore {
 public:
  std::string Read(const std::string& name) override;
  void Write(const std::string& name, const std::string& value) override;
};

}  // namespace vorn
