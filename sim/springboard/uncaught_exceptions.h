#pragma once

namespace springboard {

// Makes an Objective-C or C++ exception that no code catches (out of a hook,
// or an extension's constructor) end SpringBoard with
// "springboard: uncaught exception NAME: REASON" and status 70, rather than
// an abort. What was printed before is flushed first.
void reportUncaughtExceptions();

inline constexpr int kUncaughtExceptionStatus = 70;

}  // namespace springboard
