#include "ReportStatusWindow.h"

#include <QLabel>
#include <QVBoxLayout>

ReportStatusWindow::ReportStatusWindow(const QString &title, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportStatus"));
    setWindowTitle(title);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("StatusLabel"));
    m_label->setMinimumWidth(260);
    m_label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
}

void ReportStatusWindow::showPage(const QString &pattern, int page)
{
    m_label->setText(QString(pattern).replace(QStringLiteral("%p"), QString::number(page)));
    if (!isVisible())
        show();
    repaint();
}

QString ReportStatusWindow::text() const
{
    return m_label->text();
}
