#include "ReportModal.h"

namespace {

ReportModal::Hook &currentHook()
{
    static ReportModal::Hook hook;
    return hook;
}

} // namespace

int ReportModal::exec(QDialog &dialog)
{
    if (currentHook())
        return currentHook()(dialog);
    return dialog.exec();
}

ReportModal::Hook ReportModal::setHook(Hook hook)
{
    Hook previous = std::move(currentHook());
    currentHook() = std::move(hook);
    return previous;
}
