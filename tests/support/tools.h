#pragma once

// The kit's command-line tools by name, as build/bin and an installed kit's
// /usr/bin hold them; each has its manual page, <name>.1.

#include <string>
#include <vector>

namespace e2e {

inline const std::vector<std::string> kTools = {"iconcount", "badge", "homeprefs", "indicator",
                                                "radio", "tweet", "storequery", "wanaddress"};

}  // namespace e2e
