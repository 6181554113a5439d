// ImageConversion (the job object TPNGtoGDC): the image job. Converts the catalog's page images and hall maps into GDC images
// with one shared palette in the workspace.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "common/status_log.h"
#include "images/gdc_writer.h"
#include "images/palette.h"

namespace dw {

class HallMapsAhead;

class ImageConversion {
 public:
  // Source root (holds PDATA and MDATA) and the workspace (holds CDATA/L_Date.dat, receives the
  // PDATA<d> folders, MDATA and SYSTEM files).
  std::filesystem::path RootFld;
  std::filesystem::path DstFld;
  // Threads that decode and resample ahead of the palette step, which runs on the calling thread
  // in the job's order; 1 runs the whole job on the calling thread, 0 picks the core count. The
  // output is the same for every count.
  int threads = 0;
  // Called before each page and hall map is saved, where every file written so far is complete;
  // it may throw to stop the run there (a stop request). May be empty.
  std::function<void()> safe_point;
  // Hall maps already being prepared for the same catalog and workspace (see hall_maps_ahead.h);
  // when set, the job takes its hall maps from there instead of planning and preparing them. May
  // be null.
  HallMapsAhead* hall_maps_ahead = nullptr;

  explicit ImageConversion(StatusLog& log) : log_(log) {}

  // Runs the whole job: circle cuts by page number into the day folders, then the hall maps of
  // days 1 to 3, then SYSTEM/GrpSize.dat and SYSTEM/Palette.pal. Errors propagate as dw::Error;
  // files written before stay.
  void Run();

  // Figures of the last run, for tests and the front ends.
  const SharedPalette& palette() const { return palette_; }
  int converted_pages() const { return converted_; }

 private:
  StatusLog& log_;
  SharedPalette palette_;
  GdcStats stats_;
  int converted_ = 0;
};

}  // namespace dw
