#pragma once

#include <QDialog>

#include <functional>

// Every modal window of the report engine (the output options, the preview)
// is run through here. The program runs them for real; a test installs a hook
// that drives the dialog it is handed (sets fields, clicks buttons) and returns
// the dialog's result, so no modal loop ever waits for a person.
namespace ReportModal {

using Hook = std::function<int(QDialog &dialog)>;

int exec(QDialog &dialog);

// Returns the previous hook, so a test can put it back; an empty hook restores exec().
Hook setHook(Hook hook);

} // namespace ReportModal
