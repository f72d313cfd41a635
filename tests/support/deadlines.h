#pragma once

// Bounds for waits that end as soon as their condition holds, so they cost
// nothing when a test passes. A sanitizer build on a shared, busy machine runs
// many times slower than on an idle one: the bounds only tell a fault from a
// slow machine.

#include <QTest>

namespace testsupport {

// The built program starting, getting somewhere, or quitting.
inline constexpr int kProgramDeadlineMs = 300000;

// Something in this process: a thread ending, a timer firing, a loop ending.
inline constexpr int kDeadlineMs = 60000;

} // namespace testsupport

// A failing wait fails at its bound: Qt's own QTRY_* keeps waiting up to two
// more times the bound only to say whether a longer one would have passed,
// which turns each failing 60 s wait into three minutes.
#undef QTRY_TIMEOUT_DEBUG_IMPL
#define QTRY_TIMEOUT_DEBUG_IMPL(expr, timeoutValue, step)

// Qt's own default of 5 s is too short for that machine.
#undef QTRY_VERIFY
#undef QTRY_VERIFY2
#undef QTRY_COMPARE
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, testsupport::kDeadlineMs)
#define QTRY_VERIFY2(expr, message)                                                                \
    QTRY_VERIFY2_WITH_TIMEOUT(expr, message, testsupport::kDeadlineMs)
#define QTRY_COMPARE(expr, expected)                                                               \
    QTRY_COMPARE_WITH_TIMEOUT(expr, expected, testsupport::kDeadlineMs)
