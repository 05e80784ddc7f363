#!/usr/bin/env bash
# Installs the build into a temporary root and packs it as a Debian package:
# exactly the expected files, each accepted by the desktop's own validators,
# a launcher that runs from where it was installed, and a package whose
# dependencies this Debian satisfies. Usage: install_and_package.sh <build>
set -euo pipefail
build=$(readlink -f "$1")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

id=org.dropwell.Dropwell
expected=(
  usr/bin/dropwell
  usr/libexec/dropwell/dropwell
  usr/libexec/dropwell/dropwell-pdf.so
  usr/libexec/dropwell/dropwell-video.so
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$id.svg"
  "usr/share/icons/hicolor/symbolic/apps/$id-symbolic.svg"
  usr/share/man/man1/dropwell.1
  usr/share/doc/dropwell/LICENSE
  usr/share/doc/dropwell/README.md
)
for size in 16 22 24 32 48 64 128 256 512; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
sorted_expected=$(printf '%s\n' "${expected[@]}" | sort)

DESTDIR="$root/install" cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$root/install" && find . -type f | sed 's|^\./||' | sort)
[ "$installed" = "$sorted_expected" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$sorted_expected") <(echo "$installed"))"

# The desktop's validators: errors and warnings both fail.
desktop-file-validate "$root/install/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/install/usr/share/metainfo/$id.metainfo.xml" >"$root/appstream.log" 2>&1 ||
  { cat "$root/appstream.log"; fail "appstreamcli validate"; }
grep -q "^Icon=$id$" "$root/install/usr/share/applications/$id.desktop" || fail "the launcher names another icon"
warnings=$(groff -man -ww -z "$root/install/usr/share/man/man1/dropwell.1" 2>&1)
[ -z "$warnings" ] || fail "the manual page: $warnings"
for size in 16 256; do
  file "$root/install/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
    fail "the $size px icon is not $size px"
done
# Every option of --help is in the manual page.
for option in $("$root/install/usr/bin/dropwell" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "${option//-/\\\\-}" "$root/install/usr/share/man/man1/dropwell.1" || fail "the manual page lacks $option"
done
"$root/install/usr/bin/dropwell" --version | grep -q "^Dropwell " || fail "the installed launcher does not run"
# FFmpeg and Poppler are the media modules' alone, one each: the windowed
# program that idles in the tray loads them only when a recording or a
# preview needs them, and a recording does not bring in Poppler.
! grep -qE 'libav|libpoppler' <<<"$(ldd "$root/install/usr/libexec/dropwell/dropwell")" ||
  fail "the windowed program links the codecs itself"
video=$(ldd "$root/install/usr/libexec/dropwell/dropwell-video.so")
pdf=$(ldd "$root/install/usr/libexec/dropwell/dropwell-pdf.so")
grep -q libavcodec <<<"$video" && ! grep -q libpoppler <<<"$video" || fail "the video module does not hold FFmpeg alone"
grep -q libpoppler <<<"$pdf" && ! grep -q libavcodec <<<"$pdf" || fail "the PDF module does not hold Poppler alone"

# The package holds the same files under /usr, stripped, with its dependencies found.
(cd "$build" && cpack -G DEB -B "$root/package" >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; fail "cpack"; }
deb=$(ls "$root"/package/dropwell_*.deb)
packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort)
[ "$packed" = "$sorted_expected" ] || fail "the package holds other files:
$(diff <(echo "$sorted_expected") <(echo "$packed"))"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6widgets6 libavcodec59 qt6-qpa-plugins; do
  echo "$depends" | grep -q "$needed" || fail "the package does not depend on $needed: $depends"
done
dpkg --dry-run -i "$deb" >"$root/dpkg.log" 2>&1 || { cat "$root/dpkg.log"; fail "this Debian cannot install the package"; }
echo "installed and packed: $(echo "$installed" | wc -l) files, $(du -k "$deb" | cut -f1) KB package"
