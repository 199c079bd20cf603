#pragma once

// The tests' access to what the widgets keep private: commands and queries
// that the program reaches through menus, keys and signals, and that tests
// call directly to set a scene up or to look at it.
#include <QComboBox>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QUndoStack>
#include <string>

#include "app/library_file_dialog.h"
#include "app/main_window.h"
#include "app/pattern_editor/pattern_canvas.h"
#include "app/pattern_editor/pattern_editor.h"
#include "app/pattern_preview.h"
#include "app/test_access.h"

namespace zanli {

template <>
struct TestAccess<MainWindow> {
  static LibraryDocument& Document(MainWindow& w) { return w.document_; }
  static QUndoStack& UndoStack(MainWindow& w) { return *w.undoStack_; }
  static bool IsModified(const MainWindow& w) { return w.IsModified(); }
  static void UpdateTitle(MainWindow& w) { w.UpdateTitle(); }
  static void UpdateCommandStates(MainWindow& w) { w.UpdateCommandStates(); }
  static void CommitStep(MainWindow& w, EditResult result) { w.CommitStep(std::move(result)); }
  static void NewLibrary(MainWindow& w) { w.NewLibrary(); }
  static bool OpenLibrary(MainWindow& w) { return w.OpenLibrary(); }
  static bool SaveLibrary(MainWindow& w) { return w.SaveLibrary(); }
  static bool SaveLibraryAs(MainWindow& w) { return w.SaveLibraryAs(); }
  static void SetLibraryPath(MainWindow& w, const std::string& path) { w.SetLibraryPath(path); }
  static void SetPartViewZoom(MainWindow& w, int factor) { w.SetPartViewZoom(factor); }
  static int PartViewZoom(const MainWindow& w) { return w.PartViewZoom(); }
};

template <>
struct TestAccess<PatternEditor> {
  static PatternCanvas* Canvas(const PatternEditor& e) { return e.canvas_; }
  static QComboBox* PatternBox(const PatternEditor& e) { return e.patternBox_; }
  static const Pattern* CurrentPattern(const PatternEditor& e) { return e.CurrentPattern(); }
  static void UpdateCommandStates(PatternEditor& e, bool askClipboard = true) {
    e.UpdateCommandStates(askClipboard);
  }
  static void NewPattern(PatternEditor& e) { e.NewPattern(); }
  static void RenamePattern(PatternEditor& e) { e.RenamePattern(); }
  static void ResizePattern(PatternEditor& e) { e.ResizePattern(); }
  static void DeletePattern(PatternEditor& e) { e.DeletePattern(); }
};

template <>
struct TestAccess<PatternCanvas> {
  static QPoint CellCentreOnViewport(const PatternCanvas& c, PatternCanvasState::Cell cell) {
    return c.CellCentreOnViewport(cell);
  }
  static void PasteImage(PatternCanvas& c, const QImage& image) { c.PasteImage(image); }
};

template <>
struct TestAccess<PatternPreview> {
  static const Pattern* ShownPattern(const PatternPreview& p) { return p.pattern_; }
};

template <>
struct TestAccess<LibraryFileDialog> {
  static LibraryFileDialog::Type SelectedType(const LibraryFileDialog& d) { return d.SelectedType(); }
  static QString AdjustName(const QString& name, LibraryFileDialog::Type type) {
    return LibraryFileDialog::AdjustName(name, type);
  }
};

}  // namespace zanli
