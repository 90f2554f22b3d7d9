#!/usr/bin/env bash
# Runs a command with a /tmp, /dev/shm and home folder of its own: empty
# tmpfs mounts in the private mount namespace that `unshare --mount` started
# this script in. Nothing the tests or the libraries they drive write
# there (Mesa's shader cache, browser and npm caches, start events, X locks)
# reaches the user's folders, and nothing the user's programs write there
# meanwhile can be taken for the tests'. The checkout is bound back in when
# it lies under one of the covered folders.
#   private_run.sh CHECKOUT HOME COMMAND...
set -euo pipefail
checkout=$1
home=$2
shift 2
# The checkout stays reachable through this descriptor while the folders
# above it are covered; mount must not resolve the link to the covered path.
exec 9<"$checkout"
mount -t tmpfs -o mode=1777 tmpfs /tmp
mount -t tmpfs -o mode=1777 tmpfs /dev/shm
mount -t tmpfs -o mode=700 tmpfs "$home"
case $checkout/ in
  /tmp/* | /dev/shm/* | "$home"/*)
    mkdir -p "$checkout"
    mount --no-canonicalize --bind /proc/self/fd/9 "$checkout"
    ;;
esac
exec 9<&-
# Programs installed in the covered home (a Python or Node of the user's own)
# are gone for this run: the machine's own, which the set-up installs, serve.
PATH=$(printf '%s' "$PATH" | tr ':' '\n' | grep -v "^$home/" | paste -sd: -)
export PATH
exec "$@"
