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

}  // namespace dw::cli
