#pragma once

// Messages from a file whose Objective-C module the runtime has not
// registered yet.
//
// The GNU runtime registers a file's selectors and literal strings in the
// file's module initialiser, which runs after the file's own constructors;
// the device registers an image before any of its code runs. So that a
// tweak's constructor can send messages, add methods and hook as on the
// device, the substrate stands in front of the runtime's entry points that
// take a selector or a receiver (early_messages.cpp): a selector that is not
// registered yet is registered by its name, leaving the file's own table to
// its initialiser, and a literal string whose class is not set yet gets it.

#include <objc/runtime.h>

namespace substrate {

// The registered selector of the same name and types as selector; selector
// itself when it is registered already, or null.
SEL registeredSelector(SEL selector);

}  // namespace substrate
