// The object bridge, written only against Foundation API that the device's
// Foundation has as well, with manual reference counting: this file is built
// as it is for the device and for the simulation. Property lists cross as
// bytes, so the kit's own reader and writer decide what a value is on either
// side.

#include "platform/object_bridge.h"

#import <Foundation/Foundation.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Whether object is a property list within the limits, counting every object
// met in count. Checked before serializing because a serializer need not
// refuse what it cannot write: one may write a placeholder instead.
bool isPropertyList(id object, int depth, long& count) {
  if (++count > kMaximumObjectCount || depth > kMaximumObjectDepth) return false;
  if ([object isKindOfClass:[NSString class]] || [object isKindOfClass:[NSNumber class]] ||
      [object isKindOfClass:[NSData class]] || [object isKindOfClass:[NSDate class]])
    return true;
  // Enumerators, not for-in: the GNU compiler has no fast enumeration in
  // Objective-C++.
  if ([object isKindOfClass:[NSArray class]]) {
    NSEnumerator* elements = [(NSArray*)object objectEnumerator];
    for (id element; (element = [elements nextObject]) != nil;)
      if (!isPropertyList(element, depth + 1, count)) return false;
    return true;
  }
  if ([object isKindOfClass:[NSDictionary class]]) {
    NSDictionary* dictionary = object;
    NSEnumerator* keys = [dictionary keyEnumerator];
    for (id key; (key = [keys nextObject]) != nil;)
      if (![key isKindOfClass:[NSString class]] || !isPropertyList([dictionary objectForKey:key], depth + 1, count))
        return false;
    return true;
  }
  return false;
}

// The value with every dictionary's keys in sorted order, at every depth.
plist::Value withSortedKeys(const plist::Value& value) {
  if (const plist::Array* array = value.get<plist::Array>()) {
    plist::Array sorted;
    sorted.reserve(array->size());
    for (const plist::Value& element : *array) sorted.push_back(withSortedKeys(element));
    return plist::Value(std::move(sorted));
  }
  if (const plist::Dictionary* dictionary = value.get<plist::Dictionary>()) {
    std::vector<const plist::DictionaryEntry*> entries;
    for (const plist::DictionaryEntry& entry : dictionary->entries()) entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->key < b->key; });
    plist::Dictionary sorted;
    for (const plist::DictionaryEntry* entry : entries) sorted.set(entry->key, withSortedKeys(entry->value));
    return plist::Value(std::move(sorted));
  }
  return value;
}

std::string_view bytesOf(NSData* data) {
  return std::string_view(static_cast<const char*>([data bytes]), [data length]);
}

}  // namespace

void ObjectRelease::operator()(objc_object* object) const { [static_cast<id>(object) release]; }

std::optional<plist::Value> valueOf(id object) {
  if (object == nil) return std::nullopt;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  std::optional<plist::Value> value;
  long count = 0;
  if (isPropertyList(object, 0, count)) {
    // XML rather than binary: a binary writer may look for equal objects to
    // store once, and GNUstep's compares collections pairwise, which takes
    // minutes for a few thousand pages.
    NSData* data = [NSPropertyListSerialization dataWithPropertyList:object
                                                              format:NSPropertyListXMLFormat_v1_0
                                                             options:0
                                                               error:NULL];
    if (data != nil) value = plist::parse(bytesOf(data));
  }
  [pool drain];
  if (value) value = withSortedKeys(*value);
  return value;
}

Object objectOf(const plist::Value& value) {
  std::string xml = plist::toXml(value);
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  NSData* data = [NSData dataWithBytesNoCopy:xml.data() length:xml.size() freeWhenDone:NO];
  id object = [NSPropertyListSerialization propertyListWithData:data
                                                        options:NSPropertyListImmutable
                                                         format:NULL
                                                          error:NULL];
  [object retain];
  [pool drain];
  return Object(static_cast<objc_object*>(object));
}

Object stringObject(std::string_view utf8) {
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  id string = [[NSString alloc] initWithBytes:utf8.data() length:utf8.size() encoding:NSUTF8StringEncoding];
  [pool drain];
  return Object(static_cast<objc_object*>(string));
}

std::optional<std::string> utf8Text(id string) {
  if (![string isKindOfClass:[NSString class]]) return std::nullopt;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  // Through data rather than a C string, so that a NUL inside the text stays.
  std::string text(bytesOf([(NSString*)string dataUsingEncoding:NSUTF8StringEncoding]));
  [pool drain];
  return text;
}

Object urlObject(std::string_view text) {
  Object string = stringObject(text);
  if (!string) return nullptr;
  NSAutoreleasePool* pool = [[NSAutoreleasePool alloc] init];
  id url = [[NSURL alloc] initWithString:(NSString*)string.get()];
  [pool drain];
  return Object(static_cast<objc_object*>(url));
}

AutoreleasePool::AutoreleasePool() : pool_([[NSAutoreleasePool alloc] init]) {}

AutoreleasePool::~AutoreleasePool() { [(NSAutoreleasePool*)pool_ drain]; }

}  // namespace platform
