#!/bin/sh
# The Debian package as an installer gets it: built by CPack from the install
# rules of the build folder ($1), its file list and dependencies checked,
# unpacked into a throw-away root and its programs run from there. With
# SELVAR_TEST_DPKG=1 (as root, on a machine of its own) it is also installed
# with dpkg -i and removed again.
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "test-package: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack falhou"; }
deb=$(ls "$work"/out/selvar_*.deb)
version=$(dpkg-deb -f "$deb" Version)

dpkg-deb -c "$deb" >"$work/list"
for f in usr/bin/selvar usr/bin/selvar-barcode usr/bin/selvar-setup-station usr/bin/selvar-label-preview usr/bin/selvar-designer \
         usr/share/selvar/schema.sql usr/share/selvar/BOTICON.INI usr/share/selvar/Selvar.rav \
         usr/share/selvar/ImprEtiq.bat usr/share/applications/selvar.desktop usr/share/applications/selvar-designer.desktop \
         usr/share/icons/hicolor/scalable/apps/selvar.svg; do
  grep -q " \./$f\$" "$work/list" || { cat "$work/list" >&2; fail "o pacote não tem $f"; }
done
# Nothing of the build or of the tests slips into the package.
! grep -qE "tst_|test_|selvar-bench|\.a\$|/include/" "$work/list" || { cat "$work/list" >&2; fail "o pacote leva arquivos de teste ou de construção"; }

depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6core6 libqt6widgets6 libqt6sql6 libqt6printsupport6 libqt6sql6-ibase libfbclient2 qt6-qpa-plugins; do
  echo "$depends" | grep -q "$d" || fail "Depends sem $d: $depends"
done

dpkg-deb -x "$deb" "$work/root"
for p in selvar selvar-barcode selvar-setup-station selvar-label-preview selvar-designer; do
  said=$("$work/root/usr/bin/$p" --version)
  [ "$said" = "$p $version" ] || fail "$p --version disse '$said', esperado '$p $version'"
done
"$work/root/usr/bin/selvar" --help | grep -q "^Uso: selvar" || fail "selvar --help não mostra o uso"
"$work/root/usr/bin/selvar-designer" --check "$work/root/usr/share/selvar/Selvar.rav" >/dev/null || fail "selvar-designer --check recusou o Selvar.rav instalado"

# A counter set up as the README tells an installer, from the unpacked files
# alone: the database from the installed schema, BOTICON.INI from the sample,
# the station by the set-up command. The installed program then finds all of
# it in the suite folder without being told its own folder.
suite="$work/suite"
mkdir -p "$suite/dados"
{ printf "CREATE DATABASE '%s' USER 'SYSDBA' PASSWORD 'quiltmarr' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n" "$suite/dados/boticon.bd"
  cat "$work/root/usr/share/selvar/schema.sql"; } >"$work/create.sql"
isql-fb -q -sqldialect 3 -i "$work/create.sql" || fail "o schema instalado não cria o banco"
cp "$work/root/usr/share/selvar/BOTICON.INI" "$suite/"
"$work/root/usr/bin/selvar-setup-station" --suite "$suite" --station 01 --user balconista \
  --printer "$suite/impressora.prn" >"$work/setup.log" || { cat "$work/setup.log" >&2; fail "selvar-setup-station falhou"; }
[ -f "$suite/Interfac01/ImprEtiq.bat" ] && [ -f "$suite/rpt/Selvar.rav" ] || fail "a estação ficou sem seus arquivos"
env -u SELVAR_EXE_FOLDER BOTICON_ROOT="$suite" SELVAR_USER=balconista SELVAR_SCREENSHOT="$work/janela.png" \
  QT_QPA_PLATFORM=offscreen timeout 120 "$work/root/usr/bin/selvar" || fail "o selvar instalado não abriu a janela"
[ -s "$work/janela.png" ] || fail "o selvar instalado não pintou a janela"

if [ "${SELVAR_TEST_DPKG:-}" = 1 ]; then
  dpkg -i "$deb" >/dev/null
  said=$(/usr/bin/selvar --version)
  dpkg -r selvar >/dev/null
  [ "$said" = "selvar $version" ] || fail "selvar instalado disse '$said'"
  [ ! -e /usr/bin/selvar ] && [ ! -e /usr/share/selvar ] || fail "dpkg -r deixou arquivos para trás"
fi
echo "test-package: $(basename "$deb") ok"
