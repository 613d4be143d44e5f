#pragma once

#include <QString>

// What the hand-over of thermal jobs shows on the list panel: the print
// line, "Etiq. Inicial", which file goes now, "Parar envio", "Continuar
// envio", and the panel closing waits behind. The window implements it on
// its widgets; a test records it.
class HandOverScreen
{
public:
    virtual ~HandOverScreen() = default;

    virtual void showPrintLine(const QString &text) = 0;
    virtual QString printLine() const = 0;
    virtual QString startLabelText() const = 0;
    virtual void setStartLabelText(const QString &text) = 0;

    // "Enviando arquivo 3 de 10"; empty when nothing goes.
    virtual void showSendingLine(const QString &text) = 0;
    // "Parar envio": shown while files go, with its caption and whether it may be pressed.
    virtual void showStopSending(bool shown) = 0;
    virtual void setStopSending(const QString &caption, bool enabled) = 0;
    // "Continuar envio (arquivos 6 a 10)"; an empty caption hides the button.
    virtual void showContinueOffer(const QString &caption) = 0;

    // Closing waits for the file under way: the panel that says so, whose
    // "Fechar mesmo assim" ends the wait; then the window closes.
    virtual void showClosingWait(const QString &text) = 0;
    virtual void closeWindow() = 0;
};
