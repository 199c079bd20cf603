#pragma once

namespace zanli {

// The test suites' one door into a widget's private members: a widget that
// tests must drive below its public behaviour befriends TestAccess<itself>,
// which only tests/support defines. The program never uses it.
template <typename Widget>
struct TestAccess;

}  // namespace zanli
