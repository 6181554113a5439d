// TMakeData03: the catalog wizard's destination folder; Next starts the conversion and the
// small Settings button opens the mode selection.
#pragma once

#include "gui/folder_page.h"

namespace dw::ui {

class TMakeData03 : public FolderPage {
  Q_OBJECT

 public:
  explicit TMakeData03(QWidget* parent = nullptr);

  QPushButton* Settings() const { return settings_; }

 protected:
  FolderVerdict Judge(const QString& folder) const override;

 private:
  QPushButton* settings_;
};

}  // namespace dw::ui
