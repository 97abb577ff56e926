#pragma once
// The program's entry and its end: the start-up in its fixed order, the
// demo, the exit steps, and the two handlers that catch what reaches the
// top. `main` only calls run.
//
// Exit status 0 only when a quit event ends a run that reported nothing;
// 1 after a failed SDL start (its log line, "Could not initialize SDL: "
// and SDL's text, also on standard error), after any message of the
// description loader (the run goes on), after a report of the application
// handler (the demo's StopApp included), and after the top-level handler,
// which writes "unhandled exception " and the exception's name straight to
// descriptor 2 and ends without quitting SDL or flushing any stream.
#include <functional>

namespace zil {

class UIContext;

namespace Program {

// Run where the event loop would block, with the program's user interface;
// tests and benchmarks push events and read the screen there. The program
// itself passes none.
using IdleHook = std::function<void(UIContext&)>;

// The whole program, in the working directory; returns the exit status.
// Standard output and error are closed when it returns.
int run(const IdleHook& idle = {});

}  // namespace Program
}  // namespace zil
