#pragma once
// Every handler runs guarded: an error ends the handler and is shown in the standard error box
// with its text, so that no exception unwinds through Qt's event dispatch. An error shown is not
// shown again until the user clicks or types, so a repaint or a timer never piles boxes up.

#include <concepts>
#include <functional>
#include <utility>

namespace wyk {

// Runs `handler`; an error it raises is shown before this returns.
void RunGuarded(const std::function<void()>& handler);

// Runs a paint handler; an error it raises is shown once the paint is over.
void PaintGuarded(const std::function<void()>& paint);

// A guarded slot for connect(): it takes as many of the signal's arguments as `handler` does.
template <typename Handler>
auto Guard(Handler handler) {
  return [handler = std::move(handler)](
      auto... args) requires std::invocable<const Handler&, decltype(args)...> {
    RunGuarded([&] { handler(args...); });
  };
}

// A guarded slot that runs a window's handler without arguments.
template <typename Window>
auto Guard(Window* window, void (Window::*handler)()) {
  return Guard([window, handler] { (window->*handler)(); });
}

}  // namespace wyk
