#!/usr/bin/env bash
# Runs the browser test of orvik-host's HTML board preview:
#
#   tests/browser/run.sh ORVIK_HOST BOARD.pcb OUT_DIR
#
# Installs the test's npm packages (package-lock.json) when they are missing.
# Chromium comes from tools/setup.sh; CHROMIUM overrides its path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -d "$here/node_modules/playwright-core" ] || [ ! -d "$here/node_modules/pngjs" ]; then
  (cd "$here" && npm ci --no-audit --no-fund)
fi
chromium=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$chromium" ]; then
  echo "browser test: no Chromium at $chromium (tools/setup.sh all installs it)" >&2
  exit 1
fi
exec node "$here/preview.test.mjs" "$@"
