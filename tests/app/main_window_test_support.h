#pragma once

// A shown main window with helpers that drive it through real input events.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>
#include <memory>
#include <ostream>
#include <string>

#include "app/main_window.h"
#include "app/part_list_box.h"
#include "app/part_view.h"
#include "support/library_builder.h"
#include "support/widget_access.h"

QT_BEGIN_NAMESPACE
// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace zanli::testing {

class MainWindowTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings().clear();  // every test starts as on a first run
    window = std::make_unique<MainWindow>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // A dialog nobody expected would block the test for ever: fail and close it.
    watchdog_.setInterval(100);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      stuckTicks_ = modal != nullptr && modal == lastModal_ ? stuckTicks_ + 1 : 0;
      lastModal_ = modal;
      if (stuckTicks_ < 30) return;
      auto* box = qobject_cast<QMessageBox*>(modal);
      ADD_FAILURE() << "unanswered dialog " << modal->metaObject()->className() << " "
                    << (box ? box->text() : modal->windowTitle()).toStdString();
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
      else
        modal->close();
    });
    watchdog_.start();
  }
  void TearDown() override {
    // Nothing left to ask about when the window goes.
    undoStack().setClean();
    window.reset();
  }

  // What the window keeps private, for setting scenes up and looking at them.
  using Access = TestAccess<MainWindow>;
  LibraryDocument& document() const { return Access::Document(*window); }
  const Library& library() const { return document().library(); }
  QUndoStack& undoStack() const { return Access::UndoStack(*window); }
  bool modified() const { return Access::IsModified(*window); }
  void UpdateTitle() const { Access::UpdateTitle(*window); }
  void UpdateCommandStates() const { Access::UpdateCommandStates(*window); }
  void CommitStep(EditResult result) const { Access::CommitStep(*window, std::move(result)); }
  void NewLibrary() const { Access::NewLibrary(*window); }
  bool OpenLibrary() const { return Access::OpenLibrary(*window); }
  bool SaveLibrary() const { return Access::SaveLibrary(*window); }
  bool SaveLibraryAs() const { return Access::SaveLibraryAs(*window); }
  void SetLibraryPath(const std::string& path) const { Access::SetLibraryPath(*window, path); }
  void SetPartViewZoom(int factor) const { Access::SetPartViewZoom(*window, factor); }
  int PartViewZoom() const { return Access::PartViewZoom(*window); }

  // The caption as the title bar shows it, the modified mark resolved.
  QString Caption() const { return window->windowHandle()->title(); }
  // Unsaved changes without a particular step, for the save prompt's sake.
  void MakeModified() { undoStack().resetClean(); }

  // Parts, aliases and patterns go into a library that Fill() opens in the
  // window as if it had been read from a file.
  PartBody* AddPart(const std::string& name, int32_t x = 2, int32_t y = 2, int32_t blocks = 1) {
    return testing::AddPart(*pending_, name, x, y, blocks);
  }
  void AddAlias(const std::string& name, PartBody* body) { testing::AddEntry(*pending_, name, body); }
  Pattern* AddPattern(const std::string& name, int32_t width, int32_t height) {
    return testing::AddPattern(*pending_, name, width, height);
  }
  static PinInfo* AddPin(PartBody* body, PinEdge edge, int32_t position, const std::string& name,
                         const std::string& number = "D1") {
    return testing::AddPin(*body, edge, position, name, number);
  }
  void Fill() {
    document().ReplaceLibrary(std::move(pending_));
    pending_ = std::make_unique<Library>();
    Settle();
  }
  // Lets queued notifications arrive.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // The window's children, found as a user finds them: by what they are.
  template <typename T>
  T* Child(const char* name) const {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  PartListBox* partList() const { return Child<PartListBox>("partList"); }
  PartView* partView() const { return Child<PartView>("partView"); }
  QWidget* client() const { return Child<QWidget>("client"); }
  QCheckBox* blankPinBox() const { return Child<QCheckBox>("blankPin"); }
  QLineEdit* pinNameEdit() const { return Child<QLineEdit>("pinName"); }
  QCheckBox* nearBodyBox() const { return Child<QCheckBox>("numberNearBody"); }
  QCheckBox* clockBox() const { return Child<QCheckBox>("clock"); }
  QCheckBox* negativeLogicBox() const { return Child<QCheckBox>("negativeLogic"); }
  QLineEdit* pinNumberEdit() const { return Child<QLineEdit>("pinNumber"); }
  QCheckBox* hideNumberBox() const { return Child<QCheckBox>("hideNumber"); }
  QSpinBox* blockBox() const { return Child<QSpinBox>("block"); }
  QPushButton* updatePinButton() const { return Child<QPushButton>("updatePin"); }
  QPushButton* cancelPinButton() const { return Child<QPushButton>("cancelPin"); }

  // Clicks the position's strip outside the body edge in the part view.
  void ClickPosition(PinEdge edge, int32_t position) {
    const PartBody* body = partView()->Part();
    ASSERT_NE(body, nullptr);
    int x = 0;
    int y = 0;
    switch (edge) {
      case PinEdge::Left:
        x = 50, y = 60 + 10 * position;
        break;
      case PinEdge::Top:
        x = 60 + 10 * position, y = 50;
        break;
      case PinEdge::Right:
        x = 70 + 10 * body->xSize, y = 60 + 10 * position;
        break;
      case PinEdge::Bottom:
        x = 60 + 10 * position, y = 70 + 10 * body->ySize;
        break;
    }
    const int zoom = partView()->Zoom();
    const QPoint device((x - partView()->ScrollX()) * zoom, (y - partView()->ScrollY()) * zoom);
    QTest::mouseClick(partView()->viewport(), Qt::LeftButton, {}, device);
    Settle();
  }
  void ClickRow(int row) {
    const int h = partList()->RowHeight();
    QTest::mouseClick(partList()->viewport(), Qt::LeftButton, {},
                      QPoint(10, (row - partList()->GetTopIndex()) * h + h / 2));
    Settle();
  }
  // Drags the selected row `from` in the part list and drops it on the
  // lower half of row `to`.
  void DragRow(int from, int to) {
    const int h = partList()->RowHeight();
    const int top = partList()->GetTopIndex();
    QTest::mousePress(partList()->viewport(), Qt::LeftButton, {}, QPoint(10, (from - top) * h + h / 2));
    QTest::mouseMove(partList()->viewport(), QPoint(10, (to - top) * h + h / 2));
    QTest::mouseRelease(partList()->viewport(), Qt::LeftButton, {}, QPoint(10, (to - top + 1) * h - 1));
    Settle();
  }
  static void ClickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    Settle();
  }
  // Replaces a field's text by typing, as a user would after selecting all.
  static void TypeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(4, field->height() / 2));
    field->selectAll();
    if (text.isEmpty())
      QTest::keyClick(field, Qt::Key_Delete);
    else
      QTest::keyClicks(field, text);
    Settle();
  }
  void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(target, key, modifiers);
    Settle();
  }

  std::unique_ptr<MainWindow> window;

 private:
  std::unique_ptr<Library> pending_ = std::make_unique<Library>();
  QTimer watchdog_;
  QWidget* lastModal_ = nullptr;
  int stuckTicks_ = 0;
};

}  // namespace zanli::testing
