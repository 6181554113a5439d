#include "cli/arguments.h"

namespace dw::cli {

Arguments ParseArguments(const std::vector<std::string>& args, const std::set<std::string>& known) {
  Arguments out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a.rfind("--", 0) == 0 && a.size() > 2) {
      std::string name = a, value;
      bool has_value = false;
      if (size_t eq = a.find('='); eq != std::string::npos) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
        has_value = true;
      }
      if (!known.count(name)) {
        out.error = "unknown option " + name;
        return out;
      }
      if (!has_value) {
        if (i + 1 >= args.size()) {
          out.error = "option " + name + " needs a value";
          return out;
        }
        value = args[++i];
      }
      out.options[name] = value;
    } else {
      out.positional.push_back(a);
    }
  }
  return out;
}

std::optional<std::string> FindOption(const std::vector<std::string>& args, const std::string& name) {
  std::optional<std::string> value;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == name) {
      if (i + 1 >= args.size()) return std::nullopt;
      value = args[++i];
    } else if (a.rfind(name + "=", 0) == 0) {
      value = a.substr(name.size() + 1);
    }
  }
  return value;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return true;
    // "--name VALUE": the value is not an option of its own.
    if (a.rfind("--", 0) == 0 && a.size() > 2 && a.find('=') == std::string::npos) ++i;
  }
  return false;
}

}  // namespace dw::cli
