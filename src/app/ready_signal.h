// Tells a program that waits for this one (the start-up benchmark, tests)
// that the first view is in the main list: when the environment variable
// QUILLERY_READY_FD names an open descriptor (3 or above), the line
// "ready\n" is written to it once and the descriptor is closed. Without the
// variable nothing happens.
#pragma once

void SignalFirstViewShown();
