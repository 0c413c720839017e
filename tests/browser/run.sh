#!/usr/bin/env bash
# Runs a browser test of orvik-host's pages: the HTML board preview
# (preview.test.mjs, the default) or convert's report
# (convert-report.test.mjs):
#
#   tests/browser/run.sh [--test NAME.test.mjs] ORVIK_HOST BOARD.pcb OUT_DIR
#
# Installs the test's npm packages (package-lock.json) when they are missing.
# Chromium comes from tools/setup.sh; CHROMIUM overrides its path.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
test=preview.test.mjs
if [ "${1:-}" = --test ]; then
  test=$2
  shift 2
fi
if [ ! -d "$here/node_modules/playwright-core" ] || [ ! -d "$here/node_modules/pngjs" ]; then
  (cd "$here" && npm ci --no-audit --no-fund)
fi
chromium=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$chromium" ]; then
  echo "browser test: no Chromium at $chromium (tools/setup.sh all installs it)" >&2
  exit 1
fi
exec node "$here/$test" "$@"
