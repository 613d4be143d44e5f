#!/bin/sh
# Every program of an unpacked package ($1) has its manual page, for pt_BR and
# as the plain man1 page, and the page says what the program's --help says:
# the usage, the description and every option with its text. Both are written
# from one source; this catches a program that prints a help of its own, or a
# page renderer that drops or garbles something.
set -eu
root=$1
fail() { echo "check-manuals: $*" >&2; exit 1; }
# One line, blanks collapsed, the typographic minus and hyphen groff prints read as "-".
flat() { sed 's/\xe2\x88\x92/-/g; s/\xe2\x80\x90/-/g' | tr -s ' \n\t' '   ' | sed 's/^ //; s/ $//'; }

for bin in "$root"/usr/bin/*; do
  p=$(basename "$bin")
  for dir in man/pt_BR/man1 man/man1; do
    [ -f "$root/usr/share/$dir/$p.1.gz" ] || fail "$p sem página de manual em /usr/share/$dir"
  done
  page=$root/usr/share/man/pt_BR/man1/$p.1.gz
  found=$(MANPATH="$root/usr/share/man" man -L pt_BR -w "$p")
  [ "$found" = "$page" ] || fail "$p: man num ambiente pt_BR acha '$found', não a página em pt_BR"
  cmp -s "$page" "$root/usr/share/man/man1/$p.1.gz" || fail "$p: as páginas de man1 e pt_BR/man1 diferem"
  man_text=$(MANWIDTH=100 LC_ALL=C.UTF-8 man -l -E UTF-8 "$page" 2>&1 | sed 's/.\x08//g' | flat)
  help=$("$bin" --help 2>/dev/null)
  echo "$man_text" | grep -q "^$(echo "$p" | tr a-z A-Z)(1) " || fail "$p: a página não abre com o título $p(1): $man_text"
  usage=$(echo "$help" | sed -n 's/^Uso: //p' | flat)
  echo "$man_text" | grep -qF "SINOPSE $usage DESCRIÇÃO" || fail "$p: a sinopse da página não é o uso do --help ($usage)"
  description=$(echo "$help" | sed -n '3,/^$/p' | flat)
  echo "$man_text" | grep -qF "DESCRIÇÃO $description" || fail "$p: a descrição da página não é a do --help ($description)"
  options=$(echo "$help" | sed -n '/^Opções:$/,$p' | tail -n +2)
  [ -n "$options" ] || fail "$p: --help sem opções"
  echo "$options" | while IFS= read -r line; do
    names=$(echo "$line" | sed 's/^  //; s/  .*//')
    text=$(printf '%s' "${line#"  $names"}" | flat)
    echo "$man_text" | grep -qF -- "$names $text" || fail "$p: a opção '$names' não está na página como no --help: '$text'"
  done
done
echo "check-manuals: ok"
