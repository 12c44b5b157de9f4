#pragma once
// The per-user settings kept by QSettings: organisation "Pellmar",
// application "Pellmar's Skin Tool", one group per section; or an ini file
// of the caller's choosing, so a run can keep its settings apart.

#include <memory>

#include "platform/profile.h"

class QSettings;

inline constexpr char kProfileOrganisation[] = "Pellmar";
inline constexpr char kProfileApplication[] = "Pellmar's Skin Tool";

class QSettingsProfile : public Profile {
 public:
  // The user's own settings.
  QSettingsProfile();
  // The settings in the ini file `path` (created when missing).
  explicit QSettingsProfile(const std::string& iniPath);
  ~QSettingsProfile() override;

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& def) const override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  int GetInt(const std::string& section, const std::string& key, int def) const override;
  void WriteInt(const std::string& section, const std::string& key, int value) override;

 private:
  std::unique_ptr<QSettings> settings_;
};
