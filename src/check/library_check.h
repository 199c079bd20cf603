#pragma once

#include "check/check_report.h"
#include "check/library_format.h"
#include "model/library.h"

namespace zanli {

// The library checker: design mistakes in symbols, found before they reach a
// schematic, and what a save would change.
//
// Per part (each body once, through the first entry naming it): pins beyond
// the body's edges, where the cursor cannot reach them; a pin at an edge and
// position an earlier pin holds, which the editor never shows nor edits; a pin
// number used twice within one block; a pin numbered in some blocks and not in
// others; a pattern smaller than the body (10 × X + 1 by 10 × Y + 1 pixels);
// pin names and numbers with characters the symbol font cannot draw (double-
// byte characters, control bytes). Per entry and pattern: names the name
// dialogs would refuse (rules, or taken by an earlier one), and patterns no
// part uses. Library::entries must be current, as for a save.
class LibraryCheck {
 public:
  // The design problems in library order (entries with their bodies and pins,
  // then patterns), followed by SaveLosses::Find for `savedAs`, the format of
  // the library's file. The report refers to `library`.
  static CheckReport Run(const Library& library, LibraryFormat savedAs);
  // The design problems alone.
  static CheckReport DesignProblems(const Library& library);
  static void DesignProblems(const Library& library, CheckReport& report);
};

}  // namespace zanli
