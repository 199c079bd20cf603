// The pattern editor seen from the main window: it edits copies, and what the
// session left is applied to the library as one step, so Ctrl+Z here brings
// every pattern back as it was before the editor opened.
#include <QAbstractScrollArea>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/part_view.h"
#include "app/pattern_editor/pattern_editor.h"
#include "resources/message_texts.h"

namespace zanli {

void MainWindow::EditPatterns() {
  const PartBody* shown = partView_->Part();
  PatternEditor editor(library(), shown != nullptr ? shown->pattern : nullptr, this);
  RunModal(editor);
  EditResult result = document_.ReplacePatterns(editor.Result());
  // The editor keeps the model's rules, so a refusal means a fault here;
  // the user must hear that the session's work did not arrive.
  if (result.status == EditStatus::Refused)
    ShowMessageBox(this, QMessageBox::Warning, QString::fromUtf8(texts::kDataInconsistent));
  CommitStep(std::move(result));
  // The shown body's pattern may have changed.
  partView_->viewport()->update();
}

}  // namespace zanli
