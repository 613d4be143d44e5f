#include "Guarded.h"

#include "DatabaseErrors.h"
#include "Messages.h"
#include "SelvarError.h"

#include <QString>
#include <exception>

bool guarded(const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const SelvarError &error) {
        Messages::show(userMessage(error));
    } catch (const std::exception &error) {
        Messages::show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
