// Building blocks shared by the pages: panels, buttons, the read-only path box, path helpers.
#pragma once

#include <filesystem>
#include <initializer_list>

#include <QString>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace dw::ui {

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A white panel with a lowered bevel holding centred lines (an empty entry leaves a gap).
QLabel* MakePanel(QWidget* parent, const char* name, std::initializer_list<const char*> lines, bool bold);
// A plain label of centred lines.
QLabel* MakeLabel(QWidget* parent, const char* name, std::initializer_list<const char*> lines, bool bold,
                  Qt::Alignment alignment = Qt::AlignHCenter);
QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption);
// The grey read-only box that echoes a chosen path; the tab key skips it.
QLineEdit* MakePathBox(QWidget* parent, const char* name);
// A bottom row: `left` (may be null) at the left, then Back and Next at the right.
QBoxLayout* MakeButtonRow(QWidget* left, QPushButton* back, QPushButton* next);

// A path as the user sees it, with one trailing separator.
QString WithTrailingSeparator(const QString& path);
std::filesystem::path ToFsPath(const QString& path);
QString FromFsPath(const std::filesystem::path& path);

}  // namespace dw::ui
