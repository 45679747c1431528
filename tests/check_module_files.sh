#!/usr/bin/env bash
# check_module_files.sh TARGET MODULE...: checks built gauge modules as files.
#   TARGET windows: PE DLL exporting exactly Linkage and ImportTable (data), importing only
#                   KERNEL32/USER32/msvcrt, with the version resource 1.0 (1.0.0.0).
#   TARGET linux32: ELF shared object exporting exactly Linkage and ImportTable (objects),
#                   needing only the C library (and the sanitizer runtimes when
#                   ALLOW_SANITIZER_LIBS is set).
set -uo pipefail
target=$1; shift
fail=0
bad() { echo "FAIL $(basename "$m"): $*"; fail=1; }

for m in "$@"; do
  name=$(basename "$m" .gau)
  before=$fail; fail=0
  if [ "$target" = windows ]; then
    dump=$(i686-w64-mingw32-objdump -p "$m") || { bad "objdump failed"; continue; }
    file -b "$m" | grep -q 'PE32 executable (DLL).*Intel 80386' || bad "not a 32-bit x86 PE DLL: $(file -b "$m")"
    exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF;next} t&&!/^[ \t]*\[/{t=0}' | sort | tr '\n' ' ')
    [ "$exports" = "ImportTable Linkage " ] || bad "exports are '$exports', want exactly ImportTable and Linkage"
    imports=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
    for dll in $imports; do
      case "$dll" in KERNEL32.DLL|USER32.DLL|MSVCRT.DLL) ;; *) bad "imports $dll" ;; esac
    done
    strs=$(strings -el -n 3 "$m")
    want_product="FS2004 Gauge"; [ "$name" = Kv_InfoStrip ] && want_product="FS2002 Gauge"
    for pair in "CompanyName=none" "ProductName=$want_product" "FileVersion=1.0" "ProductVersion=1.0" \
                "OriginalFilename=$name.gau"; do
      key=${pair%%=*}; val=${pair#*=}
      printf '%s\n' "$strs" | grep -A1 -x "$key" | tail -n1 | grep -qx "$val" || bad "version string $key is not '$val'"
    done
    desc=$(printf '%s\n' "$strs" | grep -A1 -x FileDescription | tail -n1)
    [ -n "$desc" ] && [ "$desc" != FileDescription ] || bad "no FileDescription"
    # VS_FIXEDFILEINFO: signature, struct version, then file MS/LS and product MS/LS.
    off=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$m" | head -n1 | cut -d: -f1)
    if [ -z "$off" ]; then bad "no fixed version info"; else
      words=$(od -An -tx4 -j $((off + 8)) -N16 "$m" | tr -s ' ' | sed 's/^ //')
      [ "$words" = "00010000 00000000 00010000 00000000" ] || bad "fixed versions are '$words', want 1.0.0.0"
    fi
  else
    file -b "$m" | grep -q 'ELF 32-bit LSB shared object, Intel 80386' || bad "not a 32-bit x86 ELF shared object"
    exports=$(readelf --dyn-syms -W "$m" | awk '$5=="GLOBAL"||$5=="WEAK"{ if ($7!="UND") print $8 "/" $4 }' | sort | tr '\n' ' ')
    [ "$exports" = "ImportTable/OBJECT Linkage/OBJECT " ] || bad "exports are '$exports', want exactly the objects ImportTable and Linkage"
    for lib in $(readelf -d "$m" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
      case "$lib" in
        libc.so.6|libm.so.6) ;;
        libasan.so.*|libubsan.so.*|libstdc++.so.*|libgcc_s.so.*)
          [ -n "${ALLOW_SANITIZER_LIBS:-}" ] || bad "needs $lib" ;;
        *) bad "needs $lib" ;;
      esac
    done
  fi
  [ $fail = 0 ] && echo "ok   $name"
  [ $before = 1 ] && fail=1
done
[ $# -gt 0 ] || { echo "no modules given"; exit 1; }
exit $fail
