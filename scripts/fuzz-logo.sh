#!/usr/bin/env bash
# The logo readers' fuzz run: scripts/fuzz-logo.sh [SECONDS] is scripts/fuzz.sh logo [SECONDS].
exec "$(dirname "$0")/fuzz.sh" logo "$@"
