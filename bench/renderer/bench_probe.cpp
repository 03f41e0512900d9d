// Frame times of a benchmark build, kept in a fixed table (no allocation while drawing) and
// written out once when the run ends.
#include "bench_probe.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int kMaxFrames = 1 << 16;
double FrameMs[kMaxFrames];   // milliseconds since the first swapped frame
int Frames = 0;
double FirstFrameMs = -1;     // process start to the first swapped frame
LARGE_INTEGER Frequency = {};
LARGE_INTEGER FirstFrame = {};

const int kMaxSteps = 64;
const char* StepName[kMaxSteps];
double StepMs[kMaxSteps];     // process start to that step
int Steps = 0;

double FiletimeMs(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 10000.0;
}

// Milliseconds from the creation of this process to now.
double MsSinceStart() {
  FILETIME created, exited, kernel, user, wall;
  GetSystemTimeAsFileTime(&wall);
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  return FiletimeMs(wall) - FiletimeMs(created);
}

}  // namespace

void BenchStep(const char* name) {
  if (Steps >= kMaxSteps) return;
  StepMs[Steps] = MsSinceStart();
  StepName[Steps++] = name;
}

void BenchFrameStarts() {
  if (Frames == 0 && (Steps == 0 || std::strcmp(StepName[Steps - 1], "drained") != 0))
    BenchStep("drained");
}

void BenchFrameSwapped() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (Frames == 0) {
    FirstFrameMs = MsSinceStart();
    QueryPerformanceFrequency(&Frequency);
    FirstFrame = now;
  }
  if (Frames < kMaxFrames)
    FrameMs[Frames] = static_cast<double>(now.QuadPart - FirstFrame.QuadPart) * 1000.0 /
                      static_cast<double>(Frequency.QuadPart);
  ++Frames;
}

void BenchRunEnded() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of("\\/") + 1) + "bench.txt";
  FILE* out = std::fopen(file.c_str(), "w");
  if (out == nullptr) return;
  std::fprintf(out, "first_frame_ms %.1f\nframes %d\n", FirstFrameMs, Frames);
  for (int i = 0; i < Steps; ++i) std::fprintf(out, "step %s %.1f\n", StepName[i], StepMs[i]);
  for (int i = 0; i < Frames && i < kMaxFrames; ++i) std::fprintf(out, "%.2f\n", FrameMs[i]);
  std::fclose(out);
}
