// Bounds for the checks that are there to catch a hang or a deadlock, never
// to time anything. A test gives a base figure already far above any normal
// time; it is stretched here, and only here, for a sanitizer build (CMake
// passes VERIDRIFT_HANG_BOUND_BUILD_SCALE) and by VERIDRIFT_TEST_TIME_SCALE
// for a machine known to be slower still, so that a busy machine never fails
// a test and nobody tunes a figure per test.
#pragma once

#include <chrono>
#include <cstdlib>

#ifndef VERIDRIFT_HANG_BOUND_BUILD_SCALE
#define VERIDRIFT_HANG_BOUND_BUILD_SCALE 1
#endif

inline double HangBoundScale() {
  const char* text = std::getenv("VERIDRIFT_TEST_TIME_SCALE");
  const double asked = text != nullptr ? std::strtod(text, nullptr) : 0.0;
  return VERIDRIFT_HANG_BOUND_BUILD_SCALE * (asked > 0.0 ? asked : 1.0);
}

inline std::chrono::milliseconds HangBound(std::chrono::milliseconds base) {
  return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(
      static_cast<double>(base.count()) * HangBoundScale()));
}

inline int HangBoundMs(int baseMs) {
  return static_cast<int>(HangBound(std::chrono::milliseconds(baseMs)).count());
}

// The base figure for a process to end once its window is closed or it is
// killed, shared by every test that starts the application.
inline constexpr std::chrono::milliseconds kExitAfterClose{10000};
