#include "cli/cli_args.h"

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"

std::optional<std::string> CliArgs::Get(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

CliArgs ParseCliArgs(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags) {
  CliArgs out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.rfind("--", 0) == 0) {
      if (valued.count(a)) {
        if (i + 1 >= args.size()) {
          out.error = "option " + a + " needs a value";
          return out;
        }
        out.options[a] = args[++i];
      } else if (flags.count(a)) {
        out.options[a] = "";
      } else {
        out.error = "unknown option " + a;
        return out;
      }
    } else {
      out.positional.push_back(a);
    }
  }
  return out;
}

std::string DefaultBaseFolder(const std::string& modelPath) {
  namespace fs = std::filesystem;
  fs::path folder = fs::path(AbsolutePath(modelPath)).parent_path();
  for (fs::path p = folder; !p.empty(); p = p.parent_path()) {
    if (EqualsNoCase(p.filename().string(), "baseq2")) return p.string();
    if (p == p.parent_path()) break;
  }
  return folder.string();
}

std::optional<int> WholeNumber(const std::string& text, int lo, int hi) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const int value = std::stoi(text);
  if (value < lo || value > hi) return std::nullopt;
  return value;
}

std::optional<double> DecimalNumber(const std::string& text, double lo, double hi) {
  const std::size_t dot = text.find('.');
  const bool digitsOnly = text.find_first_not_of("0123456789.") == std::string::npos;
  if (!digitsOnly || text.size() > 32 || text.find_first_of("0123456789") == std::string::npos ||
      (dot != std::string::npos && text.find('.', dot + 1) != std::string::npos))
    return std::nullopt;
  // Only digits and one dot are left, which strtod reads whole.
  const double value = std::strtod(text.c_str(), nullptr);
  if (!(value >= lo && value <= hi)) return std::nullopt;
  return value;
}

std::optional<std::pair<int, int>> WholeSize(const std::string& text, int lo, int hi) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  const auto w = WholeNumber(text.substr(0, x), lo, hi);
  const auto h = WholeNumber(text.substr(x + 1), lo, hi);
  if (!w || !h) return std::nullopt;
  return std::pair<int, int>{*w, *h};
}

std::string PictureOutputExtension(const std::string& output, const char* usage, std::ostream& err) {
  const std::string ext = ExtensionOf(output);
  if (ext == "bmp" || ext == "png") return ext;
  err << "The picture must be a .bmp or .png file: " << output << '\n' << usage;
  return {};
}
