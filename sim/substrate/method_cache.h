#pragma once

#include <objc/runtime.h>

namespace substrate {

// Makes the dispatch tables of cls and of all its subclasses show the
// implementations their method lists hold now. The GNU runtime updates only
// the table of the class whose method was changed, so a subclass that was
// messaged before would otherwise keep calling the old implementation.
void refreshMethodCaches(Class cls);

}  // namespace substrate
