#pragma once

// The platform's object printer: an object's description, for people reading
// a terminal, on standard error.

#include <objc/objc.h>

#include <cstdio>

#include "platform/plist/plist.h"

namespace platform {

// Prints the object's description (plist::description) and a line end unless
// the description already ends with one; no object prints "(null)". Only 7-bit
// ASCII reaches the stream: any other character is written as \uXXXX (UTF-16
// units, so characters beyond the basic plane take two), and a byte that does
// not belong to a UTF-8 character as \ufffd. Text from outside the device,
// such as a network name in a Wi-Fi scan, can thus never send a terminal its
// control sequences through the 8-bit ones.
void show(const plist::Value* object, std::FILE* stream = stderr);

// Prints a property-list object as show does its value, through the object
// bridge (the device prints it with CFShow); nil, and an object that is no
// property list, print "(null)". Only programs that link the bridge have it.
void show(id object, std::FILE* stream = stderr);

}  // namespace platform
