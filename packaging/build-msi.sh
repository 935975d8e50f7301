#!/usr/bin/env bash
# Builds the per-user Windows Installer package of the program with wixl (msitools).
#   build-msi.sh EXE ICON VERSION OUTPUT.msi
# VERSION has four numbers (1.0.0.0). When REPLIMAR_SIGN_CERT and REPLIMAR_SIGN_KEY are set,
# the program inside the package and the package itself are signed (packaging/sign.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 4 ] || { echo "usage: $0 EXE ICON VERSION OUTPUT.msi" >&2; exit 2; }
exe=$1 icon=$2 version=$3 output=$4
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "version must be a.b.c.d: $version" >&2; exit 2; }
wxs=$here/ReplimarKORVELL.wxs

# wixl takes source files relative to the folder it runs in.
stage=$output.stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$exe" "$stage/ReplimarKORVELL.exe"
cp "$icon" "$stage/ReplimarKORVELL.ico"
"$here/sign.sh" "$stage/ReplimarKORVELL.exe"

# One product code per version, derived from the upgrade code: a rebuilt package of the same
# version is the same product to Windows Installer, so installing it again adds no entry.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9A-Fa-f-]*\)".*/\1/p' "$wxs")
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), "ReplimarKORVELL " + sys.argv[2])).upper())' "$upgrade_code" "$version")

out_abs=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")
(cd "$stage" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" \
   -D ExeFile=ReplimarKORVELL.exe -D IconFile=ReplimarKORVELL.ico -o "$out_abs" "$wxs")
"$here/sign.sh" "$out_abs"
rm -rf "$stage"
echo "built $output (version $version, product code {$product_code})"
