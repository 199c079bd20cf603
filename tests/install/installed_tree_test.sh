#!/usr/bin/env bash
# `cmake --install` into a temporary prefix, then what the desktop sees there:
# the files, a valid desktop entry that names what was installed, MIME types
# that recognise the example libraries by name and by content, manual pages
# that render without warnings, the licence and changelog, and programs that
# run from the prefix.
# usage: installed_tree_test.sh BUILD_DIR EXAMPLES_DIR
set -euo pipefail
build=$1
examples=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix=$root/usr
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The tools the checks use, each with the package that brings it: a missing
# one is one clear failure rather than several puzzling ones.
missing=()
for need in man:man-db xmllint:libxml2-utils desktop-file-validate:desktop-file-utils \
  update-mime-database:shared-mime-info gio:libglib2.0-bin; do
  command -v "${need%%:*}" >/dev/null || missing+=("${need%%:*} (Debian package ${need#*:})")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "FAIL: the installed-tree test needs: ${missing[*]}; scripts/setup installs them" >&2
  exit 1
fi

cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

# Files, and each PNG icon of the size its folder names.
for program in zanli zanli-cli; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program missing or not executable"
done
for file in applications/zanli.desktop mime/packages/zanli.xml man/man1/zanli.1.gz man/man1/zanli-cli.1.gz \
  icons/hicolor/scalable/apps/zanli.svg doc/zanli/copyright doc/zanli/changelog.gz; do
  [ -s "$share/$file" ] || fail "share/$file missing"
done
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}'; }
for size in 16 22 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/zanli.png
  if [ ! -s "$icon" ]; then
    fail "no ${size}x${size} icon"
  elif [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' ')" != 89504e470d0a1a0a ] ||
    [ "$(png_size "$icon")" != "${size}x${size}" ]; then
    fail "${size}x${size} icon is not a ${size}x${size} PNG"
  fi
done
xmllint --noout "$share/icons/hicolor/scalable/apps/zanli.svg" || fail "the SVG icon does not parse"

# The desktop entry is valid and points at what was installed.
desktop=$share/applications/zanli.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
key() { sed -n "s/^$1=//p" "$desktop"; }
exec_line=$(key Exec)
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
[[ "$exec_line" == *" %f" ]] || fail "Exec=$exec_line does not take the file"
[ -e "$share/icons/hicolor/scalable/apps/$(key Icon).svg" ] || fail "Icon=$(key Icon) is not installed"
for lang in "" "\[ja\]"; do
  for field in Name Comment; do [ -n "$(key "$field$lang")" ] || fail "no $field$lang"; done
done
IFS=';' read -r -a types <<<"$(key MimeType)"
[ ${#types[@]} -eq 2 ] || fail "MimeType names ${#types[@]} types, not the two library types"

# The MIME definition parses, defines the types the desktop entry names, and a
# database built from it alone recognises the libraries.
xmllint --noout "$share/mime/packages/zanli.xml" || fail "the MIME definition does not parse"
mime=$root/mime-data
mkdir -p "$mime/mime/packages"
cp "$share/mime/packages/zanli.xml" "$mime/mime/packages/"
export XDG_DATA_HOME=$mime XDG_DATA_DIRS=$mime
update-mime-database "$mime/mime" || fail "update-mime-database rejects the MIME definition"
for type in "${types[@]}"; do
  grep -qx "$type" "$mime/mime/types" || fail "MimeType $type is not defined by the MIME definition"
done
samples=$root/samples
mkdir "$samples"
text=text/x-veld-library
binary=application/x-veld-binary-library
cp "$examples/logic.LB3" "$samples/upper.LB3"
cp "$examples/logic.LB3" "$samples/lower.lb3"
cp "$examples/logic.LB3" "$samples/text-by-content"
cp "$examples/logic.LIB" "$samples/upper.LIB"
cp "$examples/logic.LIB" "$samples/mixed.Lib"
cp "$examples/logic.LIB" "$samples/binary-by-content"
# Names alone, whatever the content; the magic's 14th byte is 0x1A, and one
# byte off is not a library.
echo "not a library" >"$samples/by-name.Lb3"
echo "not a library" >"$samples/by-name.lib"
printf 'LIB FOR NQ000\033\0\0\0\0' >"$samples/near-miss"
for expect in "upper.LB3 $text" "lower.lb3 $text" "text-by-content $text" \
  "upper.LIB $binary" "mixed.Lib $binary" "binary-by-content $binary" \
  "by-name.Lb3 $text" "by-name.lib $binary" "near-miss application/octet-stream"; do
  read -r name want <<<"$expect"
  got=$(gio info -a standard::content-type "$samples/$name" | sed -n 's/.*standard::content-type: //p')
  [ "$got" = "$want" ] || fail "$name is seen as '$got', not $want"
done

# The manual pages render without a warning and carry the version.
for program in zanli zanli-cli; do
  page=$root/$program.page
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$program.1.gz" >"$page" 2>"$root/man-warnings" ||
    fail "man cannot render the page of $program"
  [ ! -s "$root/man-warnings" ] || fail "the manual page of $program warns: $(cat "$root/man-warnings")"
  grep -Eq "^ +$program +- +[a-z]" "$page" || fail "the manual page of $program has no NAME line"
  grep -Eq "Zanli [0-9]+\.[0-9]+" "$page" || fail "the manual page of $program does not carry the version"
done

# The licence names its holders, and the changelog's latest entry is this version.
grep -q "Copyright: 2026 the Zanli developers" "$share/doc/zanli/copyright" || fail "the copyright file names no holder"
version=$("$prefix/bin/zanli" --version | sed -n 's/^zanli //p')
gzip -dc "$share/doc/zanli/changelog.gz" | head -1 | grep -q "^zanli ($version) " ||
  fail "the changelog's latest entry is not version $version"

# The editor answers --help and a wrong option without a display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20)
"${nodisplay[@]}" "$prefix/bin/zanli" --help >"$root/help" 2>&1 || fail "zanli --help did not exit 0"
grep -q "^usage: zanli " "$root/help" || fail "zanli --help printed no usage"
status=0
"${nodisplay[@]}" "$prefix/bin/zanli" --no-such-option >"$root/out" 2>"$root/err" || status=$?
[ "$status" -eq 2 ] || fail "zanli with an unknown option exited $status, not 2"
grep -q "^usage: zanli " "$root/err" || fail "zanli with an unknown option printed no usage on stderr"

# The installed command line works from the prefix.
"$prefix/bin/zanli-cli" dump "$examples/logic.LB3" >"$root/dump.json" || fail "installed zanli-cli cannot dump a library"
grep -q '"entries"' "$root/dump.json" || fail "installed zanli-cli dumped no entries"

if [ "$failures" -gt 0 ]; then
  echo "installed tree: $failures failed" >&2
  exit 1
fi
echo "installed tree: all checks passed"
