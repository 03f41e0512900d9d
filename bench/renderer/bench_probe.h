// Timing hooks of the benchmark builds: the moment of every swapped frame, written with the
// time from process start to the first of them to bench.txt beside the program at its end.
#pragma once

void BenchFrameSwapped();
void BenchRunEnded();
