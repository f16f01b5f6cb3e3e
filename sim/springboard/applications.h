#pragma once

// The applications SpringBoard knows, as its classes hold them, for the
// picture of the screen: one scan of the device's bundles in a run, made
// when they are first asked for, so that a run that needs none reads none.

#include "sim/screen/app_catalog.h"

namespace springboard {

const screen::AppCatalog& applicationCatalog();

}  // namespace springboard
