#!/bin/sh
# private_network.sh COMMAND...: runs COMMAND in a network namespace of its own, holding only a
# loopback interface, so that whatever it does on port 5000 meets nothing else on the machine.
# Needs root or unprivileged user namespaces; without either the command runs as it is.
# private_network.sh --check: succeeds when such a namespace can be made.
enter='ip link set lo up && exec "$0" "$@"'
if [ "$1" = --check ]; then
  unshare -n true 2>/dev/null || unshare -rn true 2>/dev/null
  exit
fi
if unshare -n true 2>/dev/null; then exec unshare -n sh -c "$enter" "$@"; fi
if unshare -rn true 2>/dev/null; then exec unshare -rn sh -c "$enter" "$@"; fi
exec "$@"
