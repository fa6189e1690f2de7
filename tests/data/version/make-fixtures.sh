#!/usr/bin/env bash
# Remakes the Windows PE fixtures of this folder with Debian's mingw-w64
# binutils (package binutils-mingw-w64-x86-64): no C compiler, no C runtime,
# just an entry point that returns, linked with the compiled resources.
#   bash tests/data/version/make-fixtures.sh
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tools=x86_64-w64-mingw32
printf '\t.text\n\t.globl start, _start\nstart:\n_start:\n\tret\n' > "$work/start.s"
# The 64-bit package ships no default script for 32-bit images: this one
# holds just the code and the resources.
cat > "$work/image.x" <<'LD'
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .text __image_base__ + (__section_alignment__ < 0x1000 ? . : __section_alignment__) : { *(.text) }
  .rsrc BLOCK(__section_alignment__) : { KEEP(*(.rsrc)) KEEP(*(SORT(.rsrc$*))) }
  /DISCARD/ : { *(*) }
}
LD
"$tools-as" --64 -o "$work/start64.o" "$work/start.s"
"$tools-as" --32 -o "$work/start32.o" "$work/start.s"

# pe64-version.exe: 64-bit, file version 10.65535.0.7 (parts above 9 in full
# decimal), with a named and a numbered resource of other types around it.
cat > "$work/pe64-version.rc" <<'RC'
1 VERSIONINFO
FILEVERSION 10,65535,0,7
PRODUCTVERSION 3,0,0,0
FILEOS 0x40004
FILETYPE 1
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "041504E2"
    BEGIN
      VALUE "FileVersion", "10.65535.0.7"
      VALUE "ProductName", "Fixture"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x415, 1250
  END
END
NOTES RCDATA { "named resource before the numbered ones" }
7 RCDATA { "resource of type 10" }
RC
"$tools-windres" --preprocessor=cpp -F pe-x86-64 -O coff -o "$work/pe64-version.res.o" "$work/pe64-version.rc"
"$tools-ld" -m i386pep --subsystem windows -e start -s --no-insert-timestamp -T "$work/image.x" \
  -o pe64-version.exe "$work/start64.o" "$work/pe64-version.res.o"

# pe32-version.dll: 32-bit (PE32 optional header), version 1.2.6.2.
cat > "$work/pe32-version.rc" <<'RC'
1 VERSIONINFO
FILEVERSION 1,2,6,2
PRODUCTVERSION 1,2,6,2
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "041504B0"
    BEGIN
      VALUE "FileVersion", "1.2.6.2"
    END
  END
END
RC
"$tools-windres" --preprocessor=cpp -F pe-i386 -O coff -o "$work/pe32-version.res.o" "$work/pe32-version.rc"
"$tools-ld" -m i386pe --dll -e start -s --no-insert-timestamp -T "$work/image.x" \
  -o pe32-version.dll "$work/start32.o" "$work/pe32-version.res.o"

# pe64-noversion.exe: resources, but none of them a version resource.
cat > "$work/pe64-noversion.rc" <<'RC'
1 RCDATA { "no version here" }
RC
"$tools-windres" --preprocessor=cpp -F pe-x86-64 -O coff -o "$work/pe64-noversion.res.o" "$work/pe64-noversion.rc"
"$tools-ld" -m i386pep --subsystem windows -e start -s --no-insert-timestamp -T "$work/image.x" \
  -o pe64-noversion.exe "$work/start64.o" "$work/pe64-noversion.res.o"
