// Remembered values in QSettings; see QtSettingsStore.h.
#include "QtSettingsStore.h"

#include <QSettings>
#include <memory>

namespace vorn {
namespace {

std::unique_ptr<QSettings> Open() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QLatin1String(kSettingsOrganisation),
                                     QLatin1String(kSettingsApplication));
}

}  // namespace

std::string QtSettingsStore::Read(const std::string& name) {
  return Open()->value(QString::fromStdString(name)).toString().toStdString();
}

void QtSettingsStore::Write(const std::string& name, const std::string& value) {
  std::unique_ptr<QSettings> settings = Open();
  settings->setValue(QString::fromStdString(name), QString::fromStdString(value));
  settings->sync();
}

}  // namespace vorn
