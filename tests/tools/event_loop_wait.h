// Waiting the way the application waits: in the event loop, asleep until an
// event comes. QTest's waits process events only every 10 ms, which would
// hold up every synchronous message from the workers and inflate the very
// figures measured here.
#pragma once

#include <functional>

void RunEventLoopFor(int ms);
// True once `condition` holds (looked at every pollMs); false after timeoutMs.
bool RunEventLoopUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs = 5);
