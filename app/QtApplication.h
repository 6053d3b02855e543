// VornixApplication: the Qt application object of Vornix, joined to the
// host's application object (vorn/host/Application.h).
//
// While it exists, the Qt UI services (QtUIServices.h) are the current
// ones, the Windows font names of the forms find their stand-ins
// (QtFonts.h), and the logon dialogs run on TLogOnForm (QtLogonDialog.h).
// An exception that escapes an event handler (a button's click, a timer)
// does not unwind through Qt: it goes to the host application's
// HandleException, which shows it through the UI services, as the host's
// message loop does, or passes it to Application().OnException.
#pragma once

#include <QApplication>
#include <memory>

#include "vorn/session/LogonForm.h"

namespace vorn {

class QtUIServices;
class ScopedUIServices;

class VornixApplication : public QApplication {
  Q_OBJECT

 public:
  VornixApplication(int& argc, char** argv);
  ~VornixApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

  // The application's UI services (current while nothing else is
  // installed over them).
  QtUIServices& Services() const { return *services_; }

 private:
  std::unique_ptr<QtUIServices> services_;
  std::unique_ptr<ScopedUIServices> servicesScope_;
  LogonFormFactory previousForms_;
};

}  // namespace vorn
