#include "platform/object_bridge.h"

#import <Foundation/Foundation.h>
#include <gtest/gtest.h>

#include <cmath>

namespace platform {
namespace {

using plist::Array;
using plist::Dictionary;
using plist::Value;

Dictionary dictionary(std::initializer_list<std::pair<const char*, Value>> entries) {
  Dictionary d;
  for (const auto& [key, value] : entries) d.set(key, value);
  return d;
}

// A state of every kind a property list holds, and its object.
Value everyKind() {
  return dictionary({{"string", Value("caf\xc3\xa9")},
                     {"beyondTheBasicPlane", Value("JW\xf0\x9f\x91\x94\xf0\x9f\x92\xbc")},
                     {"nul", Value(std::string("a\0b", 3))},
                     {"integer", Value(std::int64_t{-7})},
                     {"big", Value(std::int64_t{1} << 40)},
                     {"biggest", Value(UINT64_MAX)},
                     {"zero", Value(0)},
                     {"one", Value(1)},
                     {"real", Value(1.5)},
                     {"single", Value(0.1f)},
                     {"yes", Value(true)},
                     {"no", Value(false)},
                     {"data", Value(plist::Data{0, 1, 0xff})},
                     {"date", Value(plist::Date{3600})},
                     {"pages", Value(Array{Value(Array{Value("a"), Value(dictionary({{"iconLists", Array{}}}))})})}});
}

id everyKindObject() {
  const unsigned char bytes[] = {0, 1, 0xff};
  NSArray* pages = [NSArray arrayWithObject:[NSArray arrayWithObjects:@"a",
                                                                      [NSDictionary dictionaryWithObject:[NSArray array]
                                                                                                  forKey:@"iconLists"],
                                                                      nil]];
  NSString* nul = [[[NSString alloc] initWithBytes:"a\0b" length:3 encoding:NSUTF8StringEncoding] autorelease];
  return [NSDictionary
      dictionaryWithObjectsAndKeys:[NSString stringWithUTF8String:"caf\xc3\xa9"], @"string",
                                   [NSString stringWithUTF8String:"JW\xf0\x9f\x91\x94\xf0\x9f\x92\xbc"],
                                   @"beyondTheBasicPlane", nul, @"nul", [NSNumber numberWithLongLong:-7], @"integer",
                                   [NSNumber numberWithLongLong:1LL << 40], @"big",
                                   [NSNumber numberWithUnsignedLongLong:UINT64_MAX], @"biggest",
                                   [NSNumber numberWithInt:0], @"zero", [NSNumber numberWithInt:1], @"one",
                                   [NSNumber numberWithDouble:1.5], @"real", [NSNumber numberWithFloat:0.1f], @"single",
                                   [NSNumber numberWithBool:YES], @"yes", [NSNumber numberWithBool:NO], @"no",
                                   [NSData dataWithBytes:bytes length:3], @"data",
                                   [NSDate dateWithTimeIntervalSinceReferenceDate:3600], @"date", pages, @"pages", nil];
}

class ObjectBridge : public testing::Test {
 protected:
  AutoreleasePool pool_;
};

TEST_F(ObjectBridge, AnObjectOfEveryKindGivesItsValue) {
  std::optional<Value> value = valueOf(everyKindObject());
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, everyKind()) << plist::description(*value);
}

TEST_F(ObjectBridge, AValueOfEveryKindGivesItsObject) {
  Object object = objectOf(everyKind());
  ASSERT_TRUE(object);
  EXPECT_TRUE([everyKindObject() isEqual:(id)object.get()]) << [[(id)object.get() description] UTF8String];
  // Foundation's equality takes 1 for YES; the way back tells them apart.
  EXPECT_EQ(valueOf(object.get()), everyKind());
  EXPECT_FALSE(objectOf(Value(plist::Uid{1}))) << "a keyed archive's reference has no object";
  EXPECT_FALSE(objectOf(Value(plist::Date{std::nan("")}))) << "a date that is no number has none";
  // A leading U+FEFF is text, not a byte-order mark to drop.
  Value marked("\xef\xbb\xbfx");
  EXPECT_EQ(valueOf(objectOf(marked).get()), marked);
}

TEST_F(ObjectBridge, DictionaryKeysComeOutSorted) {
  std::optional<Value> value =
      valueOf([NSDictionary dictionaryWithObjectsAndKeys:@"1", @"b", @"2", @"c", @"3", @"a", nil]);
  ASSERT_TRUE(value && value->is<Dictionary>());
  std::string keys;
  for (const auto& entry : value->get<Dictionary>()->entries()) keys += entry.key;
  EXPECT_EQ(keys, "abc");
}

TEST_F(ObjectBridge, WhatIsNoPropertyListGivesNothing) {
  NSMutableArray* holdsItself = [NSMutableArray array];
  [holdsItself addObject:holdsItself];
  id cases[] = {
      nil,
      [NSNull null],
      [NSArray arrayWithObject:[NSNull null]],
      [NSDictionary dictionaryWithObject:@"x" forKey:[NSNumber numberWithInt:1]],
      holdsItself,
  };
  for (id object : cases) EXPECT_FALSE(valueOf(object)) << [[object description] UTF8String];
  [holdsItself removeAllObjects];
}

TEST_F(ObjectBridge, CollectionsDeeperThanTheLimitGiveNothing) {
  id nested = @"leaf";
  for (int depth = 0; depth <= kMaximumObjectDepth; ++depth) nested = [NSArray arrayWithObject:nested];
  EXPECT_FALSE(valueOf(nested));
  EXPECT_TRUE(valueOf([(NSArray*)nested objectAtIndex:0]));
}

TEST_F(ObjectBridge, StringsCrossAsUtf8) {
  const std::string text("a\0\xc3\xa9", 4);
  Object string = stringObject(text);
  ASSERT_TRUE(string);
  EXPECT_EQ([(NSString*)string.get() length], 3u);
  EXPECT_EQ(utf8Text(string.get()), text);
  EXPECT_FALSE(stringObject("\xff"));
  EXPECT_FALSE(utf8Text(nil));
  EXPECT_FALSE(utf8Text([NSNumber numberWithInt:1]));
}

TEST_F(ObjectBridge, UrlsAreMadeOnlyOfUrlText) {
  Object url = urlObject("http://example.com/a?b=c%20d&e");
  ASSERT_TRUE(url);
  EXPECT_STREQ([[(NSURL*)url.get() absoluteString] UTF8String], "http://example.com/a?b=c%20d&e");
  EXPECT_FALSE(urlObject("not a url"));
}

// What the bridge answers, the caller owns once, and what it is given it
// leaves as it was: the leak checker cannot tell an object the kit leaks from
// Foundation's own, so the counts are checked here.
TEST_F(ObjectBridge, ObjectsAreOwnedOnceAndLeftAsTheyWere) {
  Object made[] = {objectOf(everyKind()), stringObject("key"), urlObject("http://example.com/")};
  for (const Object& object : made) {
    ASSERT_TRUE(object);
    EXPECT_EQ([(id)object.get() retainCount], 1u) << [[(id)object.get() description] UTF8String];
  }
  id given = [everyKindObject() mutableCopy];
  ASSERT_TRUE(valueOf(given));
  ASSERT_TRUE(utf8Text([given objectForKey:@"string"]));
  EXPECT_EQ([given retainCount], 1u);
  [given release];
}

// Each call brings its own pool: Foundation has nothing to complain about on
// standard error even where the caller has none.
TEST(ObjectBridgeWithoutPool, NeedsNoPoolOfTheCaller) {
  testing::internal::CaptureStderr();
  {
    Object object = objectOf(everyKind());
    EXPECT_TRUE(valueOf(object.get()));
    EXPECT_TRUE(utf8Text(stringObject("key").get()));
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace platform
