#!/bin/sh
# The guides in docs/ ($2, the source tree) name only what exists: every
# command line of their ```sh blocks starts with a command this machine or the
# unpacked package ($1) has, our programs' options are in their --help, an
# option quoted alone is one of theirs, the package's paths (/usr/...) are in
# the package, /etc/ paths on the machine, the repository's paths in the tree,
# the .deb named is the one built ($3), and the guides they link exist.
set -eu
root=$1
src=$2
deb=$3
fail() { echo "check-guides: $*" >&2; exit 1; }
PATH=$PATH:/usr/sbin:/sbin

# The program's --help, for an option check: empty when it is not ours.
help_of() { [ -x "$root/usr/bin/$1" ] && "$root/usr/bin/$1" --help 2>/dev/null || true; }

check_command() { # guide, one command (no pipes or separators left)
  set -f
  # shellcheck disable=SC2086
  set -- "$1" $2
  set +f
  guide=$1
  shift
  [ $# -gt 0 ] || return 0
  [ "$1" = sudo ] && shift
  cmd=$1
  case $cmd in
    selvar*) [ -x "$root/usr/bin/$cmd" ] || fail "$guide: $cmd não é um programa do pacote" ;;
    *) command -v "$cmd" >/dev/null || fail "$guide: o comando $cmd não existe nesta máquina" ;;
  esac
  help=$(help_of "$cmd")
  for word in "$@"; do
    case $word in
      --*) [ -z "$help" ] || echo "$help" | grep -qE -- "(^|[ ,])${word%%=*}( |,|$)" || fail "$guide: $cmd não tem a opção $word" ;;
      *selvar_*.deb) [ "$(basename "$word")" = "$(basename "$deb")" ] || fail "$guide: $word não é o pacote construído, $(basename "$deb")" ;;
    esac
  done
}

all_help=""
for p in "$root"/usr/bin/*; do all_help="$all_help
$("$p" --help 2>/dev/null)"; done

for guide in "$src"/docs/*.md; do
  name=$(basename "$guide")
  # Command lines: the ```sh blocks, quoted texts blanked, cut at ; && || | { }.
  awk '/^```/ { inside = ($0 == "```sh"); next } inside' "$guide" | sed 's/"[^"]*"/""/g' |
    sed 's/&&/\n/g; s/||/\n/g; s/[;|{}]/\n/g; s/>.*//' | while IFS= read -r line; do
      check_command "$name" "$line"
    done
  # Everything quoted: inline code and code blocks of any kind.
  code=$( { awk '/^```/ { inside = !inside; next } inside' "$guide"; grep -oE '`[^`]+`' "$guide" | tr -d '`'; } )
  echo "$code" | grep -oE '(^|[ "(=])/(usr|etc)/[A-Za-z0-9._/+-]*' | sed 's/^[ "(=]//' | sort -u | while read -r path; do
    case $path in
      /usr/*) [ -e "$root$path" ] || fail "$name: $path não está no pacote" ;;
      /etc/*) [ -e "$path" ] || fail "$name: $path não existe nesta máquina" ;;
    esac
  done
  echo "$code" | grep -oE '(^|[ "(=])(scripts|deploy|docs|tests)/[A-Za-z0-9._/-]*' | sed 's/^[ "(=]//' | sort -u | while read -r path; do
    [ -e "$src/$path" ] || fail "$name: $path não existe no repositório"
  done
  grep -oE '`--[a-z][a-z0-9-]*`' "$guide" | tr -d '`' | sort -u | while read -r option; do
    echo "$all_help" | grep -qE -- "(^|[ ,])$option( |,|$)" || fail "$name: nenhum programa tem a opção $option"
  done
  grep -oE '`selvar[a-z-]*( [^`]*)?`' "$guide" | tr -d '`' | while IFS= read -r line; do
    check_command "$name" "$line"
  done
  grep -oE '\]\([^)#]+\.md\)' "$guide" | sed 's/^](//; s/)$//' | while read -r link; do
    [ -f "$src/docs/$link" ] || fail "$name: o guia $link não existe"
  done
done
echo "check-guides: ok"
