// The part view's zoom in the main window: its keys, where they act, and its
// memory across a restart.
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <tuple>
#include <utility>

#include "main_window_test_support.h"

namespace zanli {
namespace {

using testing::MainWindowTestBase;

class MainWindowZoomTest : public MainWindowTestBase {
 protected:
  void TearDown() override {
    MainWindowTestBase::TearDown();
    QSettings().remove(QStringLiteral("partView/zoom"));  // the next test starts at 1×
  }
};

TEST_F(MainWindowZoomTest, PlusAndMinusStepTheZoomAnywhereButInThePinFields) {
  AddPin(AddPart("A", 3, 2, 2), PinEdge::Right, 1, "OUT", "D7");
  Fill();
  QSignalSpy spy(window.get(), &MainWindow::partViewZoomChanged);
  // "+" as keyboards send it: the plus key, "=" alone, "=" with Shift as a US
  // keyboard reports it, the keypad's.
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, pad = Qt::KeypadModifier;
  const std::tuple<QWidget*, Qt::Key, Qt::KeyboardModifiers, int> rows[] = {
      {partList(), Qt::Key_Plus, ctrl, 2},
      {partList(), Qt::Key_Equal, ctrl, 3},
      {partView(), Qt::Key_Plus, ctrl | shift, 4},
      {partView(), Qt::Key_Equal, ctrl | shift, 4},
      {blockBox(), Qt::Key_Minus, ctrl, 3},
      {blockBox(), Qt::Key_Minus, ctrl | pad, 2},
      {partList(), Qt::Key_Plus, ctrl | pad, 3},
      {partList(), Qt::Key_Plus, {}, 3},
      {partList(), Qt::Key_Minus, ctrl | Qt::AltModifier, 3},
  };
  for (const auto& [focus, key, modifiers, zoom] : rows) {
    focus->setFocus();
    Key(focus, key, modifiers);
    EXPECT_EQ(partView()->Zoom(), zoom) << focus->objectName().toStdString() << " " << key;
  }
  EXPECT_EQ(spy.count(), 6);
  EXPECT_EQ(partView()->GetBlock(), 0);

  // A click follows the zoom; the fields of the pin it shows keep the keys.
  ClickPosition(PinEdge::Right, 1);
  ASSERT_EQ(pinNameEdit()->text(), QStringLiteral("OUT"));
  for (QLineEdit* field : {pinNameEdit(), pinNumberEdit()}) {
    TypeInto(field, QStringLiteral("X1"));
    for (Qt::Key key : {Qt::Key_Minus, Qt::Key_Plus}) {
      Key(field, key, ctrl);
      EXPECT_EQ(partView()->Zoom(), 3);
    }
    EXPECT_EQ(field->text(), QStringLiteral("X1"));
  }
  partView()->setFocus();
  for (int i = 0; i < 3; ++i) Key(partView(), Qt::Key_Minus, ctrl);
  EXPECT_EQ(partView()->Zoom(), 1);
}

TEST_F(MainWindowZoomTest, TheFactorSurvivesARestartAndABadStoredValueIsTakenInRange) {
  SetPartViewZoom(3);
  window.reset();
  EXPECT_EQ(QSettings().value(QStringLiteral("partView/zoom")).toInt(), 3);
  window = std::make_unique<MainWindow>();
  EXPECT_EQ(PartViewZoom(), 3);
  for (const auto& [stored, zoom] : {std::pair{"garbage", 1}, {"-2", 1}, {"17", 4}}) {
    window.reset();
    QSettings().setValue(QStringLiteral("partView/zoom"), QString::fromLatin1(stored));
    window = std::make_unique<MainWindow>();
    EXPECT_EQ(PartViewZoom(), zoom) << stored;
  }
}

}  // namespace
}  // namespace zanli
