#include "WindowLook.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace WindowLook {

QFont formFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont boldFont()
{
    QFont font = formFont();
    font.setBold(true);
    return font;
}

void setTextColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(role, color);
    widget->setPalette(p);
}

QFrame *makePanel(QWidget *parent, const QString &name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    return panel;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &bounds,
                        const QColor &captionColor, QStyle::StandardPixmap picture)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(bounds);
    if (captionColor.isValid()) {
        QFont font = formFont();
        font.setPointSize(10);
        font.setBold(true);
        button->setFont(font);
        // Only the enabled look takes the colour, so a disabled button still greys out.
        QPalette p = button->palette();
        p.setColor(QPalette::Active, QPalette::ButtonText, captionColor);
        p.setColor(QPalette::Inactive, QPalette::ButtonText, captionColor);
        button->setPalette(p);
    }
    if (picture != QStyle::SP_CustomBase) {
        button->setIcon(button->style()->standardIcon(picture));
        button->setIconSize(bounds.height() >= 60 ? QSize(32, 32) : QSize(16, 16));
    }
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, const QPoint &at, const QColor &color,
                  const QFont &font)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(font);
    setTextColor(label, QPalette::WindowText, color);
    label->adjustSize();
    label->move(at);
    return label;
}

QLineEdit *makeEdit(QWidget *parent, const QString &name, const QRect &bounds)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    QFont font = formFont();
    font.setPointSize(10);
    edit->setFont(font);
    edit->setGeometry(bounds);
    return edit;
}

} // namespace WindowLook
