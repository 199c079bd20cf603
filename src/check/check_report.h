#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/check_problem.h"
#include "model/library.h"

namespace zanli {

// What a check found, within a bound: at most kMaxPerKind problems of each
// kind are kept, in the order found, and the rest are only counted. A part
// with 40,000 pins at one place thus costs as little to check, print or show
// as one with a thousand.
//
// The problems refer (CheckProblem); the report knows the library checked,
// which must stay as it is while its problems are worded, and keeps what
// the saved file gives back when the save check compared it: the whole
// library, or after a check that read it part by part its patterns and a
// copy of each body that changed.
class CheckReport {
 public:
  static constexpr size_t kMaxPerKind = 1000;

  explicit CheckReport(const Library& checked);
  CheckReport(CheckReport&&) noexcept;
  CheckReport& operator=(CheckReport&&) noexcept;
  ~CheckReport();

  // A new problem of `kind` to fill in: kept, or once the kind has
  // kMaxPerKind a scratch one that is only counted.
  CheckProblem& Add(CheckKind kind);

  // The kept problems, in the order found.
  const std::vector<CheckProblem>& Problems() const { return problems_; }
  // How many were found beyond the bound: of one kind, of all kinds.
  size_t Omitted(CheckKind kind) const;
  size_t Omitted() const;
  // Kept and omitted together.
  size_t Count() const { return problems_.size() + Omitted(); }
  bool Empty() const { return problems_.empty(); }
  bool Has(CheckKind kind) const { return found_[static_cast<size_t>(kind)] > 0; }
  // Whether the save cannot give a readable file (IsSaveRefusal).
  bool HasSaveRefusal() const;

  const Library& Checked() const { return *checked_; }
  // The library the saved file gives back, which "back" indexes refer to;
  // null when the save check compared none. After a check that read it
  // part by part it holds only the patterns.
  const Library* SavedBack() const { return savedBack_.get(); }
  // How many entries the saved file gives back.
  size_t SavedBackEntries() const { return savedBackEntries_; }
  void KeepSavedBack(std::unique_ptr<Library> library);
  // After a check that read the file part by part: its `patterns` (a
  // library of nothing else), its number of entries, and the bodies kept.
  void KeepStreamedBack(std::unique_ptr<Library> patterns, size_t entries);
  // The body of entry `backEntry` read back, for the problems found in it;
  // entries in increasing order. Its pattern is one of those kept.
  void KeepBackBody(size_t backEntry, std::unique_ptr<PartBody> body);

  // Where a check that may stop part-way started, so that what it found
  // can be forgotten (RollBack) as if it had not run. Taking a mark needs
  // no memory; MakeRoom then keeps room for one more problem, so the one
  // added after a roll-back needs none either.
  struct Mark {
    size_t kept = 0;
    std::array<size_t, kCheckKindCount> found{};
    bool hadSavedBack = false;
    size_t backBodies = 0;
  };
  Mark TakeMark() const { return Mark{problems_.size(), found_, savedBack_ != nullptr, backBodies_.size()}; }
  void MakeRoom() { problems_.reserve(problems_.size() + 1); }
  void RollBack(const Mark& mark);

  // What a problem is about, read from the libraries when asked: the model's
  // bytes of its subject's names (empty where it has none), and of the
  // values before and after a change as the CheckKind comments name them
  // (sizes as "WxH", counts in decimal).
  std::string_view EntryName(const CheckProblem& problem) const;
  std::string_view PatternName(const CheckProblem& problem) const;
  std::string_view PinName(const CheckProblem& problem) const;
  std::string Before(const CheckProblem& problem) const;
  std::string After(const CheckProblem& problem) const;

 private:
  const PartBody* BodyOf(const CheckProblem& problem) const;
  const PinInfo* PinOf(const CheckProblem& problem) const;
  const Pattern* PatternOf(const CheckProblem& problem) const;
  const PartBody* BackBodyOf(const CheckProblem& problem) const;
  const PinInfo* BackPinOf(const CheckProblem& problem) const;
  const Pattern* BackPatternOf(const CheckProblem& problem) const;

  const Library* checked_;
  std::unique_ptr<Library> savedBack_;
  size_t savedBackEntries_ = 0;
  std::vector<std::pair<size_t, std::unique_ptr<PartBody>>> backBodies_;  // by entry read back
  std::vector<CheckProblem> problems_;
  std::array<size_t, kCheckKindCount> found_{};  // kept and omitted, by kind
  CheckProblem scratch_;
};

}  // namespace zanli
