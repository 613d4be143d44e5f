#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

// The program's own message boxes (installMessageBoxSink), answered as a clerk
// answers them: each box is recorded as it opens and then answered by
// `answer` from inside its own loop, once it is up and takes input. A test
// that needs something done while a box waits (a server started again) does
// it in `answer`, before the key or click.
class RealBoxes : public QObject
{
public:
    using Answer = std::function<void(QMessageBox &box)>;
    explicit RealBoxes(Answer answer) : m_answer(std::move(answer)) { qApp->installEventFilter(this); }
    ~RealBoxes() override { qApp->removeEventFilter(this); }

    // The texts of the boxes shown so far, in order, and their buttons.
    QStringList texts;
    QList<QStringList> buttons;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (!box || event->type() != QEvent::Show)
            return false;
        texts << box->text();
        QStringList names;
        for (QAbstractButton *button : box->buttons())
            names << button->text();
        buttons << names;
        QTimer::singleShot(0, box, [this, shown = QPointer<QMessageBox>(box)] {
            if (shown && QApplication::activeModalWidget() == shown)
                m_answer(*shown);
        });
        return false;
    }

private:
    Answer m_answer;
};
