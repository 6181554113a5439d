// TMakeCircleCheck02: the check-list import's output folder; Next starts the import.
#pragma once

#include "gui/folder_page.h"

namespace dw::ui {

class TMakeCircleCheck02 : public FolderPage {
  Q_OBJECT

 public:
  explicit TMakeCircleCheck02(QWidget* parent = nullptr);
};

}  // namespace dw::ui
