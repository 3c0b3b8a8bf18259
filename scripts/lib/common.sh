# Shared helpers for the project's scripts. Sourced, never run.
set -euo pipefail

VH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
VH_CACHE="$HOME/.cache/vornhalt"  # the windows preset finds the libraries here

vh_log() { printf '[vornhalt] %s\n' "$*" >&2; }
vh_die() { printf '[vornhalt] error: %s\n' "$*" >&2; exit 1; }

vh_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
