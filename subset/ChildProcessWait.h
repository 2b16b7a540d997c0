#pragma once

#include <atomic>

class QProcess;

enum class ChildWait { Finished, NotStarted, TimedOut, Stopped };

// Waits on a worker thread for a started child process to end, looking at
// `stop` every few milliseconds so that a cancel never waits on the child:
// a child that is not finished when the wait ends is killed and reaped.
// A negative `timeoutMs` waits without limit.
ChildWait waitForChild(QProcess *process, int timeoutMs, const std::atomic<bool> *stop);
