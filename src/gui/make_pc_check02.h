// TMakePcCheck02: the check-list export's source, a ZAVO_DS data set folder.
#pragma once

#include "gui/folder_page.h"

namespace dw::ui {

class TMakePcCheck02 : public FolderPage {
  Q_OBJECT

 public:
  explicit TMakePcCheck02(QWidget* parent = nullptr);

 protected:
  FolderVerdict Judge(const QString& folder) const override;
};

}  // namespace dw::ui
