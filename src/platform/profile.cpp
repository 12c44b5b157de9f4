#include "platform/profile.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>

#include "platform/files.h"

namespace {
std::string Join(const std::string& section, const std::string& key) { return section + '\n' + key; }
}  // namespace

std::string MemoryProfile::GetString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
  auto it = values_.find(Join(section, key));
  return it == values_.end() ? def : it->second;
}

void MemoryProfile::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
  values_[Join(section, key)] = value;
}

int MemoryProfile::GetInt(const std::string& section, const std::string& key, int def) const {
  auto it = values_.find(Join(section, key));
  if (it == values_.end()) return def;
  int v = 0;
  const std::string& s = it->second;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return (ec == std::errc() && p == s.data() + s.size()) ? v : def;
}

void MemoryProfile::WriteInt(const std::string& section, const std::string& key, int value) {
  values_[Join(section, key)] = std::to_string(value);
}

bool MemoryProfile::Has(const std::string& section, const std::string& key) const {
  return values_.count(Join(section, key)) != 0;
}

int ProfileFileCause(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
  if (S_ISDIR(info.st_mode)) return EISDIR;
  if (!S_ISREG(info.st_mode)) return kCauseNotRegularFile;
  return info.st_size > kMaxProfileFileBytes ? kCauseFileTooLarge : 0;
}
