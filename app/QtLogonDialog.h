// TLogOnForm: the Qt form of the logon and password-change dialogs
// (vorn/session/LogonForm.h says what the dialogs ask of it).
//
// A fixed-size dialog, always on top and centred on the screen, in "MS
// Sans Serif" 8 pt (QtFonts.h) with the dialogs' font style:
//
//   GroupBox     Label1 UsernameEdit
//                Label2 PasswordEdit          (shows "*" per character)
//                DBPanel: Label3 DatabaseEdit | AliasList
//   ButtonPanel                  OKBtn  CancelBtn
//
// OKBtn is the default button (Enter confirms), CancelBtn and Escape
// cancel. AliasList, an editable drop-down, is hidden until the form
// offers the alias list; it then takes DatabaseEdit's place. Hiding the
// database hides DBPanel, and the group box and the window shrink by its
// height. Each showing puts the focus on PasswordEdit when UsernameEdit
// holds text, else on UsernameEdit. The widgets carry their names as
// object names.
#pragma once

#include <QDialog>

#include "vorn/session/LogonForm.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorn {

class TLogOnForm : public QDialog, public LogonForm {
  Q_OBJECT

 public:
  explicit TLogOnForm(QWidget* parent = nullptr);
  ~TLogOnForm() override;

  void SetCaption(const std::string& text) override;
  void SetLabelCaption(TLogonField field, const std::string& text) override;
  void SetButtonCaptions(const std::string& ok, const std::string& cancel) override;
  void SetFontStyle(TFontStyles style) override;
  void MaskUsername() override;
  void HideDatabase() override;
  void UseAliasList(const std::vector<std::string>& aliases, int dropDownCount) override;
  std::string Text(TLogonField field) const override;
  void SetText(TLogonField field, const std::string& text) override;
  TModalResult ShowModal() override;

  QGroupBox* GroupBox = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* UsernameEdit = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* PasswordEdit = nullptr;
  QWidget* DBPanel = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* DatabaseEdit = nullptr;
  QComboBox* AliasList = nullptr;
  QWidget* ButtonPanel = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The labels share the width of the widest, so the fields line up
  // across the group box and DBPanel.
  void AlignLabels();
  QLabel* LabelOf(TLogonField field) const;
};

// The factory of Qt logon forms, for SetLogonFormFactory.
LogonFormFactory QtLogonForms();

}  // namespace vorn
