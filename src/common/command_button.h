// command_button.h: the model of a push button, which is only its enabled state.
#pragma once

#include <functional>
#include <utility>

namespace kavren {

class CommandButton {
 public:
  [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (on_change_) on_change_(enabled_);
  }
  void OnEnabledChanged(std::function<void(bool)> on_change) { on_change_ = std::move(on_change); }

 private:
  bool enabled_ = true;
  std::function<void(bool)> on_change_;
};

}  // namespace kavren
