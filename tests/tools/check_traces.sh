#!/usr/bin/env bash
# What a test run leaves on the machine outside the build folder.
#   check_traces.sh snapshot FILE   records what is there now
#   check_traces.sh compare FILE    lists what the tests added since, and fails
#                                   when anything of theirs is left
# Looked at: shared memory (/dev/shm), the temporary folder and the user's
# home (three levels deep). Where the tests ran in a private mount namespace
# they could write none of these, and this only confirms it. Other programs
# of the user's add files there meanwhile, Mesa's shader cache and browser
# caches included, so only names that the tests alone make count: start
# events and files named after the tool or its test programs. The checkout
# itself is left out.
set -euo pipefail
mode=${1:?snapshot or compare}
file=${2:?file}
root=$(cd "$(dirname "$0")/../.." && pwd)
home=$(getent passwd "$(id -u)" | cut -d: -f6)
tmp=/tmp

list() {
  {
    find /dev/shm -mindepth 1 -maxdepth 1 2>/dev/null
    find "$tmp" -mindepth 1 -maxdepth 1 2>/dev/null
    find "$home" -mindepth 1 -maxdepth 3 -not -path "$root" -not -path "$root/*" 2>/dev/null
  } | LC_ALL=C sort
}

case $mode in
  snapshot) list > "$file" ;;
  compare)
    ours='[Vv]eridrift|StartGraphingEvent|_tests|_twin|animation_peer'
    # The user's own start event is shared by the user's windows by design and
    # may come with a window opened meanwhile.
    users_event="/dev/shm/StartGraphingEvent.$(id -u)"
    left=$(LC_ALL=C comm -13 "$file" <(list) | grep -E "$ours" | grep -vxF "$users_event" || true)
    if [ -n "$left" ]; then
      echo "The tests left these behind outside the build folder:"
      echo "$left"
      exit 1
    fi
    echo "Nothing left behind in /dev/shm, $tmp or the home folder."
    ;;
  *) echo "check_traces.sh: unknown mode \"$mode\"" >&2; exit 2 ;;
esac
