// The program entry: the windows and the data module in their order, then the
// event loop until the main window closes.
#include "MessageBoxSink.h"
#include "ProgramOptions.h"
#include "QtTranslations.h"
#include "SelvarApplication.h"
#include "SelvarProgram.h"
#include "TFormSelvarra.h"

#include <QTimer>

namespace {

// SELVAR_SCREENSHOT=file.png: the window paints itself into the file once it is
// up, and the program ends. For documentation and for checking a machine without
// a screen (xvfb-run).
void scheduleScreenshot(QWidget *window, const QString &file)
{
    QTimer::singleShot(1500, window, [window, file] {
        if (!window->grab().save(file))
            qWarning("selvar: could not write %s", qPrintable(file));
        QApplication::quit();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = answerInfoOptions(argc, argv))
        return *answered;
    SelvarApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Selvar"));
    installQtTranslations(&app);
    installMessageBoxSink();

    SelvarProgram program;
    if (!program.start())
        return 0;

    TFormSelvarra *form = program.form();
    form->show();
    form->activateWindow();
    const QString screenshot = qEnvironmentVariable("SELVAR_SCREENSHOT");
    if (!screenshot.isEmpty())
        scheduleScreenshot(form, screenshot);
    return app.exec();
}
