#!/usr/bin/env bash
# Remakes the pictures of the tray icon and the six pages in docs/images (the README and the user's guide in
# the release show them): the real program under Wine on a private display, as scripts/run.sh --headless.
set -euo pipefail
cd "$(dirname "$0")/.."
exec scripts/run.sh --headless --shots docs/images
