// The build tree's sample device: the build's device root, and the sample
// tree of the sources.

#include "new_root.h"

namespace springboard {

SampleDevice sampleDevice() { return {SBKIT_BUILD_TREE_ROOT, SBKIT_SAMPLE_TREE}; }

}  // namespace springboard
