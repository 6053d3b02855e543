// A logon form without a screen, for the tests of the logon dialogs: a
// scripted user answers every showing of a form, and every showing is
// recorded as the user saw it.
//
//   ScriptedUser user;                      // installs its form factory
//   user.Answer(ScriptedUser::Confirm().Password("tiger"));
//   user.Answer(ScriptedUser::Cancel());
//   logon.Execute();
//   EXPECT_EQ(user.Shown().at(0).username, "scott");
//
// A showing with no answer left cancels and fails the test.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vorn/session/LogonForm.h"

namespace vorn::session_test {

// A form as it was when shown.
struct ShownForm {
  std::string caption;
  std::string usernameLabel, passwordLabel, databaseLabel;
  std::string okCaption, cancelCaption;
  TFontStyles fontStyle = fsNone;
  std::string username, password, database;
  bool usernameMasked = false;
  bool databaseHidden = false;
  bool aliasList = false;
  std::vector<std::string> aliases;
  int dropDownCount = 0;
  // Which form of the test it was (1 for the first one made).
  int form = 0;
};

// What the user does with one showing: fields typed over (the others are
// left as they are), then OK or Cancel. `During` runs while the form is
// shown, before the fields are typed.
//
//   ScriptedUser::Confirm().Password("tiger")
struct FormAnswer {
  FormAnswer& Username(std::string text) { return Set(username, std::move(text)); }
  FormAnswer& Password(std::string text) { return Set(password, std::move(text)); }
  FormAnswer& Database(std::string text) { return Set(database, std::move(text)); }
  FormAnswer& During(std::function<void()> action) {
    during = std::move(action);
    return *this;
  }

  std::optional<std::string> username;
  std::optional<std::string> password;
  std::optional<std::string> database;
  TModalResult result = mrOk;
  std::function<void()> during;

 private:
  FormAnswer& Set(std::optional<std::string>& field, std::string text) {
    field = std::move(text);
    return *this;
  }
};

class ScriptedUser {
 public:
  ScriptedUser();
  ~ScriptedUser();
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  static FormAnswer Confirm() { return FormAnswer(); }
  static FormAnswer Cancel() {
    FormAnswer answer;
    answer.result = mrCancel;
    return answer;
  }
  // The password-change dialog: new password and verification.
  static FormAnswer NewPassword(const std::string& password, const std::string& verification) {
    return Confirm().Username(password).Password(verification);
  }

  void Answer(FormAnswer answer) { answers_.push_back(std::move(answer)); }

  const std::vector<ShownForm>& Shown() const { return shown_; }
  int FormsMade() const { return formsMade_; }
  int FormsAlive() const { return formsAlive_; }
  int PendingAnswers() const { return static_cast<int>(answers_.size()); }

 private:
  class Form;

  std::deque<FormAnswer> answers_;
  std::vector<ShownForm> shown_;
  int formsMade_ = 0;
  int formsAlive_ = 0;
  LogonFormFactory previous_;
};

}  // namespace vorn::session_test
