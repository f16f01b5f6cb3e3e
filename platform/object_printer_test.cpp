#include "platform/object_printer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::Value;

// What show writes for the object.
std::string shown(const Value* object) {
  std::FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  if (!stream) return {};
  platform::show(object, stream);
  std::string text;
  std::rewind(stream);
  for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
  std::fclose(stream);
  return text;
}

std::string shown(const Value& object) { return shown(&object); }

TEST(ObjectPrinter, PrintsTheDescriptionAndOneLineEnd) {
  Dictionary network;
  network.set("SSID_STR", Value("Home Net"));
  network.set("RSSI", Value(-48));
  Dictionary scan;
  scan.set("Networks", Value(Array{Value(network)}));
  EXPECT_EQ(shown(Value(scan)),
            "{\n    Networks = (\n        {\n            RSSI = -48;\n            SSID_STR = \"Home Net\";\n"
            "        }\n    );\n}\n");
  EXPECT_EQ(shown(Value(7)), "7\n");
  EXPECT_EQ(shown(Value("plain")), "plain\n");
  EXPECT_EQ(shown(Value("")), "\n");
}

TEST(ObjectPrinter, AddsNoSecondLineEndAndShowsNoObjectAsNull) {
  EXPECT_EQ(shown(Value("ends here\n")), "ends here\n");
  EXPECT_EQ(shown(Value("two\n\n")), "two\n\n");
  EXPECT_EQ(shown(nullptr), "(null)\n");
}

TEST(ObjectPrinter, WritesEveryCharacterOutsideAsciiAsItsUtf16Units) {
  EXPECT_EQ(shown(Value("Caf\xc3\xa9")), "Caf\\u00e9\n");
  EXPECT_EQ(shown(Value("\xe2\x82\xac 5")), "\\u20ac 5\n");
  EXPECT_EQ(shown(Value("\xf0\x9f\x93\xb6")), "\\ud83d\\udcf6\n") << "beyond the basic plane: a surrogate pair";
  // U+009B would start a control sequence on a terminal.
  EXPECT_EQ(shown(Value("a\xc2\x9b"
                        "2J")),
            "a\\u009b2J\n");
  Dictionary d;
  d.set("SSID_STR", Value("Caf\xc3\xa9"));
  EXPECT_EQ(shown(Value(d)), "{\n    SSID_STR = \"Caf\\u00e9\";\n}\n");
}

TEST(ObjectPrinter, ABrokenUtf8ByteIsOneReplacementCharacter) {
  EXPECT_EQ(shown(Value("a\xff"
                        "b")),
            "a\\ufffdb\n");
  EXPECT_EQ(shown(Value("\x80\xbf")), "\\ufffd\\ufffd\n") << "lone continuation bytes";
  EXPECT_EQ(shown(Value("x\xc3")), "x\\ufffd\n") << "cut short at the end";
  EXPECT_EQ(shown(Value("\xc3(")), "\\ufffd(\n") << "a lead byte without its continuation";
  EXPECT_EQ(shown(Value("\xc0\xaf")), "\\ufffd\\ufffd\n") << "an overlong form";
  EXPECT_EQ(shown(Value("\xed\xa0\x80")), "\\ufffd\\ufffd\\ufffd\n") << "an encoded surrogate";
  EXPECT_EQ(shown(Value("\xf4\x90\x80\x80")), "\\ufffd\\ufffd\\ufffd\\ufffd\n") << "beyond U+10FFFF";
}

}  // namespace
