#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <functional>
#include <memory>

#include "app/name_dialog.h"
#include "app/part_attribute_dialog.h"
#include "main_window_test_support.h"
#include "modal_answerer.h"
#include "model/name_set.h"

namespace zanli::testing {
namespace {

class StorableTextFieldTest : public MainWindowTestBase {};

// Key events with text, as a keyboard layout or an input method sends them.
void Type(QWidget* field, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Every field whose text goes into the library, typed into and pasted into
// with one table of characters: a character the library cannot hold is never
// inserted, and a paste holding one says which.
TEST_F(StorableTextFieldTest, EveryLibraryFieldRefusesWhatTheCodePageCannotHold) {
  PartBody* body = AddPart("U1");
  AddPin(body, PinEdge::Left, 0, "P");
  Fill();
  NameSet taken;
  NameDialog partName(window.get(), NameDialog::Kind::Part, "U1", taken, QString());
  NameDialog patternName(window.get(), NameDialog::Kind::Pattern, "PAT", taken, QString());
  const std::vector<std::unique_ptr<Pattern>> noPatterns;
  PartAttributeDialog attributes(window.get(), PartAttributes{}, noPatterns);
  const struct {
    const char* what;
    QLineEdit* field;
  } fields[] = {
      {"pin name", pinNameEdit()},
      {"pin number", pinNumberEdit()},
      {"part name", partName.findChild<QLineEdit*>(QStringLiteral("partName"))},
      {"pattern name", patternName.findChild<QLineEdit*>(QStringLiteral("patternName"))},
      {"number prefix", attributes.findChild<QLineEdit*>(QStringLiteral("numberPrefix"))},
  };
  const struct {
    const char16_t* character;
    bool storable;
  } characters[] = {
      {u"é", false}, {u"€", false}, {u"\uE000", false},  // the code page maps it to a user-defined row
      {u"ｱ", true},  {u"漢", true}, {u"1", true},
  };
  for (const auto& f : fields) {
    ASSERT_NE(f.field, nullptr) << f.what;
    f.field->window()->show();
    for (const auto& c : characters) {
      const QString character = QString::fromUtf16(c.character);
      const std::string what = std::string(f.what) + " " + character.toStdString();
      f.field->setText(QStringLiteral("A"));
      f.field->activateWindow();
      f.field->setFocus();
      f.field->end(false);
      Type(f.field, character);
      EXPECT_EQ(f.field->text(), c.storable ? QStringLiteral("A") + character : QStringLiteral("A")) << what;

      f.field->setText(QStringLiteral("A"));
      f.field->end(false);
      QGuiApplication::clipboard()->setText(QStringLiteral("B") + character);
      QString said;
      ModalAnswerer<QMessageBox> answerer([&said](QMessageBox* box) {
        said = box->text();
        box->close();
      });
      QTest::keyClick(f.field, Qt::Key_V, Qt::ControlModifier);
      for (int i = 0; i < 20 && !c.storable && !answerer.answered(); ++i) QTest::qWait(5);
      EXPECT_EQ(f.field->text(), c.storable ? QStringLiteral("AB") + character : QStringLiteral("A")) << what;
      EXPECT_EQ(said,
                c.storable ? QString() : QStringLiteral("この文字はﾗｲﾌﾞﾗﾘに保存できません: ") + character)
          << what;
    }
    f.field->window()->hide();
    if (f.field->window() != window.get()) window->activateWindow();
  }
}

// What a field would have turned into substitute bytes never reaches a pin,
// and a pin read with such bytes can still be corrected in its fields.
TEST_F(StorableTextFieldTest, PinKeepsOnlyWhatWasInsertedAndABadNameStaysEditable) {
  PartBody* body = AddPart("U1");
  AddPin(body, PinEdge::Left, 0, "X\xFC\xFC");
  Fill();
  pinNameEdit()->setFocus();
  pinNameEdit()->end(false);
  Type(pinNameEdit(), QStringLiteral("Y"));
  EXPECT_EQ(pinNameEdit()->text().right(2), QString::fromUtf16(u"\uFFFDY"));
  pinNameEdit()->selectAll();
  Type(pinNameEdit(), QStringLiteral("Aé€"));
  pinNumberEdit()->setFocus();
  pinNumberEdit()->selectAll();
  Type(pinNumberEdit(), QStringLiteral("é5"));
  QTest::keyClick(pinNumberEdit(), Qt::Key_Return);
  ASSERT_EQ(body->pins.size(), 1u);
  EXPECT_EQ(body->pins[0]->name, "A");
  EXPECT_EQ(body->pins[0]->numbers[0], "D5");
}

}  // namespace
}  // namespace zanli::testing
