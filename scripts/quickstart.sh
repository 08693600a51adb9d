#!/usr/bin/env bash
# Installs what is missing, builds Quillon and converts the bundled example project into
# a workspace.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset linux > /dev/null
cmake --build --preset linux -j "$(nproc)" --target quillon quillon_data
rm -rf build/example
build/linux/quillon -o build/example examples/Calc/Calc.vcproj
echo
echo "The workspace is ready: open $(pwd)/build/example/Calc_Project.htm in your browser."
