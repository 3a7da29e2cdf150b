#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the native unit tests of the
# core and the content, then the end-to-end tests of Tarvel.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
ctest --test-dir build/host --output-on-failure
tools/test-e2e.sh
