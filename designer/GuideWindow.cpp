#include "GuideWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// The guide travels inside the program (designer/CMakeLists.txt), pictures and all:
// the help opens on any machine, packaged or built, whatever is installed.
const QString Guide = QStringLiteral("qrc:/ajuda/guia-de-etiquetas.md");

bool isHeading(const QTextBlock &block)
{
    return block.blockFormat().headingLevel() > 0;
}

} // namespace

GuideWindow::GuideWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GuiaEtiquetas"));
    setWindowTitle(QStringLiteral("Guia de etiquetas"));
    TextoGuia = new QTextBrowser;
    TextoGuia->setObjectName(QStringLiteral("TextoGuia"));
    TextoGuia->setOpenExternalLinks(true);
    TextoGuia->setSource(QUrl(Guide), QTextDocument::MarkdownResource);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TextoGuia);
    resize(760, 640);
}

void GuideWindow::showSection(const QString &heading)
{
    for (QTextBlock block = TextoGuia->document()->begin(); block.isValid(); block = block.next()) {
        if (isHeading(block) && block.text() == heading) {
            // The block's place in the document is where the scroll bar must stand for it to be on top.
            TextoGuia->document()->documentLayout()->documentSize(); // lays the document out first
            const int top = int(TextoGuia->document()->documentLayout()->blockBoundingRect(block).top());
            QTextCursor cursor(block);
            TextoGuia->setTextCursor(cursor);
            TextoGuia->verticalScrollBar()->setValue(top);
            return;
        }
    }
}

QString GuideWindow::sectionShown() const
{
    const int top = TextoGuia->verticalScrollBar()->value();
    QString shown;
    for (QTextBlock block = TextoGuia->document()->begin(); block.isValid(); block = block.next()) {
        if (TextoGuia->document()->documentLayout()->blockBoundingRect(block).top() > top + 1)
            break;
        if (isHeading(block))
            shown = block.text();
    }
    return shown;
}

QString guideSection(const SheetReport *report, const CellElement *selected)
{
    if (!selected)
        return report && report->thermal ? QStringLiteral("Relatórios térmicos") : QStringLiteral("O editor de etiquetas");
    switch (selected->kind) {
    case CellElement::Kind::Field:
    case CellElement::Kind::Text:
    case CellElement::Kind::Price:
    case CellElement::Kind::Barcode:
        return QStringLiteral("Os elementos de cada etiqueta");
    default:
        return QStringLiteral("Linhas, quadros, textos girados, QR, DataMatrix, datas e imagens");
    }
}
