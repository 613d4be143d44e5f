#!/bin/sh
# ImprEtiq.bat - entrega um arquivo de comandos de etiquetas à impressora térmica.
#
# O Selvar roda este arquivo uma vez para cada arquivo de comandos, um de cada
# vez e na ordem dos arquivos, com dois argumentos:
#   $1  o arquivo de comandos, por exemplo /opt/boticon/InterfacXX/Etiq001.txt
#   $2  o caminho da impressora da estação (ROTULO1 da sua linha em ESTACOES)
# O Selvar espera cada execução e olha como ela termina: um código de saída
# diferente de 0 para a impressão ali, e a mensagem mostra a última linha que
# este arquivo escreveu na sua saída de erros.
#
# O caminho da impressora pode ser:
#   /dev/usb/lp0          uma impressora térmica USB (o usuário da estação
#                         precisa poder escrever nela, por exemplo no grupo lp)
#   cups:ZEBRA ou ZEBRA   a fila crua ZEBRA do CUPS (um caminho sem "/" é uma
#                         fila; selvar-setup-station --cups-raw-queue cria uma):
#                         o arquivo vai por lp -d ZEBRA -o raw, sem passar por
#                         nenhum driver
#   /var/spool/etiq.prn   um arquivo comum, para ver o que seria impresso: cada
#                         arquivo de comandos é acrescentado no fim, e ele guarda
#                         o trabalho inteiro em ordem (esvazie-o à mão entre os
#                         testes)
#
# As impressoras Argox só leem estes arquivos na linguagem PPLB.
[ $# -ge 2 ] || { echo "uso: $0 ARQUIVO IMPRESSORA" >&2; exit 2; }
[ -n "$2" ] || { echo "a estação não tem impressora de etiquetas (ROTULO1 vazio em ESTACOES)" >&2; exit 2; }
[ -r "$1" ] || { echo "arquivo de etiquetas ilegível: $1" >&2; exit 2; }
case "$2" in
  cups:*) exec lp -d "${2#cups:}" -o raw "$1" > /dev/null ;;
  */*) ;;
  *) exec lp -d "$2" -o raw "$1" > /dev/null ;;
esac
# Acrescentar escreve num dispositivo como uma cópia comum escreveria, e
# nunca apaga o que os arquivos anteriores do trabalho deixaram num arquivo comum.
cat "$1" >> "$2"
