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
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage"
cp "$exe" "$stage/ReplimarKORVELL.exe"
cp "$icon" "$stage/ReplimarKORVELL.ico"
"$here/sign.sh" "$stage/ReplimarKORVELL.exe"

upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9A-Fa-f-]*\)".*/\1/p' "$wxs")

out_abs=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")
rm -f "$out_abs"
(cd "$stage" && wixl -a x64 -D Version="$version" \
   -D ExeFile=ReplimarKORVELL.exe -D IconFile=ReplimarKORVELL.ico -o "$out_abs" "$wxs")

# A package of the same version (a rebuilt exe, or one that differs in the fourth number, which
# Windows Installer does not compare) must replace the installed one too. wixl writes the
# upgrade row without an inclusive maximum, so the row is written again: any version up to
# this one, maximum included (512) and features carried over (1), is removed; a newer one
# (above this version) is only detected and stops the install.
q() { msibuild "$out_abs" -q "$1"; }
# (msibuild cannot update a key column: each row is deleted, one statement each, and inserted.)
for property in WIX_UPGRADE_DETECTED WIX_DOWNGRADE_DETECTED; do
  q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = '$property'"
done
q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('{$upgrade_code}', '', '$version', 513, 'WIX_UPGRADE_DETECTED')"
q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('{$upgrade_code}', '$version', '', 2, 'WIX_DOWNGRADE_DETECTED')"
"$here/sign.sh" "$out_abs"
product_code=$(msiinfo export "$out_abs" Property | sed -n 's/^ProductCode\t\(.*\)\r\?$/\1/p')
echo "built $output (version $version, product code $product_code)"
