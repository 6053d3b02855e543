// The Qt application object of Vornix; see QtApplication.h.
#include "QtApplication.h"

#include "QtFonts.h"
#include "QtLogonDialog.h"
#include "QtUIServices.h"
#include "vorn/host/Application.h"

namespace vorn {

VornixApplication::VornixApplication(int& argc, char** argv)
    : QApplication(argc, argv),
      services_(std::make_unique<QtUIServices>()),
      servicesScope_(std::make_unique<ScopedUIServices>(*services_)),
      previousForms_(SetLogonFormFactory(QtLogonForms())) {
  InstallFontSubstitutions();
}

VornixApplication::~VornixApplication() {
  SetLogonFormFactory(previousForms_);
  servicesScope_.reset();
  services_.reset();
}

bool VornixApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    Application().HandleException(std::current_exception(), nullptr);
    return false;
  }
}

}  // namespace vorn
