// The logon form factory and the dialogs' process-wide texts and font
// style; see LogonForm.h.
#include "vorn/session/LogonForm.h"

#include <array>
#include <mutex>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

constexpr std::array<const char*, kLogonTextCount> kInitialTexts = {
    "Oracle Logon",
    "Change password",
    "Confirm",
    "Username",
    "Password",
    "Database",
    "New password",
    "Old password",
    "Verification",
    "Verification failed",
    "Do you wish to change your password now?",
    "Your password has expired",
    "OK",
    "Cancel",
};

struct Appearance {
  std::mutex mutex;
  LogonFormFactory factory;
  std::array<std::string, kLogonTextCount> texts;
  TFontStyles fontStyle = fsNone;

  Appearance() { ResetTexts(); }
  void ResetTexts() {
    for (size_t i = 0; i < texts.size(); ++i)
      texts[i] = kInitialTexts[i];
  }
};

Appearance& Shared() {
  static Appearance appearance;
  return appearance;
}

size_t TextIndex(TLogonText index) {
  const int value = static_cast<int>(index);
  if (value < 0 || value >= kLogonTextCount) {
    throw EListError("Logon text index out of bounds (" + std::to_string(value) + ")");
  }
  return static_cast<size_t>(value);
}

}  // namespace

LogonFormFactory SetLogonFormFactory(LogonFormFactory factory) {
  Appearance& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  std::swap(shared.factory, factory);
  return factory;
}

std::unique_ptr<LogonForm> CreateLogonForm() {
  LogonFormFactory factory;
  {
    Appearance& shared = Shared();
    std::lock_guard<std::mutex> lock(shared.mutex);
    factory = shared.factory;
  }
  std::unique_ptr<LogonForm> form = factory ? factory() : nullptr;
  if (!form) throw Exception("No logon form installed");
  return form;
}

std::string LogonText(TLogonText index) {
  Appearance& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  return shared.texts[TextIndex(index)];
}

void SetLogonText(TLogonText index, std::string text) {
  Appearance& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  shared.texts[TextIndex(index)] = std::move(text);
}

void ResetLogonTexts() {
  Appearance& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  shared.ResetTexts();
}

TFontStyles LogonFontStyle() {
  Appearance& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  return shared.fontStyle;
}

void SetLogonFontStyle(TFontStyles style) {
  Appearance& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  shared.fontStyle = style;
}

}  // namespace vorn
