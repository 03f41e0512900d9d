// A form's timer: an interval in milliseconds, an enabled flag and a tick handler, run on
// the form's thread as WM_TIMER messages. A timer belongs to one form; it ticks only while
// that form's window exists, it is enabled and its interval is not 0. Switching it on
// again restarts the interval.
#pragma once

#include <windows.h>

#include <functional>

namespace forms {

class Form;

class Timer {
 public:
  Timer(Form& owner, UINT intervalMs, bool enabled, std::function<void()> onTick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetInterval(UINT intervalMs);
  UINT Interval() const { return interval_; }
  UINT_PTR Id() const { return id_; }

 private:
  friend class Form;
  void Arm();     // starts the system timer when it should run
  void Disarm();  // stops it
  void Tick();

  Form& owner_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_;
  bool armed_ = false;
  std::function<void()> onTick_;
};

}  // namespace forms
