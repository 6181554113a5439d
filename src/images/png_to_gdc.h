// TPNGtoGDC: the image job. Converts the catalog's page images and hall maps into GDC images
// with one shared palette in the workspace.
#pragma once

#include <filesystem>

#include "common/status_log.h"

namespace dw {

class TPNGtoGDC {
 public:
  // Source root (holds PDATA and MDATA) and the workspace (holds CDATA/L_Date.dat).
  std::filesystem::path RootFld;
  std::filesystem::path DstFld;
  // Worker threads that decode and resample ahead of the palette step; 0 picks the core count.
  int threads = 0;

  explicit TPNGtoGDC(StatusLog& log) : log_(log) {}

  void Button1Click();

 private:
  StatusLog& log_;
};

}  // namespace dw
