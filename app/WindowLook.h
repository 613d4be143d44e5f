#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QStyle>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The look of the suite's windows: its colours, fonts and the few kinds of
// control the main window is made of, each placed at its pixel position.
namespace WindowLook {

inline const QColor Navy{0, 0, 128};
inline const QColor Maroon{128, 0, 0};
inline const QColor Teal{0, 128, 128};
inline const QColor Red{255, 0, 0};
inline const QColor DesktopBackground{58, 110, 165};

QFont formFont(); // the suite's 8-point dialog font
QFont boldFont(); // the same, bold

void setTextColor(QWidget *widget, QPalette::ColorRole role, const QColor &color);

// A panel with a lowered inner bevel.
QFrame *makePanel(QWidget *parent, const QString &name);

// A button with a picture; an invalid colour keeps the default caption colour and font.
QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &bounds,
                        const QColor &captionColor = QColor(), QStyle::StandardPixmap picture = QStyle::SP_CustomBase);

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, const QPoint &at, const QColor &color,
                  const QFont &font);

QLineEdit *makeEdit(QWidget *parent, const QString &name, const QRect &bounds);

template <typename Control>
Control *makeHidden(QWidget *parent, const char *name)
{
    auto *control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->hide();
    return control;
}

} // namespace WindowLook
