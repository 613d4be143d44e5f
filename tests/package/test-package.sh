#!/bin/sh
# The Debian package as an installer gets it: built by CPack from the install
# rules of the build folder ($1), its file list and dependencies checked,
# unpacked into a throw-away root and its programs run from there. With
# SELVAR_TEST_DPKG=1 (as root, on a machine of its own) it is also installed
# with dpkg -i and removed again. Debian's own checks judge it: lintian (no
# error, no warning), appstreamcli and desktop-file-validate; each is required
# under CI, where scripts/install-deps has put them.
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "test-package: $*" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
# A checker missing outside CI is said and skipped; under CI it is a failure.
have() {
  command -v "$1" >/dev/null 2>&1 && return 0
  [ "${CI:-}" = true ] && fail "$1 não está instalado (scripts/install-deps o instala)"
  echo "test-package: $1 não está instalado; verificação pulada" >&2
  return 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack falhou"; }
deb=$(ls "$work"/out/selvar_*.deb)
version=$(dpkg-deb -f "$deb" Version)

dpkg-deb -c "$deb" >"$work/list"
for f in usr/bin/selvar usr/bin/selvar-barcode usr/bin/selvar-setup-station usr/bin/selvar-label-preview usr/bin/selvar-designer \
         usr/share/selvar/schema.sql usr/share/selvar/BOTICON.INI usr/share/selvar/Selvar.rav \
         usr/share/selvar/ImprEtiq.bat usr/share/applications/selvar.desktop usr/share/applications/selvar-designer.desktop \
         usr/share/icons/hicolor/scalable/apps/selvar.svg usr/share/metainfo/br.com.selvar.selvar.metainfo.xml \
         usr/share/doc/selvar/copyright usr/share/doc/selvar/changelog.gz usr/share/doc/selvar/guia-do-balconista.md \
         usr/share/doc/selvar/guia-de-instalacao.md usr/share/doc/selvar/guia-de-etiquetas.md \
         usr/share/icons/hicolor/16x16/apps/selvar.png usr/share/icons/hicolor/32x32/apps/selvar.png \
         usr/share/icons/hicolor/48x48/apps/selvar.png usr/share/icons/hicolor/64x64/apps/selvar.png \
         usr/share/icons/hicolor/128x128/apps/selvar.png usr/share/icons/hicolor/256x256/apps/selvar.png; do
  grep -q " \./$f\$" "$work/list" || { cat "$work/list" >&2; fail "o pacote não tem $f"; }
done
# Nothing of the build or of the tests slips into the package.
! grep -qE "tst_|test_|selvar-bench|\.a\$|/include/" "$work/list" || { cat "$work/list" >&2; fail "o pacote leva arquivos de teste ou de construção"; }

depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6core6 libqt6widgets6 libqt6sql6 libqt6printsupport6 libqt6sql6-ibase libfbclient2 qt6-qpa-plugins fonts-liberation2; do
  echo "$depends" | grep -q "$d" || fail "Depends sem $d: $depends"
done

if have lintian; then
  # Informational tags may stay; an error or a warning fails.
  lintian --fail-on error,warning --display-info "$deb" >"$work/lintian" 2>&1 || { cat "$work/lintian" >&2; fail "lintian recusa o pacote"; }
  cat "$work/lintian"
fi

dpkg-deb -x "$deb" "$work/root"
if have appstreamcli; then
  # No network here: the screenshots' addresses are not fetched.
  appstreamcli validate --no-net "$work/root/usr/share/metainfo/br.com.selvar.selvar.metainfo.xml" >"$work/appstream" 2>&1 ||
    { cat "$work/appstream" >&2; fail "appstreamcli recusa o metainfo"; }
  ! grep -q "^W:" "$work/appstream" || { cat "$work/appstream" >&2; fail "appstreamcli avisa sobre o metainfo"; }
fi
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/br.com.selvar.selvar.metainfo.xml" ||
  fail "o metainfo não tem a versão $version entre as releases"
if have desktop-file-validate; then
  for entry in "$work"/root/usr/share/applications/*.desktop; do
    out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
  done
fi
for size in 16 32 48 64 128 256; do
  icon="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/selvar.png"
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  [ "$dims" = "${size}x${size}" ] || fail "o ícone de ${size}x${size} tem $dims"
done
if have man; then
  sh "$here/check-manuals.sh" "$work/root"
fi
sh "$here/check-guides.sh" "$work/root" "$here/../.." "$deb"
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
