#pragma once

#include <QDialog>
#include <cstddef>
#include <string>
#include <vector>

#include "kicad/kicad_import.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zanli {

class SymbolPreview;

// Shows what importing a KiCad file would make, before anything goes into
// the library: every symbol with its outcome, the part names it would get
// and its reason or notes, the selected one's notes in full and its part
// drawn as the part view draws it. The user ticks the symbols to take (every
// importable one at first); a filter text shows fewer rows by the part
// list's matching rules, and ticking acts on the shown rows.
class KicadImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `import` must outlive the dialog.
  KicadImportDialog(QWidget* parent, const QString& shownPath, const KicadImport& import);

  // The ticked symbols, indices into the import's symbols in file order.
  std::vector<size_t> Chosen() const;

 protected:
  // Enter in the filter box goes to the list: it must not import every
  // ticked symbol while the user is still narrowing the rows down.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyFilter(const QString& text);
  void CheckShown(bool checked);
  void ShowCurrent();
  void UpdateChosenCount();

  const KicadImport& import_;
  // Each symbol's name as Shift-JIS bytes, for the filter's rules.
  std::vector<std::string> filterNames_;
  std::vector<QTreeWidgetItem*> items_;  // by symbol
  QLineEdit* filter_ = nullptr;
  QTreeWidget* symbols_ = nullptr;
  QPlainTextEdit* notes_ = nullptr;
  SymbolPreview* preview_ = nullptr;
  QLabel* chosenCount_ = nullptr;
  QPushButton* importButton_ = nullptr;
};

}  // namespace zanli
