#pragma once
// The per-user settings: sections ("Colors", "Preferences", "Project") of
// named string and integer values, each read with its default.

#include <map>
#include <string>

class Profile {
 public:
  virtual ~Profile() = default;
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& def) const = 0;
  virtual void WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  virtual int GetInt(const std::string& section, const std::string& key, int def) const = 0;
  virtual void WriteInt(const std::string& section, const std::string& key, int value) = 0;
};

// Settings kept in memory: the command line's and the tests' profile.
class MemoryProfile : public Profile {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& def) const override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  int GetInt(const std::string& section, const std::string& key, int def) const override;
  void WriteInt(const std::string& section, const std::string& key, int value) override;
  bool Has(const std::string& section, const std::string& key) const;

 private:
  std::map<std::string, std::string> values_;  // "section\nkey" -> text
};
