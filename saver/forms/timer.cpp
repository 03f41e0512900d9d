#include "forms/timer.h"

#include "forms/form.h"

namespace forms {

Timer::Timer(Form& owner, UINT intervalMs, bool enabled, std::function<void()> onTick)
    : owner_(owner), id_(owner.AddTimer(this)), interval_(intervalMs), enabled_(enabled),
      onTick_(std::move(onTick)) {
  Arm();
}

Timer::~Timer() {
  Disarm();
  owner_.RemoveTimer(this);
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled_) {
    Arm();
  } else {
    Disarm();
  }
}

void Timer::SetInterval(UINT intervalMs) {
  interval_ = intervalMs;
  Disarm();
  Arm();
}

void Timer::Arm() {
  HWND hwnd = owner_.Handle();
  if (!hwnd || !enabled_ || interval_ == 0) return;
  // SetTimer with an id already running replaces it, which restarts the interval.
  armed_ = SetTimer(hwnd, id_, interval_, nullptr) != 0;
}

void Timer::Disarm() {
  if (armed_) {
    HWND hwnd = owner_.Handle();
    if (hwnd) KillTimer(hwnd, id_);
    armed_ = false;
  }
}

void Timer::Tick() {
  if (enabled_ && onTick_) onTick_();
}

}  // namespace forms
