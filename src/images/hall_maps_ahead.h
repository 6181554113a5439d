// Hall maps prepared ahead: the maps need no day starts, so their decoding and canvases can run on
// a thread of their own while the data tables are still being converted. Their commit (palette
// entries, saving) stays with the image job, in its order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "images/circle_cuts.h"
#include "images/colour_runs.h"
#include "images/hall_maps.h"
#include "images/image_job_plan.h"

namespace dw {

// What preparing a hall map leaves for its commit. The map is decoded once for its mini map and
// its large map; their failures are kept apart so that the commit writes what the job's order
// writes before the failing file.
struct PreparedHallMap {
  MiniMap mini;
  ColourRuns large;
  std::exception_ptr mini_error;
  std::exception_ptr large_error;
};

// Decodes the map and its overlay into `scratch` and makes the mini map and the large map's runs
// (into result.large, whose memory is reused). Throws nothing: every failure is stored in `result`.
void PrepareHallMap(const ImageJobItem& item, PreparedHallMap& result, ConvertScratch& scratch) noexcept;

// How far the thread may get ahead of the job: a map it has not reached when the job wants it is
// prepared on one of the job's workers, whose buffers then grow to a map's decoded image, overlay
// and canvas. Prepared maps are held up to about that much memory, or three days of maps.
inline constexpr size_t kMostMapsAhead = 3 * kHallGroups.size();
inline constexpr size_t kMostBytesAhead = size_t{24} << 20;

class HallMapsAhead {
 public:
  // Plans the hall maps of the catalog at `root` for `workspace` (PlanHallMaps). The thread stops
  // while `max_ready` maps are prepared and not yet taken, or while those held take `max_bytes`
  // or more (one map is always let through).
  HallMapsAhead(const std::filesystem::path& root, const std::filesystem::path& workspace,
                size_t max_ready = kMostMapsAhead, size_t max_bytes = kMostBytesAhead);
  // Stops after the map being prepared and joins the thread; maps not taken are dropped.
  ~HallMapsAhead();
  HallMapsAhead(const HallMapsAhead&) = delete;
  HallMapsAhead& operator=(const HallMapsAhead&) = delete;

  // Starts the thread that prepares the maps in order. Without it (not started, or no thread to be
  // had) Take prepares each map itself.
  void Start();

  // The planned hall maps, in the job's order.
  const std::vector<ImageJobItem>& items() const { return items_; }

  // Map k of items(), once: waits while the thread prepares it, or prepares it here with `scratch`
  // and a run list from `pool` when the thread has not reached it.
  PreparedHallMap Take(size_t k, ConvertScratch& scratch, RunsPool& pool);

 private:
  enum class State { kWaiting, kPreparing, kReady, kTaken };
  void ThreadLoop();

  const std::vector<ImageJobItem> items_;
  const size_t max_ready_;
  const size_t max_bytes_;
  std::vector<PreparedHallMap> results_;
  ConvertScratch scratch_;  // the thread's
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<State> states_;
  size_t next_ = 0;  // the first map the thread has not looked at
  size_t held_ = 0;  // maps the thread has claimed that are not taken yet
  size_t held_bytes_ = 0;  // their runs
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace dw
