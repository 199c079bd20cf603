#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "document/library_document.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace zanli {

class PatternPreview;

// Sets a part's size, number prefix, block count and pattern. The sizes and
// the block count are checked on OK, in that order, each against 1 to 255;
// the first one out of range is named in a plain message and the dialog
// stays open. A pattern of another size than the part is accepted.
class PartAttributeDialog : public QDialog {
  Q_OBJECT

 public:
  PartAttributeDialog(QWidget* parent, const PartAttributes& attributes,
                      const std::vector<std::unique_ptr<Pattern>>& patterns);

  // The values after OK.
  const PartAttributes& Attributes() const { return attributes_; }

 public slots:
  void accept() override;

 private:
  void OnUsePatternClicked(bool checked);
  void OnSelectionChanged();
  const Pattern* SelectedPattern() const;
  void SelectPattern(const Pattern* pattern);
  bool CheckRange(QLineEdit* field, const char* message, int32_t& value);

  PartAttributes attributes_;
  QLineEdit* xField_ = nullptr;
  QLineEdit* yField_ = nullptr;
  QLineEdit* prefixField_ = nullptr;
  QLineEdit* blocksField_ = nullptr;
  QCheckBox* usePattern_ = nullptr;
  QListWidget* list_ = nullptr;
  PatternPreview* preview_ = nullptr;
};

}  // namespace zanli
