// The pattern editor under a real X server: the mouse is moved by XTest (the
// xdotool program), so drags go through the server's own button grab, and the
// picture is offered on the clipboard by another client (xclip).
#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "../app/main_window_test_support.h"
#include "../app/modal_answerer.h"
#include "app/pattern_editor/pattern_canvas.h"
#include "app/pattern_editor/pattern_clipboard.h"
#include "app/pattern_editor/pattern_editor.h"
#include "fileio/binary_library_format.h"
#include "fileio/text_library_format.h"
#include "pattern/shape_rasterizer.h"
#include "support/pattern_art.h"

namespace zanli {
namespace {

using Cell = PatternCanvasState::Cell;
using testing::MainWindowTestBase;
using testing::ModalAnswerer;
using EditorAccess = TestAccess<PatternEditor>;
using CanvasAccess = TestAccess<PatternCanvas>;

class PatternEditorX11Test : public MainWindowTestBase {};

// Where a cell's centre lies on the screen (it may lie outside the window).
QPoint ScreenPoint(const PatternCanvas& canvas, Cell cell) {
  return canvas.viewport()->mapToGlobal(CanvasAccess::CellCentreOnViewport(canvas, cell));
}

// A left-button drag in steps, as a hand would make it; done when the canvas
// has had the release and the shape is in the pattern.
bool Drag(const PatternCanvas& canvas, Cell from, Cell to) {
  const std::vector<uint8_t> before = canvas.State().GetPattern()->bits;
  const QPoint start = ScreenPoint(canvas, from), end = ScreenPoint(canvas, to);
  QStringList args{"mousemove", "--sync", QString::number(start.x()), QString::number(start.y()),
                   "mousedown", "1"};
  constexpr int kSteps = 12;
  for (int i = 1; i <= kSteps; ++i) {
    const QPoint p = start + (end - start) * i / kSteps;
    args << "mousemove"
         << "--sync" << QString::number(p.x()) << QString::number(p.y());
  }
  args << "mouseup"
       << "1";
  if (QProcess::execute(QStringLiteral("xdotool"), args) != 0) return false;
  return QTest::qWaitFor(
      [&] {
        return canvas.State().Dragging() == PatternCanvasState::DragState::None &&
               canvas.State().GetPattern()->bits != before;
      },
      3000);
}

Pattern ReadBack(const std::string& path, bool text) {
  Library library;
  EXPECT_TRUE(text ? TextLibraryFormat::Read(path, library) : BinaryLibraryFormat::Read(path, library))
      << path;
  if (library.patterns.empty()) return Pattern("", 0, 0);
  const Pattern& p = *library.patterns.front();
  Pattern copy(p.name, p.width, p.height);
  copy.bits = p.bits;
  return copy;
}

TEST_F(PatternEditorX11Test, RealDragsAndAPictureFromAnotherProgramAreSavedExactly) {
  Pattern* gate = AddPattern("GATE", 101, 61);
  AddPart("AND2", 10, 6)->pattern = gate;
  Fill();
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());

  // Another program's picture: a light-grey background (ink), pure white and
  // fully transparent pixels (clear), one black row.
  const test::Art pictureArt{
      "############",  //
      "############",  //
      "###......###",  //
      "###......###",  //
      "###......###",  //
      "##########.#",  //
      "##########.#",  //
      "##########.#",  //
      "##########.#",  //
  };
  QImage picture(12, 9, QImage::Format_ARGB32);
  picture.fill(qRgb(192, 192, 192));
  for (int y = 2; y <= 4; ++y)
    for (int x = 3; x <= 8; ++x) picture.setPixel(x, y, qRgb(255, 255, 255));
  for (int y = 5; y <= 8; ++y) picture.setPixel(10, y, qRgba(0, 0, 0, 0));
  for (int x = 0; x < 12; ++x) picture.setPixel(x, 0, qRgb(0, 0, 0));
  const QString png = temp.filePath(QStringLiteral("picture.png"));
  ASSERT_TRUE(picture.save(png));

  // The line ends outside the window, beyond the pattern's right edge: the
  // drag goes on there and its end cell is clamped to the last column.
  const Cell lineFrom{2, 3}, lineTo{130, 20}, lineEnd{100, 20};
  const Cell ellipseFrom{10, 30}, ellipseTo{60, 55};
  ModalAnswerer<PatternEditor> session([&](PatternEditor* editor) {
    editor->move(0, 0);
    editor->resize(420, 380);
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    PatternCanvas* canvas = EditorAccess::Canvas(*editor);
    ASSERT_EQ(canvas->State().GetPattern()->name, "GATE");
    ASSERT_GT(ScreenPoint(*canvas, lineTo).x(), editor->frameGeometry().right());

    editor->action(PatternEditor::kToolLine)->trigger();
    ASSERT_TRUE(Drag(*canvas, lineFrom, lineTo));
    editor->action(PatternEditor::kToolEllipse)->trigger();
    ASSERT_TRUE(Drag(*canvas, ellipseFrom, ellipseTo));

    ASSERT_EQ(
        QProcess::execute(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png", "-i", png}),
        0);
    ASSERT_TRUE(QTest::qWaitFor([] { return PatternClipboard::Offered(); }, 3000));
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {"key", "--clearmodifiers", "ctrl+v"}), 0);
    ASSERT_TRUE(QTest::qWaitFor([canvas] { return canvas->HasFloatingSelection(); }, 3000));
    EXPECT_TRUE(editor->action(PatternEditor::kToolSelect)->isChecked());
    QTest::qWait(100);

    const QByteArray dir = qgetenv("ZANLI_SCREENSHOT_DIR");
    if (!dir.isEmpty())
      QGuiApplication::primaryScreen()
          ->grabWindow(0, 0, 0, editor->frameGeometry().width(), editor->frameGeometry().height())
          .save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("pattern_editor.png")));
    editor->close();
  });
  window->action(MainWindow::kEditPatterns)->trigger();
  ASSERT_TRUE(session.answered());
  ASSERT_EQ(undoStack().count(), 1);

  Pattern expected("GATE", 101, 61);
  ShapeRasterizer::DrawLineCells(expected, lineFrom, lineEnd, true);
  ShapeRasterizer::DrawEllipseCells(expected, ellipseFrom, ellipseTo, true);
  // The pasted selection was put down where it came in, at the top-left cell.
  const auto pasted = test::PatternFromArt(pictureArt);
  for (int32_t y = 0; y < pasted->height; ++y)
    for (int32_t x = 0; x < pasted->width; ++x)
      if (pasted->Pixel(x, y)) expected.SetPixel(x, y, true);

  for (const bool text : {true, false}) {
    const std::string path = temp.filePath(text ? "drawn.LB3" : "drawn.LIB").toStdString();
    SetLibraryPath(path);
    ASSERT_TRUE(SaveLibrary());
    const Pattern saved = ReadBack(path, text);
    EXPECT_EQ(test::ArtOf(saved), test::ArtOf(expected)) << path;
  }
}

}  // namespace
}  // namespace zanli
