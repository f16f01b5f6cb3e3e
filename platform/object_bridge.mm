// The object bridge, against only the Foundation API the device has too, with
// manual reference counting: built as it is for the device and the
// simulation, by clang and by GCC. Foundation's classes are looked up by name
// when used, so nothing links a program to Foundation (the platform loads it
// when a run first sees an object). Enumerators and indexes, not for-in: the
// GNU compiler has no fast enumeration in Objective-C++.

#include "platform/object_bridge.h"

#import <Foundation/Foundation.h>
#include <objc/runtime.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace platform {
namespace {

struct Classes {
  Class string = objc_getClass("NSString"), number = objc_getClass("NSNumber"), data = objc_getClass("NSData"),
        date = objc_getClass("NSDate"), array = objc_getClass("NSArray"), dictionary = objc_getClass("NSDictionary");
};

Object owned(id object) { return Object((objc_object*)object); }

// --- Objects to values -------------------------------------------------------

class Walk {
 public:
  std::optional<plist::Value> valueOf(id object, int depth) {
    if (++count_ > kMaximumObjectCount || depth > kMaximumObjectDepth) return std::nullopt;
    if ([object isKindOfClass:classes_.string]) return text(object);
    if ([object isKindOfClass:classes_.number]) return number(object);
    if ([object isKindOfClass:classes_.data])
      return plist::Value(
          plist::Data(static_cast<const std::uint8_t*>([(NSData*)object bytes]),
                      static_cast<const std::uint8_t*>([(NSData*)object bytes]) + [(NSData*)object length]));
    if ([object isKindOfClass:classes_.date])
      return plist::Value(plist::Date{[(NSDate*)object timeIntervalSinceReferenceDate]});
    if ([object isKindOfClass:classes_.array]) return array(object, depth);
    if ([object isKindOfClass:classes_.dictionary]) return dictionary(object, depth);
    return std::nullopt;
  }

  static std::optional<std::string> text(id string) {
    // Through data rather than a C string, so that a NUL inside the text stays.
    NSData* bytes = [(NSString*)string dataUsingEncoding:NSUTF8StringEncoding];
    if (bytes == nil) return std::nullopt;  // a lone surrogate has no UTF-8
    return std::string(static_cast<const char*>([bytes bytes]), [bytes length]);
  }

 private:
  std::optional<plist::Value> number(id object) const {
    NSNumber* number = object;
    // Booleans are the two shared objects of their class in either
    // Foundation; their type code is not theirs alone.
    if (number == [classes_.number numberWithBool:YES]) return plist::Value(true);
    if (number == [classes_.number numberWithBool:NO]) return plist::Value(false);
    char type = *[number objCType];
    if (type == 'f') return plist::Value([number floatValue]);
    if (type == 'd') return plist::Value([number doubleValue]);
    if (std::string_view("CSILQ").find(type) != std::string_view::npos)  // the unsigned kinds
      return plist::Value(static_cast<std::uint64_t>([number unsignedLongLongValue]));
    return plist::Value(static_cast<std::int64_t>([number longLongValue]));
  }

  std::optional<plist::Value> array(id object, int depth) {
    NSArray* array = object;
    NSUInteger count = [array count];
    plist::Array values;
    values.reserve(count);
    for (NSUInteger i = 0; i < count; ++i) {
      std::optional<plist::Value> element = valueOf([array objectAtIndex:i], depth + 1);
      if (!element) return std::nullopt;
      values.push_back(std::move(*element));
    }
    return plist::Value(std::move(values));
  }

  // The keys come out sorted, since an object keeps no order of its own.
  std::optional<plist::Value> dictionary(id object, int depth) {
    NSDictionary* dictionary = object;
    std::vector<plist::DictionaryEntry> entries;
    entries.reserve([dictionary count]);
    NSEnumerator* keys = [dictionary keyEnumerator];
    for (id key; (key = [keys nextObject]) != nil;) {
      if (![key isKindOfClass:classes_.string]) return std::nullopt;
      std::optional<std::string> name = text(key);
      std::optional<plist::Value> value = valueOf([dictionary objectForKey:key], depth + 1);
      if (!name || !value) return std::nullopt;
      entries.push_back({std::move(*name), std::move(*value)});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    plist::Dictionary values;
    values.reserve(entries.size());
    for (plist::DictionaryEntry& entry : entries) values.add(std::move(entry.key), std::move(entry.value));
    return plist::Value(std::move(values));
  }

  Classes classes_;
  long count_ = 0;
};

// --- Values to objects -------------------------------------------------------

// 7-bit text, as nearly every name is, is made as ASCII, in a third of the
// time. Decoding UTF-8 drops a leading U+FEFF as a byte-order mark, so text
// starting with one is made behind a letter then cut off.
id stringFor(std::string_view utf8, Class string) {
  if (utf8.starts_with("\xef\xbb\xbf")) {
    std::string behind = "a" + std::string(utf8);
    return [stringFor(behind, string) substringFromIndex:1];
  }
  NSStringEncoding encoding = isAscii(utf8) ? NSASCIIStringEncoding : NSUTF8StringEncoding;
  return [[[string alloc] initWithBytes:utf8.data() length:utf8.size() encoding:encoding] autorelease];
}

// A date object, for a date between Foundation's distant past and future
// (years 1 to 4001): beyond them a date is no longer kept to the second, and a
// date that is no number is refused with an exception.
id dateFor(double secondsSince2001, Class date) {
  if (!(secondsSince2001 >= [[date distantPast] timeIntervalSinceReferenceDate] &&
        secondsSince2001 <= [[date distantFuture] timeIntervalSinceReferenceDate]))
    return nil;
  return [date dateWithTimeIntervalSinceReferenceDate:secondsSince2001];
}

// A new autoreleased object for value; nil when Foundation does not take it.
id objectFor(const plist::Value& value, const Classes& classes, int depth) {
  if (depth > kMaximumObjectDepth) return nil;
  return std::visit(
      [&](const auto& v) -> id {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          return [classes.number numberWithBool:v ? YES : NO];
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return [classes.number numberWithLongLong:v];
        } else if constexpr (std::is_same_v<T, std::uint64_t>) {
          return [classes.number numberWithUnsignedLongLong:v];
        } else if constexpr (std::is_same_v<T, double>) {
          return [classes.number numberWithDouble:v];
        } else if constexpr (std::is_same_v<T, float>) {
          return [classes.number numberWithFloat:v];
        } else if constexpr (std::is_same_v<T, std::string>) {
          return stringFor(v, classes.string);
        } else if constexpr (std::is_same_v<T, plist::Data>) {
          return [classes.data dataWithBytes:v.data() length:v.size()];
        } else if constexpr (std::is_same_v<T, plist::Date>) {
          return dateFor(v.secondsSince2001, classes.date);
        } else if constexpr (std::is_same_v<T, plist::Array>) {
          std::vector<id> elements;
          elements.reserve(v.size());
          for (const plist::Value& element : v) {
            id object = objectFor(element, classes, depth + 1);
            if (object == nil) return nil;
            elements.push_back(object);
          }
          return [classes.array arrayWithObjects:elements.data() count:elements.size()];
        } else if constexpr (std::is_same_v<T, plist::Dictionary>) {
          std::vector<id> keys, objects;
          keys.reserve(v.size());
          objects.reserve(v.size());
          for (const plist::DictionaryEntry& entry : v.entries()) {
            id key = stringFor(entry.key, classes.string);
            id object = objectFor(entry.value, classes, depth + 1);
            if (key == nil || object == nil) return nil;
            keys.push_back(key);
            objects.push_back(object);
          }
          return [classes.dictionary dictionaryWithObjects:objects.data() forKeys:keys.data() count:keys.size()];
        } else {
          // A keyed archive's reference has no class of its own in Foundation.
          static_assert(std::is_same_v<T, plist::Uid>);
          return nil;
        }
      },
      value.storage());
}

}  // namespace

void ObjectRelease::operator()(objc_object* object) const { [(id)object release]; }

AutoreleasePool::AutoreleasePool() : pool_([[objc_getClass("NSAutoreleasePool") alloc] init]) {}

AutoreleasePool::~AutoreleasePool() { [pool_ drain]; }

std::optional<plist::Value> valueOf(id object) {
  if (object == nil) return std::nullopt;
  AutoreleasePool pool;
  return Walk().valueOf(object, 0);
}

Object objectOf(const plist::Value& value) {
  AutoreleasePool pool;
  return owned([objectFor(value, Classes(), 0) retain]);
}

Object stringObject(std::string_view utf8) {
  AutoreleasePool pool;
  return owned([stringFor(utf8, objc_getClass("NSString")) retain]);
}

std::optional<std::string> utf8Text(id string) {
  if (string == nil || ![string isKindOfClass:objc_getClass("NSString")]) return std::nullopt;
  AutoreleasePool pool;
  return Walk::text(string);
}

Object urlObject(std::string_view text) {
  Object string = stringObject(text);
  if (!string) return nullptr;
  AutoreleasePool pool;
  return owned([[objc_getClass("NSURL") alloc] initWithString:(NSString*)string.get()]);
}

}  // namespace platform
