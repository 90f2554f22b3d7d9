// A test program's own start event, so that no running copy of the tool can
// start its windows, and none of its events outlives it.
#pragma once

#include <string>

// "<prefix>-<pid>": the name of this process's own start event. The event is
// removed when the process ends (see RemoveStartEventAtExit).
std::string OwnStartEventName(const std::string& prefix);

// Removes the event's shared object when this process ends, however it ends:
// returning from main, exit, or a signal that ends it (an abort from a failed
// check or a sanitizer, a crash, SIGTERM, SIGINT, SIGHUP). A forked child
// leaves its parent's events alone. Events a test removes itself may be
// named here too; removing one twice does no harm.
void RemoveStartEventAtExit(const std::string& eventName);
