// The logon form of Vornix's console mode: the logon and password-change
// dialogs (vorn/session/OracleLogon.h) as prompts on a terminal.
//
// Showing the form prints its caption and asks for each visible field in
// turn, "Label [value]: ", the value being the field's current text (eight
// "*" for a masked field that holds text, nothing for an empty one).
// Enter keeps the value, "-" alone empties it, anything else replaces it
// (the blanks around an unmasked answer are dropped; a masked answer is
// taken as typed). Before the database field the alias list is shown when
// the form offers one. End of input cancels the form; answering every
// field confirms it.
//
// Masked fields are read with the terminal's echo off when the input is a
// terminal; the echo is back on before the form returns, whatever happens.
// The form takes no ownership of its streams.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "vorn/session/LogonForm.h"

namespace vorn {

class TerminalLogonForm : public LogonForm {
 public:
  TerminalLogonForm(std::FILE* input, std::FILE* output);

  void SetCaption(const std::string& text) override { caption_ = text; }
  void SetLabelCaption(TLogonField field, const std::string& text) override;
  void SetButtonCaptions(const std::string&, const std::string&) override {}
  void SetFontStyle(TFontStyles) override {}
  void MaskUsername() override { usernameMasked_ = true; }
  void HideDatabase() override { databaseHidden_ = true; }
  void UseAliasList(const std::vector<std::string>& aliases, int dropDownCount) override;

  std::string Text(TLogonField field) const override;
  void SetText(TLogonField field, const std::string& text) override;

  TModalResult ShowModal() override;

 private:
  struct Field {
    std::string label;
    std::string text;
  };
  Field& FieldOf(TLogonField field);
  const Field& FieldOf(TLogonField field) const;
  // Asks for one field; false at the end of the input.
  bool Ask(Field& field, bool masked);

  std::FILE* input_;
  std::FILE* output_;
  std::string caption_;
  Field fields_[3];
  bool usernameMasked_ = false;
  bool databaseHidden_ = false;
  bool aliasList_ = false;
  std::vector<std::string> aliases_;
};

// A factory of terminal forms over `input` and `output` (standard input
// and output unless given), for SetLogonFormFactory.
LogonFormFactory TerminalLogonForms(std::FILE* input = stdin, std::FILE* output = stdout);

}  // namespace vorn
