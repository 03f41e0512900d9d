// Timing hooks of the benchmark builds: the moment of every swapped frame, written with the
// time from process start to the first of them to bench.txt beside the program at its end.
#pragma once

void BenchFrameSwapped();
void BenchRunEnded();

// Notes the time from process start at a named point of the start-up (a literal name);
// written as "step <name> <ms>" lines, in order.
void BenchStep(const char* name);

// Before each frame is drawn; notes the step "drained" (queue emptied) before the first.
void BenchFrameStarts();
