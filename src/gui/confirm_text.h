// The wording of the jobs' confirmation boxes.
#pragma once

#include <QString>

namespace dw::ui {

// "以下の設定で…よろしいですか？", a blank line, the source caption and value, a blank line, the
// destination caption and value; CR LF between lines.
QString ConfirmText(const char* source_caption, const QString& source, const char* destination_caption,
                    const QString& destination);

}  // namespace dw::ui
