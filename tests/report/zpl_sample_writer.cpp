// Writes the ZPL command file of one label with every kind of element a
// thermal report draws (a logo, a frame, lines, a turned price, a turned
// EAN-13, a QR code, a DataMatrix and a date), for scripts/zpl-crosscheck to
// have it imaged by a renderer that is not ours; and reads back with
// zxing-cpp what that renderer drew.
//
//   selvar-zpl-sample <folder>              -> <folder>/Etiq001.txt, <folder>/logo.png
//   selvar-zpl-sample --decode <png> <dpmm> -> the QR code's, the DataMatrix's
//                                              and the EAN-13's texts, one a line
//   selvar-zpl-sample --preview <folder> <png> -> the thermal preview of that file, grabbed
#include "ProjectParser.h"
#include "ReportTestKit.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--preview") {
        QFile file(QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("Etiq001.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        ThermalPreviewDialog preview({file.readAll()}, 203, PreviewStock{QSizeF(60, 40), {0}});
        preview.ComboZoom->setCurrentIndex(preview.ComboZoom->findData(200));
        preview.resize(900, 760);
        preview.show();
        return preview.grab().save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    }
    if (argc == 4 && QByteArray(argv[1]) == "--decode") {
        const QImage label(QString::fromLocal8Bit(argv[2]));
        const double k = QByteArray(argv[3]).toDouble();
        const auto area = [&](double x, double y, double w, double h) { return label.copy(QRectF(x * k, y * k, w * k, h * k).toRect()); };
        QTextStream out(stdout);
        out << ReportTestKit::decodeMatrixImage(area(1, 23.5, 16, 16)) << Qt::endl;
        out << ReportTestKit::decodeMatrixImage(area(19.5, 25.5, 11, 11)) << Qt::endl;
        out << ReportTestKit::decodeImage(area(42.5, 1, 10, 38)) << Qt::endl;
        return label.isNull() ? 1 : 0;
    }
    if (argc != 2) {
        QTextStream(stderr) << "uso: selvar-zpl-sample <pasta> | --decode <png> <pontos por mm>" << Qt::endl;
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QImage logo(300, 100, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(5, 5, 90, 90));
    painter.fillRect(QRect(110, 20, 180, 25), Qt::black);
    painter.fillRect(QRect(110, 60, 120, 15), QColor(80, 80, 80));
    painter.end();
    logo.save(folder.filePath(QStringLiteral("logo.png")));

    const QString text = QStringLiteral(
        "ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n margens esquerda=0 topo=0\n etiqueta largura=60 altura=40\nfim\n"
        "relatorio \"Todos\"\n termica linguagem=ZPL resolucao=203\n etiqueta largura=60 altura=40\n"
        " quadro x=0 y=0 largura=60 altura=40 espessura=0.5\n"
        " imagem \"logo.png\" x=1.5 y=1.5 largura=37.5 altura=12.5\n"
        " linha x=1.5 y=14.5 largura=40 espessura=0.375\n"
        " campo COMPONENTE x=1.5 y=15.5 largura=40 altura=4 tamanho=8\n"
        " data \"dd/mm/aaaa\" x=1.5 y=20 largura=20 altura=3.5 tamanho=7 meses=6\n"
        " preco PRECO1 x=53 y=1.5 largura=5.5 altura=22 tamanho=12 rotacao=90\n"
        " barras CODIGOEAN x=43 y=1.5 largura=9 altura=37 rotacao=270\n"
        " qr \"https://farmacia.example/p/\" + CODIGOEAN x=1.5 y=24 largura=15 altura=15\n"
        " datamatrix CODIGOEAN x=20 y=26 largura=10 altura=10\n"
        "fim\n");
    const ReportProject project = parseReportProject(text, folder.filePath(QStringLiteral("Selvar.rav")));
    LabelRecord row;
    row.set(QStringLiteral("CODIGO"), {QStringLiteral("000001"), QStringLiteral("000001")});
    row.set(QStringLiteral("COMPONENTE"), {QStringLiteral("Dipirona Sódica 500 mg"), {}});
    row.set(QStringLiteral("CODIGOEAN"), {QStringLiteral("7891058017392"), QStringLiteral("7891058017392")});
    row.set(QStringLiteral("PRECO1"), {QStringLiteral("4,50"), QStringLiteral("4.50")});
    QFile file(folder.filePath(QStringLiteral("Etiq001.txt")));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(thermalCommandFiles(*project.findReport(QStringLiteral("Todos")), {row}, QPointF()).value(0));
    QTextStream(stdout) << "https://farmacia.example/p/7891058017392" << Qt::endl;
    return 0;
}
