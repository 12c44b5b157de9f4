#pragma once
// The per-user settings: sections ("Colors", "Preferences", "Project") of
// named string and integer values, each read with its default. The settings
// themselves, with their defaults, are listed in platform/profile_keys.h.

#include <map>
#include <string>

#include "platform/profile_keys.h"

class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& def) const = 0;
  virtual void WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  virtual int GetInt(const std::string& section, const std::string& key, int def) const = 0;
  virtual void WriteInt(const std::string& section, const std::string& key, int value) = 0;

  // A listed setting, read with its one default.
  std::string Get(const StringSetting& s) const { return GetString(s.section, s.key, s.def); }
  int Get(const IntSetting& s) const { return GetInt(s.section, s.key, s.def); }
  void Write(const StringSetting& s, const std::string& value) { WriteString(s.section, s.key, value); }
  void Write(const IntSetting& s, int value) { WriteInt(s.section, s.key, value); }
};

// The largest settings file the editor reads: a few dozen short values take
// a few kilobytes, so anything near this is not a settings file.
inline constexpr long long kMaxProfileFileBytes = 1 << 20;

// Whether the file at `path` may be used as a settings file: 0 when it is a
// regular file of at most kMaxProfileFileBytes, or missing (it is made on
// the first write); else the cause (files.h) to report. Reading a pipe or a
// device would block start-up for good.
int ProfileFileCause(const std::string& path);

// Settings kept in memory: the command line's and the tests' profile.
class MemoryProfile : public Profile {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& def) const override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  int GetInt(const std::string& section, const std::string& key, int def) const override;
  void WriteInt(const std::string& section, const std::string& key, int value) override;
  bool Has(const std::string& section, const std::string& key) const;
  bool Empty() const { return values_.empty(); }

 private:
  std::map<std::string, std::string> values_;  // "section\nkey" -> text
};
