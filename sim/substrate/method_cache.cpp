#include "method_cache.h"

#include <objc/thr.h>

// The runtime's own table rebuild, the one class_addMethod runs, and the lock
// it holds meanwhile. Both are exported by libobjc though no header names them.
extern "C" {
extern objc_mutex_t __objc_runtime_mutex;
void __objc_update_dispatch_table_for_class(Class cls);
}

namespace substrate {

void refreshMethodCaches(Class cls) {
  objc_mutex_lock(__objc_runtime_mutex);
  __objc_update_dispatch_table_for_class(cls);
  objc_mutex_unlock(__objc_runtime_mutex);
}

}  // namespace substrate
