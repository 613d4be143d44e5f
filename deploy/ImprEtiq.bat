#!/bin/sh
# ImprEtiq.bat - hands one label command file to the thermal printer.
#
# Selvar runs this file once per command file, one run at a time and in file
# order, with two arguments:
#   $1  the command file, e.g. /opt/boticon/InterfacXX/Etiq001.txt
#   $2  the station's printer path (ROTULO1 of its ESTACOES row)
# Selvar waits for every run and looks at how it ends: an exit code other than
# 0 stops the printing there, and the message shows the last line this file
# wrote to its error output.
#
# The printer path may name:
#   /dev/usb/lp0          a USB thermal printer (the station's user must be
#                         allowed to write it, e.g. as a member of group lp)
#   cups:ZEBRA or ZEBRA   the CUPS raw queue ZEBRA (a path without "/" names
#                         a queue; selvar-setup-station --cups-raw-queue makes
#                         one): the file goes through lp -d ZEBRA -o raw,
#                         untouched by any driver
#   /var/spool/etiq.prn   a plain file, to see what would be printed: every
#                         command file is added at its end, so it holds the
#                         whole job in order (empty it by hand between tries)
#
# Argox printers read these files only when set to their PPLB language.
[ $# -ge 2 ] || { echo "uso: $0 ARQUIVO IMPRESSORA" >&2; exit 2; }
[ -n "$2" ] || { echo "a estação não tem impressora de etiquetas (ROTULO1 vazio em ESTACOES)" >&2; exit 2; }
[ -r "$1" ] || { echo "arquivo de etiquetas ilegível: $1" >&2; exit 2; }
case "$2" in
  cups:*) exec lp -d "${2#cups:}" -o raw "$1" > /dev/null ;;
  */*) ;;
  *) exec lp -d "$2" -o raw "$1" > /dev/null ;;
esac
# Appending writes a device just as a plain copy does, and never wipes what
# earlier files of the job left in a plain file.
cat "$1" >> "$2"
