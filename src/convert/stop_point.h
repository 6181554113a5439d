// The safe points of a conversion: where a stop request ends the run.
#pragma once

#include "common/messages.h"
#include "common/stop_request.h"

namespace dw {

// Throws ErrorKind::kStopped when `stop` (may be null) has been requested.
inline void StopIfRequested(const StopRequest* stop) {
  if (stop != nullptr && stop->requested()) {
    throw Stopped();
  }
}

}  // namespace dw
