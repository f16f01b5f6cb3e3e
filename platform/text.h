#pragma once

#include <string_view>

namespace platform {

// Whole-string comparison that ignores the case of ASCII letters, as keywords
// and application names are compared.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The extension of a path's last component ("app" for "X/MyApp.APP" gives
// "APP"), empty when it has none; a leading dot does not start an extension.
std::string_view pathExtension(std::string_view path);
// The last component without its extension ("Foo.bar" for "X/Foo.bar.app").
std::string_view displayNameOf(std::string_view path);

}  // namespace platform
