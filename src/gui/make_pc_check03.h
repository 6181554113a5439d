// TMakePcCheck03: the folder that receives ZAVO_DS_Check.csv.
#pragma once

#include "gui/folder_page.h"

namespace dw::ui {

class TMakePcCheck03 : public FolderPage {
  Q_OBJECT

 public:
  explicit TMakePcCheck03(QWidget* parent = nullptr);
};

}  // namespace dw::ui
