#!/usr/bin/env bash
# Fails when a committed C++ file is not formatted with the committed .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
