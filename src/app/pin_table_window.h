#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/pin_cursor.h"
#include "document/library_document.h"

class QAction;
class QTableView;

namespace zanli {

class PinTableModel;

// The pin table (ﾋﾟﾝ一覧): a window beside the main window that lists the
// pins of the part under the pin cursor. Cells edit in place under the pin
// panel's rules; a refused value says why and changes nothing. Selecting a
// row asks for the cursor there, and the window's cursor selects the row.
// Rows are deleted and blank ones inserted; Copy puts the selected rows
// (all without a selection) on the clipboard as tab-separated text with a
// header, Paste takes a pin list through the paste dialog. Every edit is
// one step, a multi-row one too; `commit` hands it to the window's history.
class PinTableWindow : public QDialog {
  Q_OBJECT

 public:
  using Commit = std::function<void(EditResult)>;

  PinTableWindow(QWidget* parent, LibraryDocument& document, Commit commit);
  ~PinTableWindow() override;

  // The window's cursor: the part of its entry and the row of its pin.
  void ShowCursor(const PinCursor& cursor);
  // Something of the body changed: its rows are read again before the
  // next paint.
  void BodyChanged(const PartBody* body);
  // Before a new library is shown.
  void LibraryReplaced();

  // The commands, also on the table's context menu.
  void DeleteRows();
  void InsertRow();
  void CopyRows();
  void PasteRows();

 signals:
  // The user selected the row of the pin at this place.
  void cursorRequested(PinEdge edge, int32_t position);

 private:
  void OnEditRequested(int edge, int position, int column, const QVariant& value, int role);
  void OnCurrentRowChanged();
  void Refresh();
  void SelectCursorRow();
  // A refusal: the reason in a message box, nothing changed.
  void Refuse(const QString& reason);
  // The text as model bytes, or none after a refusal that names the
  // character the library cannot hold.
  std::optional<std::string> Encodable(const QString& text);
  // The same for a pin list, whose tabs and line breaks part its cells.
  std::optional<std::string> EncodablePinList(const QString& text);
  // The place of the current row's pin, else the cursor's.
  std::pair<PinEdge, int32_t> CurrentPlace() const;

  LibraryDocument& document_;
  Commit commit_;
  PinCursor cursor_;
  PinTableModel* model_ = nullptr;
  QTableView* view_ = nullptr;
  bool syncing_ = false;
  bool refreshPending_ = false;
};

}  // namespace zanli
