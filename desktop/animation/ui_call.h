// A worker's synchronous message to the user interface thread: the call runs
// there, and the worker waits until it has run. Unlike a blocking queued
// connection it can be cancelled, so that the user interface thread can end
// the workers while one of them is still waiting for it.
#pragma once

#include <functional>

// Runs `call` on the application's (user interface) thread and returns once it
// has run: true. Returns false, with `call` not run or its result not awaited,
// when calls are cancelled, when there is no application object, or when the
// application drops the call unrun. On the user interface thread itself the
// call runs at once, as a window message sent to one's own thread does.
bool CallOnUiThread(std::function<void()> call);

// User interface thread. From now until ReopenUiCalls: a caller waiting in
// CallOnUiThread returns false at once, a call still queued never runs, and
// new calls are refused. A call already running (this one cancelling from
// inside it) finishes, but its caller no longer waits for it.
void CancelUiCalls();

// User interface thread, once no thread can still be waiting from before the
// cancellation: accepts calls again.
void ReopenUiCalls();
