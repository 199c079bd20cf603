#include "document/document_change.h"

#include <utility>

namespace zanli {

namespace {

struct StepInfo {
  StepKind kind;
  const char* name;
};

// In the order of StepKind; the static_assert below keeps them in step.
constexpr StepInfo kSteps[] = {
    {StepKind::EditPin, "ﾋﾟﾝの変更"},
    {StepKind::InsertBlankPin, "空白ﾋﾟﾝの挿入"},
    {StepKind::DeletePin, "ﾋﾟﾝの削除"},
    {StepKind::MoveEntry, "部品の移動"},
    {StepKind::AddPart, "新しい部品"},
    {StepKind::RenameEntry, "部品名の変更"},
    {StepKind::AddAlias, "新しい別名"},
    {StepKind::DeleteEntry, "部品の削除"},
    {StepKind::CutEntry, "部品の切り取り"},
    {StepKind::PastePart, "部品の貼り付け"},
    {StepKind::SetAttributes, "部品のｱﾄﾘﾋﾞｭｰﾄ"},
    {StepKind::EditPatterns, "ﾊﾟﾀｰﾝの編集"},
    {StepKind::InsertPart, "部品の追加"},
    {StepKind::ImportKicad, "KiCad ｼﾝﾎﾞﾙのｲﾝﾎﾟｰﾄ"},
    {StepKind::AdoptSaved, "保存による変更"},
    {StepKind::MovePin, "ﾋﾟﾝの移動"},
    {StepKind::DeletePins, "ﾋﾟﾝの削除"},
    {StepKind::InsertPinRow, "ﾋﾟﾝの挿入"},
    {StepKind::PastePins, "ﾋﾟﾝ一覧の貼り付け"},
    {StepKind::AddPartFromPins, "ﾋﾟﾝ一覧から新しい部品"},
};

constexpr bool InKindOrder() {
  for (int i = 0; i < kStepKindCount; ++i)
    if (static_cast<int>(kSteps[i].kind) != i) return false;
  return true;
}
static_assert(sizeof kSteps / sizeof kSteps[0] == kStepKindCount && InKindOrder(),
              "kSteps must list every StepKind in order");

}  // namespace

const char* StepName(StepKind kind) {
  const int index = static_cast<int>(kind);
  return index >= 0 && index < kStepKindCount ? kSteps[index].name : "";
}

DocumentChange::DocumentChange(StepKind kind, std::vector<DocumentEdit> edits, DocumentFocus undoFocus,
                               DocumentFocus redoFocus)
    : kind_(kind), edits_(std::move(edits)), undoFocus_(undoFocus), redoFocus_(redoFocus) {}

void DocumentChange::Undo(LibraryDocument& document) {
  for (auto it = edits_.rbegin(); it != edits_.rend(); ++it) it->Apply(document);
}

void DocumentChange::Redo(LibraryDocument& document) {
  for (auto& edit : edits_) edit.Apply(document);
}

}  // namespace zanli
