#!/usr/bin/env bash
# The Debian package: built with cpack from this build, its control fields and file list checked, its
# desktop files validated, and the program started from the extracted package (offscreen) until it
# shows the password window, with a data folder of its own.
# Usage: package_test.sh <build folder>. Exit 77 (skipped) where dpkg-deb is missing.
set -euo pipefail
build=$(cd "$1" && pwd)
command -v dpkg-deb >/dev/null || { echo "dpkg-deb missing: skipped"; exit 77; }
for tool in cpack desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool missing (scripts/deps.sh test installs it)"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found ${debs[*]}"
deb=${debs[0]}

# Control fields: the name, the linked libraries (computed), what is loaded at run time (by hand).
[ "$(dpkg-deb -f "$deb" Package)" = ombrisa ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6 libqt6multimedia6 \
           qt6-qpa-plugins qt6-translations-l10n gstreamer1.0-plugins-good fonts-dejavu-core fonts-liberation; do
    [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = xdg-utils ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

# The file list: exactly the program, the tool, their manual pages, the desktop files, the icons and the guide.
id=it.ombrisa.Ombrisa
expected=(./usr/bin/ombrisa ./usr/bin/ombrisa-tool ./usr/share/man/man1/ombrisa.1 ./usr/share/man/man1/ombrisa-tool.1
          ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml
          ./usr/share/icons/hicolor/scalable/apps/$id.svg ./usr/share/doc/ombrisa/Guida.pdf)
for size in 16 24 32 48 64 128 256; do
    expected+=(./usr/share/icons/hicolor/${size}x${size}/apps/$id.png)
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/files"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
diff -u "$work/expected" "$work/files" || fail "file list of the package"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
# The desktop may hand telephone links to the program: it takes the link as its argument.
grep -qx 'MimeType=x-scheme-handler/tel;x-scheme-handler/callto;' "$root/usr/share/applications/$id.desktop" \
    || fail "telephone links in the desktop entry"
grep -qx 'Exec=ombrisa %u' "$root/usr/share/applications/$id.desktop" || fail "the link as argument"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
[ "$(head -c 5 "$root/usr/share/doc/ombrisa/Guida.pdf")" = "%PDF-" ] || fail "the guide is not a PDF"
file_size() { stat -c %s "$1"; }
[ "$(file_size "$root/usr/share/icons/hicolor/256x256/apps/$id.png")" -gt "$(file_size "$root/usr/share/icons/hicolor/16x16/apps/$id.png")" ] \
    || fail "icon sizes"

# Start the installed program as a user with an empty home: it never writes into its own folder (even
# though the extracted copy is writable) but into the user's data folder, which it prepares.
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CONFIG_HOME=$work/home/.config
export QT_QPA_PLATFORM=offscreen
unset OMBRISA_DATA
start() { timeout 60 "$root/usr/bin/ombrisa" --startup-check "$@" 2>"$work/stderr" || { cat "$work/stderr"; fail "start $*"; }; }
own=$XDG_DATA_HOME/Ombrisa/Ombrisa/
[ "$(start)" = "frmPassword $own" ] || fail "first start: $(start)"
[ -f "${own}unins000.dll" ] || fail "no password file in $own"
[ -z "$(ls "$root/usr/bin" | grep -v '^ombrisa\(-tool\)\?$')" ] || fail "the program wrote beside itself"

# --data on a folder without the program's data (a share not mounted) is never seeded, nor remembered.
shared=$work/rete/ufficio
! timeout 60 "$root/usr/bin/ombrisa" --startup-check --data "$shared" >/dev/null 2>&1 ||
    fail "--data on a missing folder was used"
[ ! -e "$shared" ] || fail "--data on a missing folder created it"
# --data names a folder that holds the program's data (here its work register folder): it is seeded with
# the password file and remembered.
mkdir -p "$shared/Archivio_Lavori"
[ "$(start --data "$shared")" = "frmPassword $shared/" ] || fail "--data"
[ -f "$shared/unins000.dll" ] || fail "no password file in $shared"
[ "$(start)" = "frmPassword $shared/" ] || fail "the folder given with --data is not remembered"
# OMBRISA_DATA beats the remembered folder and is not remembered itself.
# A variable naming a folder without the program's data (a share not mounted) is never seeded.
mkdir -p "$work/vuota"
! OMBRISA_DATA=$work/vuota timeout 60 "$root/usr/bin/ombrisa" --startup-check >/dev/null 2>&1 ||
    fail "an empty OMBRISA_DATA folder was used"
[ ! -e "$work/vuota/unins000.dll" ] || fail "an empty OMBRISA_DATA folder was seeded"
mkdir -p "$work/altra" && : >"$work/altra/Contatti.pro"
[ "$(OMBRISA_DATA=$work/altra start)" = "frmPassword $work/altra/" ] || fail "OMBRISA_DATA"
[ "$(start)" = "frmPassword $shared/" ] || fail "OMBRISA_DATA was remembered"

# The packaged tool works on the same folder.
"$root/usr/bin/ombrisa-tool" generate --dir "$shared" --clients 3 --calls 3 --agents 1 --works 1 >/dev/null || fail "ombrisa-tool generate"
"$root/usr/bin/ombrisa-tool" verify --dir "$shared" >/dev/null || fail "ombrisa-tool verify"
echo "package ok: $(basename "$deb")"
