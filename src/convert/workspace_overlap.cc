#include "convert/workspace_overlap.h"

#include <system_error>

#include "common/messages.h"

namespace dw {
namespace fs = std::filesystem;

namespace {

fs::path Resolved(const fs::path& p) {
  std::error_code ec;
  fs::path r = fs::weakly_canonical(fs::absolute(p, ec), ec);
  return ec ? fs::absolute(p).lexically_normal() : r;
}

// Whether `inner` is `outer` or lies below it.
bool Within(const fs::path& inner, const fs::path& outer) {
  auto o = outer.begin(), i = inner.begin();
  for (; o != outer.end(); ++o, ++i) {
    if (o->empty()) continue;  // the empty last element of a trailing separator
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

}  // namespace

void CheckDestinationApartFromWorkspace(const fs::path& destination, const fs::path& workspace) {
  const fs::path d = Resolved(destination), w = Resolved(workspace);
  if (Within(d, w) || Within(w, d)) {
    throw DestinationOverlapsWorkspace(destination, workspace);
  }
}

}  // namespace dw
