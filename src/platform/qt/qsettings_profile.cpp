#include "platform/qt/qsettings_profile.h"

#include <QSettings>

namespace {
QString KeyOf(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}
}  // namespace

QSettingsProfile::QSettingsProfile()
    : settings_(std::make_unique<QSettings>(kProfileOrganisation, kProfileApplication)) {}

QSettingsProfile::QSettingsProfile(const std::string& iniPath)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

QSettingsProfile::~QSettingsProfile() = default;

std::string QSettingsProfile::GetString(const std::string& section, const std::string& key,
                                        const std::string& def) const {
  const QVariant v = settings_->value(KeyOf(section, key));
  if (!v.isValid()) return def;
  return v.toString().toStdString();
}

void QSettingsProfile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) {
  settings_->setValue(KeyOf(section, key), QString::fromStdString(value));
  // Written through at once: a crash must not take the folders with it.
  settings_->sync();
}

int QSettingsProfile::GetInt(const std::string& section, const std::string& key, int def) const {
  const QVariant v = settings_->value(KeyOf(section, key));
  if (!v.isValid()) return def;
  bool ok = false;
  const int n = v.toString().trimmed().toInt(&ok);
  return ok ? n : def;
}

void QSettingsProfile::WriteInt(const std::string& section, const std::string& key, int value) {
  settings_->setValue(KeyOf(section, key), value);
  settings_->sync();
}
