#pragma once

// The platform's object printer: an object's description, for people reading
// a terminal, on standard error.

#include <objc/objc.h>

#include <cstdio>

#include "platform/plist/plist.h"

namespace platform {

// Prints the object's description (plist::description) and a line end unless
// it ends with one; no object prints "(null)". Only 7-bit ASCII reaches the
// stream: any other UTF-16 unit is written as \uXXXX, and a byte of no UTF-8
// character as \ufffd, so text from outside (a Wi-Fi network's name) can never
// send a terminal its 8-bit control sequences.
void show(const plist::Value* object, std::FILE* stream = stderr);

// Prints a property-list object as show does its value, through the object
// bridge (the device prints it with CFShow); nil, and an object that is no
// property list, print "(null)". Only programs that link the bridge have it.
void show(id object, std::FILE* stream = stderr);

}  // namespace platform
