#pragma once
// Argument handling shared by the commands: positional arguments and
// "--name value" options, with a usage error for anything unknown.

#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

struct CliArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--base" -> "DIR"; flags map to ""
  std::string error;                            // set when the arguments do not parse

  std::optional<std::string> Get(const std::string& name) const;
  bool Has(const std::string& name) const { return options.count(name) != 0; }
};

// `valued` names options that take a value, `flags` those that do not.
CliArgs ParseCliArgs(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags = {});

// A whole number written in digits alone (no sign, no spaces, nothing
// after) from `lo` to `hi`; nothing otherwise, overflow included.
std::optional<int> WholeNumber(const std::string& text, int lo, int hi);
// A decimal number written in digits with at most one '.' (no sign, exponent,
// spaces or anything after) from `lo` to `hi`; nothing otherwise.
std::optional<double> DecimalNumber(const std::string& text, double lo, double hi);
// "WxH" (or "WXH") with both numbers from `lo` to `hi`.
std::optional<std::pair<int, int>> WholeSize(const std::string& text, int lo, int hi);

// The folder skin names are relative to: the nearest folder above the model
// named "baseq2" (any case), else the model's own folder.
// The extension of a picture to write, "bmp" or "png"; "" after a message
// and the usage line on err when it is neither.
std::string PictureOutputExtension(const std::string& output, const char* usage, std::ostream& err);

std::string DefaultBaseFolder(const std::string& modelPath);
