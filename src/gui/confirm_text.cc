#include "gui/confirm_text.h"

#include <QStringList>

#include "gui/ui_texts.h"

namespace dw::ui {

QString ConfirmText(const char* source_caption, const QString& source, const char* destination_caption,
                    const QString& destination) {
  return QStringList{QString::fromUtf8(text::kConfirmStart), QString(), QString::fromUtf8(source_caption), source,
                     QString(), QString::fromUtf8(destination_caption), destination}
      .join(QString::fromUtf8(text::kLineBreak));
}

}  // namespace dw::ui
