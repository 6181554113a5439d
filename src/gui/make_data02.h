// TMakeData02: the catalog wizard's source folder (the parent of CDATA, MDATA and PDATA).
#pragma once

#include "gui/folder_page.h"

namespace dw::ui {

class TMakeData02 : public FolderPage {
  Q_OBJECT

 public:
  explicit TMakeData02(QWidget* parent = nullptr);

 protected:
  FolderVerdict Judge(const QString& folder) const override;
};

}  // namespace dw::ui
