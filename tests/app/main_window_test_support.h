#pragma once

// A shown main window with helpers that drive it through real input events.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>
#include <ostream>
#include <string>

#include "app/main_window.h"
#include "app/part_list_box.h"
#include "app/part_view.h"

QT_BEGIN_NAMESPACE
// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace zanli::testing {

class MainWindowTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
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
    window->library().modified = false;
    window.reset();
  }

  Library& library() { return window->library(); }

  // A part (entry plus body) appended to the library; call Fill() afterwards.
  PartBody* AddPart(const std::string& name, int32_t x = 2, int32_t y = 2, int32_t blocks = 1) {
    auto body = std::make_unique<PartBody>();
    body->xSize = x;
    body->ySize = y;
    body->blockCount = blocks;
    PartBody* raw = library().AddBody(std::move(body));
    library().AddEntry(std::make_unique<PartEntry>(name, raw));
    return raw;
  }
  static PinInfo* AddPin(PartBody* body, PinEdge edge, int32_t position, const std::string& name,
                         const std::string& number = "D1") {
    auto pin = std::make_unique<PinInfo>(body->blockCount);
    pin->edge = edge;
    pin->position = position;
    pin->name = name;
    for (auto& n : pin->numbers) n = number;
    return body->AddPin(std::move(pin));
  }
  void Fill() {
    window->FillPartListFromEntries();
    Settle();
  }
  // Lets queued notifications arrive.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // Clicks the position's strip outside the body edge in the part view.
  void ClickPosition(PinEdge edge, int32_t position) {
    const PartBody* body = window->partView->Part();
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
    const QPoint device(x - window->partView->ScrollX(), y - window->partView->ScrollY());
    QTest::mouseClick(window->partView->viewport(), Qt::LeftButton, {}, device);
    Settle();
  }
  void ClickRow(int row) {
    const int h = window->partList->RowHeight();
    QTest::mouseClick(window->partList->viewport(), Qt::LeftButton, {},
                      QPoint(10, (row - window->partList->GetTopIndex()) * h + h / 2));
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
  QTimer watchdog_;
  QWidget* lastModal_ = nullptr;
  int stuckTicks_ = 0;
};

}  // namespace zanli::testing
