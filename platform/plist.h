#pragma once
// Until the simulated SpringBoard, its screen and the substrate name the new place.
#include "platform/plist/plist.h"
