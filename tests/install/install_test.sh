#!/usr/bin/env bash
# Installs the build into a temporary root and checks what a machine gets, file by file:
#   install_test.sh tree BUILD GUI [MIME_TYPE_OF]   `cmake --install` with DESTDIR
#   install_test.sh deb  BUILD GUI [MIME_TYPE_OF]   the .deb CPack makes, unpacked
# GUI is ON or OFF as the build was configured.
set -euo pipefail
mode="$1" build="$2" gui="$3" mime_type_of="${4:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$mode" = tree ]; then
  DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
else
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
  debs=("$work"/deb/quelmar_*.deb)
  [ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack wrote no single .deb: ${debs[*]}"
  dpkg-deb -x "${debs[0]}" "$work/root"
  # The libraries the programs link, by their Debian 12 packages, and the SVG plugin they load.
  depends="$(dpkg-deb -f "${debs[0]}" Depends)"
  needed=(libc6 libstdc++6 libnetcdf19 libpugixml1v5)
  [ "$gui" = ON ] && needed+=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6)
  for package in "${needed[@]}"; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
  done
fi
usr="$work/root/usr"

# Exactly these files, nothing more.
expected=(bin/xstgtool share/man/man1/xstgtool.1.gz)
sizes=(16 22 24 32 48 64 128 256)
if [ "$gui" = ON ]; then
  expected+=(bin/quelmar share/man/man1/quelmar.1.gz share/applications/quelmar.desktop
    share/mime/packages/quelmar.xml share/icons/hicolor/scalable/apps/quelmar.svg)
  for size in "${sizes[@]}"; do expected+=("share/icons/hicolor/${size}x$size/apps/quelmar.png"); done
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) \
  || fail "the installed files differ from the expected list (< expected, > installed)"

# A man page per program, made from its own help: every long option of `--help` is in the page,
# and for the tool every subcommand has a subsection holding that subcommand's options.
long_options() { grep -o -- '--[a-z][a-z-]*' | sed 's/-/\\-/g' | sort -u; }
check_options() {
  local page="$1" text="$2" option
  while read -r option; do
    grep -qF -- "$option" <<<"$text" || fail "$page lacks $option"
  done
}
programs=(xstgtool)
[ "$gui" = ON ] && programs+=(quelmar)
for program in "${programs[@]}"; do
  page="$(gzip -dc "$usr/share/man/man1/$program.1.gz")" || fail "$program.1.gz is not gzip"
  grep -q "^\.TH ${program^^} \"1\"" <<<"$page" || fail "$program.1 has no .TH header"
  grep -q "^$program \\\\- " <<<"$page" || fail "$program.1 has no NAME line"
  check_options "$program.1" "$page" < <(QT_QPA_PLATFORM=offscreen "$usr/bin/$program" --help | long_options)
done
page="$(gzip -dc "$usr/share/man/man1/xstgtool.1.gz")"
mapfile -t subcommands < <("$usr/bin/xstgtool" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z-]*\) .*/\1/p')
[ "${#subcommands[@]}" -ge 4 ] || fail "xstgtool --help lists ${#subcommands[@]} subcommands"
for subcommand in "${subcommands[@]}"; do
  section="$(sed -n "/^\.SS \"xstgtool $subcommand\"/,/^\.SS/p" <<<"$page")"
  [ -n "$section" ] || fail "xstgtool.1 has no section for $subcommand"
  check_options "xstgtool.1 ($subcommand)" "$section" < <("$usr/bin/xstgtool" "$subcommand" --help | long_options)
done
[ "$gui" = ON ] || { echo "install ($mode): xstgtool and its man page"; exit 0; }

# The menu entry is valid and makes quelmar the handler of .xstg documents.
desktop-file-validate "$usr/share/applications/quelmar.desktop" || fail "quelmar.desktop is not valid"
update-desktop-database "$usr/share/applications"
grep -qx 'application/x-xstg=quelmar.desktop;' "$usr/share/applications/mimeinfo.cache" \
  || fail "quelmar.desktop does not handle application/x-xstg"

# Each PNG is the square its folder names (width and height: bytes 16-23, big-endian).
for size in "${sizes[@]}"; do
  png="$usr/share/icons/hicolor/${size}x$size/apps/quelmar.png"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*2^24 + $2*2^16 + $3*2^8 + $4, $5*2^24 + $6*2^16 + $7*2^8 + $8 }')
  [ "$width $height" = "$size $size" ] || fail "$png is ${width}x$height"
done

# The MIME type, as a file manager sees it once the database is compiled: by the name, and for a
# file without one, by the signal section's magic and version (0 or 1); over the system's database.
update-mime-database "$usr/share/mime" 2>/dev/null
files=(
  "run.xstg||application/x-xstg"
  "version1|STG\x01\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00|application/x-xstg"
  "version0|STG\x00\x07\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00|application/x-xstg"
  "version2|STG\x02\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00|application/octet-stream"
  "spectra|SPC\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00|application/octet-stream"
)
mkdir "$work/files" "$work/home"
for row in "${files[@]}"; do
  IFS='|' read -r name bytes type <<<"$row"
  printf "$bytes" >"$work/files/$name"
  got="$(XDG_DATA_DIRS="$usr/share:/usr/share" XDG_DATA_HOME="$work/home" "$mime_type_of" "$work/files/$name")"
  [ "$got" = "$type" ] || fail "$name is $got, not $type"
done
echo "install ($mode): all files, man pages, menu entry, icons and MIME type"
