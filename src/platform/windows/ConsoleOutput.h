#pragma once

// A program of the GUI subsystem starts without a console, so that a start
// from Explorer opens no console window. Started from a console, it writes
// there: standard output and error that were not handed to it (a pipe or a
// file) go to the console of the process that started it, if it has one.
void attachParentConsole();
