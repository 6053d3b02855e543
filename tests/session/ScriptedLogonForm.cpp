// The scripted logon form; see ScriptedLogonForm.h.
#include "ScriptedLogonForm.h"

#include <gtest/gtest.h>

namespace vorn::session_test {

class ScriptedUser::Form : public LogonForm {
 public:
  explicit Form(ScriptedUser& user) : user_(user) {
    state_.form = ++user_.formsMade_;
    ++user_.formsAlive_;
  }
  ~Form() override { --user_.formsAlive_; }

  void SetCaption(const std::string& text) override { state_.caption = text; }
  void SetLabelCaption(TLogonField field, const std::string& text) override {
    Select(field, state_.usernameLabel, state_.passwordLabel, state_.databaseLabel) = text;
  }
  void SetButtonCaptions(const std::string& ok, const std::string& cancel) override {
    state_.okCaption = ok;
    state_.cancelCaption = cancel;
  }
  void SetFontStyle(TFontStyles style) override { state_.fontStyle = style; }
  void MaskUsername() override { state_.usernameMasked = true; }
  void HideDatabase() override { state_.databaseHidden = true; }
  void UseAliasList(const std::vector<std::string>& aliases, int dropDownCount) override {
    state_.aliasList = true;
    state_.aliases = aliases;
    state_.dropDownCount = dropDownCount;
  }
  std::string Text(TLogonField field) const override {
    return Select(field, state_.username, state_.password, state_.database);
  }
  void SetText(TLogonField field, const std::string& text) override {
    Select(field, state_.username, state_.password, state_.database) = text;
  }

  TModalResult ShowModal() override {
    user_.shown_.push_back(state_);
    if (user_.answers_.empty()) {
      ADD_FAILURE() << "a dialog \"" << state_.caption << "\" that nobody answered";
      return mrCancel;
    }
    FormAnswer answer = std::move(user_.answers_.front());
    user_.answers_.pop_front();
    if (answer.during) answer.during();
    if (answer.username) state_.username = *answer.username;
    if (answer.password) state_.password = *answer.password;
    if (answer.database) state_.database = *answer.database;
    return answer.result;
  }

 private:
  template <class T>
  static T& Select(TLogonField field, T& username, T& password, T& database) {
    switch (field) {
      case TLogonField::Username:
        return username;
      case TLogonField::Password:
        return password;
      default:
        return database;
    }
  }

  ScriptedUser& user_;
  ShownForm state_;
};

ScriptedUser::ScriptedUser()
    : previous_(SetLogonFormFactory([this] { return std::make_unique<Form>(*this); })) {}

ScriptedUser::~ScriptedUser() {
  SetLogonFormFactory(previous_);
  EXPECT_TRUE(answers_.empty()) << answers_.size() << " answers were not used";
}

}  // namespace vorn::session_test
