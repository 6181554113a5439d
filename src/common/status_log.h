// The status log the catalog conversion reports into. The desktop program shows it as a page,
// the command line prints it, tests record it.
#pragma once

#include <string>

namespace dw {

class StatusLog {
 public:
  virtual ~StatusLog() = default;
  virtual void ClearLines() = 0;
  virtual void AddLine(const std::string& utf8) = 0;
  virtual void SetLabel(const std::string& utf8) = 0;
  virtual void SetProgressMin(int value) = 0;
  virtual void SetProgressMax(int value) = 0;
  virtual void SetProgressPosition(int value) = 0;
  virtual void EnableBackButton(bool enabled) = 0;
  virtual void Show() = 0;
  // Lets the user interface handle pending events (repaint) at a job's progress points.
  virtual void ProcessEvents() = 0;
};

// A log that ignores everything, for jobs run without a status page.
class NullStatusLog : public StatusLog {
 public:
  void ClearLines() override {}
  void AddLine(const std::string&) override {}
  void SetLabel(const std::string&) override {}
  void SetProgressMin(int) override {}
  void SetProgressMax(int) override {}
  void SetProgressPosition(int) override {}
  void EnableBackButton(bool) override {}
  void Show() override {}
  void ProcessEvents() override {}
};

}  // namespace dw
