#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop reads from it: every
# file in its place, the desktop entry and the AppStream metadata accepted by their
# validators, each MIME type the entry claims defined by the MIME package, the icon sizes
# as named, and the man pages free of roff warnings.
# Usage: install-check.sh BUILD_DIR. Exit 77 (skipped) when a validator is not installed.
set -euo pipefail
build=$1
scratch=$(mktemp -d /tmp/vorbix-install.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

for f in bin/vorbix bin/vorbix-cli \
  share/applications/vorbix.desktop share/mime/packages/vorbix.xml share/metainfo/org.example.vorbix.metainfo.xml \
  share/icons/hicolor/scalable/apps/vorbix.svg \
  share/vorbix/HELP/INDEX.HTM share/vorbix/DFSROMS/README \
  share/man/man1/vorbix.1.gz share/man/man1/vorbix-cli.1.gz \
  share/doc/vorbix/copyright share/doc/vorbix/changelog.gz; do
  [ -s "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/vorbix-cli" ] || fail "bin/vorbix-cli is not executable"
# The help pages installed are those the program carries.
diff -r "$(dirname "$0")/../../resources/HELP" "$prefix/share/vorbix/HELP" || fail "help pages differ"

# Each PNG has the size its folder names.
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/vorbix.png
  [ -s "$png" ] || fail "missing ${size}x${size} icon"
  file "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done

# Every type the desktop entry opens is one the MIME package defines, and back.
claimed=$(sed -n 's/^MimeType=//p' "$prefix/share/applications/vorbix.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
defined=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$prefix/share/mime/packages/vorbix.xml" | sort)
[ -n "$claimed" ] || fail "the desktop entry claims no MIME type"
[ "$claimed" = "$defined" ] || fail "desktop entry types <$claimed> differ from the MIME package's <$defined>"
provided=$(sed -n 's/.*<mediatype>\([^<]*\)<.*/\1/p' "$prefix/share/metainfo/org.example.vorbix.metainfo.xml" | sort)
[ "$claimed" = "$provided" ] || fail "metainfo media types <$provided> differ from the desktop entry's"

# The MIME package compiles; a glob of it resolves to its type.
if command -v update-mime-database >/dev/null; then
  out=$(XDG_DATA_DIRS=$prefix/share update-mime-database "$prefix/share/mime" 2>&1) || fail "update-mime-database: $out"
  [ -z "$out" ] || fail "update-mime-database: $out"
  grep -q '^application/x-bbc-ssd-disk-image:\*\.ssd$' "$prefix/share/mime/globs" || fail "*.ssd is not a BBC disk image"
  # An ADFS image is told by its root directory's "Hugo" (here without a name to go by);
  # an *.img stays a raw disk image.
  if command -v gio >/dev/null; then
    head -c 513 /dev/zero >"$scratch/acorn-disk"; printf 'Hugo' >>"$scratch/acorn-disk"; head -c 2000 /dev/zero >>"$scratch/acorn-disk"
    head -c 2560 /dev/zero >"$scratch/disk.img"
    type_of() { XDG_DATA_HOME=$prefix/share gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
    [ "$(type_of "$scratch/acorn-disk")" = application/x-acorn-adfs-disk-image ] || fail "acorn-disk: $(type_of "$scratch/acorn-disk")"
    [ "$(type_of "$scratch/disk.img")" != application/x-acorn-adfs-disk-image ] || fail "any *.img is taken for an ADFS image"
  fi
fi

for page in vorbix vorbix-cli; do
  warnings=$(zcat "$prefix/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done

skipped=0
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/vorbix.desktop" || fail "desktop-file-validate"
  echo "desktop-file-validate: ok"
else
  echo "desktop-file-validate not installed (desktop-file-utils)"; skipped=1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.example.vorbix.metainfo.xml" \
    || fail "appstreamcli validate"
else
  echo "appstreamcli not installed (appstream)"; skipped=1
fi
[ "$skipped" -eq 0 ] || exit 77
