#pragma once

namespace zanli::testing {

// The test program's global operator new fails on request: while armed, the
// n-th allocation from arming on throws std::bad_alloc, as a real shortage
// would. Everything else allocates as usual.
class AllocationFailure {
 public:
  explicit AllocationFailure(int n);  // arms
  ~AllocationFailure();               // disarms
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;

  // Whether the n-th allocation was reached (and so failed).
  bool Fired() const;
};

// Calls `action` with the first, second, third ... allocation failing until
// it runs through without reaching the failing one; `check(fired)` follows
// each call, outside the armed region. Returns the number of failures made.
template <typename Action, typename Check>
int ForEachAllocationFailure(Action action, Check check) {
  int failures = 0;
  for (int n = 1;; ++n) {
    bool fired;
    {
      AllocationFailure failure(n);
      action();
      fired = failure.Fired();
    }
    check(fired);
    if (!fired) return failures;
    ++failures;
  }
}

}  // namespace zanli::testing
