#include "images/hall_maps_ahead.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "images/png_loader.h"

namespace dw {

void PrepareHallMap(const ImageJobItem& item, PreparedHallMap& result, ConvertScratch& scratch) noexcept {
  try {
    LoadPngInto(item.source, scratch.decoded, scratch.png);
  } catch (...) {
    result.mini_error = result.large_error = std::current_exception();
    return;
  }
  try {
    result.mini = MapMini_Convert(scratch.decoded);
  } catch (...) {
    result.mini_error = std::current_exception();
  }
  try {
    LoadPngInto(item.overlay, scratch.overlay, scratch.png);
    MapLarge_Convert(scratch.decoded, scratch.overlay, scratch.canvas, result.large);
  } catch (...) {
    result.large_error = std::current_exception();
  }
}

namespace {

size_t RunBytes(const ColourRuns& runs) {
  return runs.runs.capacity() * sizeof(ColourRun) + runs.first_seen.capacity() * sizeof(uint16_t);
}

size_t HeldBytes(const PreparedHallMap& map) { return RunBytes(map.mini.canvas) + RunBytes(map.large); }

}  // namespace

HallMapsAhead::HallMapsAhead(const std::filesystem::path& root, const std::filesystem::path& workspace,
                             size_t max_ready, size_t max_bytes)
    : items_(PlanHallMaps(root, workspace)),
      max_ready_(std::max<size_t>(max_ready, 1)),
      max_bytes_(max_bytes),
      results_(items_.size()),
      states_(items_.size(), State::kWaiting) {}

HallMapsAhead::~HallMapsAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void HallMapsAhead::Start() {
  if (thread_.joinable() || items_.empty()) return;
  try {
    thread_ = std::thread([this] { ThreadLoop(); });
  } catch (const std::system_error&) {
    // No thread to be had: Take prepares every map on the job's own threads.
  }
}

void HallMapsAhead::ThreadLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    while (next_ < items_.size() && states_[next_] != State::kWaiting) ++next_;  // taken by Take
    if (stop_ || next_ >= items_.size()) return;
    if (held_ >= max_ready_ || (held_ > 0 && held_bytes_ >= max_bytes_)) {
      changed_.wait(lock);
      continue;
    }
    const size_t k = next_++;
    states_[k] = State::kPreparing;
    ++held_;
    lock.unlock();
    PrepareHallMap(items_[k], results_[k], scratch_);  // fresh run lists: committed ones go to the job's pool
    const size_t bytes = HeldBytes(results_[k]);
    lock.lock();
    held_bytes_ += bytes;
    states_[k] = State::kReady;
    changed_.notify_all();
  }
}

PreparedHallMap HallMapsAhead::Take(size_t k, ConvertScratch& scratch, RunsPool& pool) {
  std::unique_lock lock(mutex_);
  if (k >= items_.size() || states_[k] == State::kTaken) throw std::logic_error("hall map taken twice");
  PreparedHallMap result;
  if (states_[k] == State::kWaiting) {
    states_[k] = State::kTaken;
    lock.unlock();
    result.large = pool.Take();
    PrepareHallMap(items_[k], result, scratch);
    return result;
  }
  changed_.wait(lock, [&] { return states_[k] == State::kReady; });
  states_[k] = State::kTaken;
  --held_;
  held_bytes_ -= HeldBytes(results_[k]);
  result = std::move(results_[k]);
  results_[k] = PreparedHallMap{};
  lock.unlock();
  changed_.notify_all();
  return result;
}

}  // namespace dw
