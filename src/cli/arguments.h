// A small parser for "POSITIONAL... [--option VALUE]" command lines.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace dw::cli {

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--mode" -> "data"
  bool help = false;
  std::string error;  // non-empty on a usage error

  std::optional<std::string> Option(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
};

// Accepts "--name VALUE" and "--name=VALUE" for the names in `known`, and "--help"/"-h".
Arguments ParseArguments(const std::vector<std::string>& args, const std::set<std::string>& known);

// The value of option `name` ("--name VALUE" or "--name=VALUE") in `args`, the last one when it
// is given more than once; nullopt when it is absent or lacks its value. Reads the same way as
// ParseArguments, for callers that look at one option before the command parses the rest.
std::optional<std::string> FindOption(const std::vector<std::string>& args, const std::string& name);
// True when `args` hold "--help" or "-h" (outside option values).
bool AsksForHelp(const std::vector<std::string>& args);

}  // namespace dw::cli
