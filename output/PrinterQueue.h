#pragma once

#include <QString>

// The printer path of a station may name a CUPS queue. A queue that is
// missing, disabled or refuses jobs takes the files and keeps them, or drops
// them, and the batch file still ends well; so the queue is asked before a job
// is written. Only a path that names a queue is asked: "cups:ZEBRA" always,
// a bare "ZEBRA" when the scheduler knows it. Anything else (a device, a
// file, a host address, a Windows port or share) belongs to the site's
// ImprEtiq.bat and goes to it untouched.
namespace PrinterQueue {

struct Target
{
    QString queue;       // empty: nothing to ask
    bool marked = false; // "cups:": a queue for sure, so one unknown to the scheduler is an error
};

// What the path names, without asking anyone: "cups:Q" → Q, marked; a bare
// name that could be a queue → that name, unmarked; a path with "/" or "\",
// an empty path, a host address ("192.0.2.7") or a Windows port ("LPT1",
// "COM2", "PRN") → nothing.
Target target(const QString &printerPath);

// The answer of "lpstat -p QUEUE" (exit code 0 when the scheduler knows the
// queue), and of "lpstat -a QUEUE", in the words of the C locale.
struct Answer
{
    bool known = false;
    QString text;
};

// What keeps the queue from printing, in Portuguese, or an empty text. An
// unmarked queue the scheduler does not know is no queue: nothing is wrong.
QString stateProblem(const Target &target, const Answer &state);
QString acceptingProblem(const Target &target, const Answer &accepting);
// The scheduler did not answer within `seconds`; lpstat is not installed.
QString silentProblem(const Target &target, int seconds);
QString missingLpstatProblem(const Target &target);

} // namespace PrinterQueue
