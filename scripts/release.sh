#!/usr/bin/env bash
# Builds the release into dist/: wlanutil-VERSION-win32.zip (the stripped 32-bit program, the read-me for
# Windows users and the user's guide with its pictures) and wlanutil-VERSION-setup.exe (the installer), after
# checking that both import only functions that Windows 95, 98/Me, NT 4 and 2000 export.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32-i686 >/dev/null
cmake --build --preset win32-i686 --target release
out=build/win32-i686/packaging
version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\).*/\1.\2.\3.\4/p' res/wlanutil.rc)
zip=$out/wlanutil-$version-win32.zip
setup=$out/wlanutil-$version-setup.exe
python3 packaging/imports/check-imports.py packaging/imports/windows-exports.tsv \
  "$out/wlanutil-$version/wlanutil.exe" "$setup"
mkdir -p dist
cp "$zip" "$setup" dist/
echo "release: dist/$(basename "$zip") ($(stat -c %s "$zip") bytes), dist/$(basename "$setup")" \
  "($(stat -c %s "$setup") bytes); the program $(stat -c %s "$out/wlanutil-$version/wlanutil.exe") bytes"
