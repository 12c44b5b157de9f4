#pragma once
// The running process's id, and whether another process still runs: a copy
// of the program keys what it leaves behind by its id, so that two running
// copies never take each other's files.

int CurrentProcessId();
// True only when no process has that id any more; a process of another
// user, or one we may not signal, counts as running.
bool ProcessGone(int pid);
