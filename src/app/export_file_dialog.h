#pragma once

#include <QFileDialog>
#include <QString>
#include <vector>

class QSpinBox;

namespace zanli {

// The save dialog of the File menu's exports: the file types to write and,
// under them, the one number the export needs (a zoom, the parts per page).
// A name typed without an extension gets the chosen type's.
class ExportFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  struct Type {
    QString filter;     // as the type box shows it: "PNG 画像 (*.png)"
    QString extension;  // without the dot: "png"
  };
  struct Number {
    QString label;
    int minimum = 1;
    int maximum = 1;
    int value = 1;
  };

  ExportFileDialog(QWidget* parent, const QString& caption, std::vector<Type> types, const Number& number);

  QString ChosenPath() const;
  // The type the chosen name's extension names, else the one chosen in the
  // type box; an index into the types.
  size_t ChosenType() const;
  int ChosenNumber() const;

 private:
  size_t FilterType(const QString& filter) const;

  std::vector<Type> types_;
  QSpinBox* number_ = nullptr;
};

}  // namespace zanli
