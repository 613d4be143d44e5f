// selvar-designer, the label designer ("Editor de etiquetas"): opens the
// report project and draws its labels at true size, as they print.
#include "DesignerCommandLine.h"
#include "DesignerWindow.h"
#include "Messages.h"
#include "QtTranslations.h"
#include "SaveQuestion.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (isCommandLineRun(arguments)) {
        // Scripts and installers run it without a screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("selvar-designer"));
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runCommandLine(app.arguments(), out, err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("selvar-designer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Editor de etiquetas"));
    installQtTranslations(&app);
    DesignerWindow window;
    Messages::setSink([&window](const QString &text) { QMessageBox::information(&window, QStringLiteral("Editor de etiquetas"), text); });
    Messages::setQuestionSink([&window](const QString &text) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Editor de etiquetas"), text, QMessageBox::Yes | QMessageBox::No, &window);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Sim"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Não"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    });
    Messages::setChoiceSink([&window](const QString &text) {
        const std::unique_ptr<QMessageBox> box = saveQuestionBox(text, &window);
        box->exec();
        return saveQuestionAnswer(*box);
    });
    window.openProject(projectToOpen(app.arguments()));
    window.show();
    return app.exec();
}
