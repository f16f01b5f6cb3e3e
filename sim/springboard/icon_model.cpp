#include "icon_model.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/device_path.h"
#include "platform/plist.h"
#include "runtime.h"
#include "sim/common/journal.h"

namespace springboard {

namespace {

using platform::plist::Value;

// The state lives outside the object, owned through this variable.
Value*& state(id model) { return variable<Value*>(model, "_state"); }

// Replaces the model's state with what the file holds now: nothing when the
// file is missing, and a warning saying why too when it cannot be read as a
// dictionary.
void loadIconState(id model) {
  delete state(model);
  state(model) = nullptr;
  std::string why;
  if (std::optional<platform::plist::Dictionary> read = platform::plist::readDictionary(kIconStatePath, &why)) {
    state(model) = new Value(std::move(*read));
    return;
  }
  std::error_code error;
  if (std::filesystem::exists(platform::hostPath(kIconStatePath), error))
    std::fprintf(stderr, "springboard: ignoring %s: %s\n", kIconStatePath, why.c_str());
}

const Value* iconState(id self, SEL) { return state(self); }

const char* iconStatePath(id, SEL) { return kIconStatePath; }

void noteIconStateChangedExternally(id self, SEL) {
  sim::journal("-[SBIconModel noteIconStateChangedExternally]");
  loadIconState(self);
}

void deleteIconState(id self, SEL) {
  sim::journal("-[SBIconModel deleteIconState]");
  std::error_code error;
  std::filesystem::remove(platform::hostPath(kIconStatePath), error);
  if (error)
    std::fprintf(stderr, "springboard: cannot remove %s: %s\n", kIconStatePath, error.message().c_str());
  delete state(self);
  state(self) = nullptr;
}

}  // namespace

Class defineIconModel(Class root) {
  return ClassBuilder::subclass(root, "SBIconModel")
      .variable("_state", sizeof(Value*), 3, "^v")
      .method("_iconState", iconState, "^v@:")
      .method("iconStatePath", iconStatePath, "r*@:")
      .method("noteIconStateChangedExternally", noteIconStateChangedExternally, "v@:")
      .method("deleteIconState", deleteIconState, "v@:")
      .done();
}

id newIconModel() {
  id model = class_createInstance(objc_getClass("SBIconModel"), 0);
  loadIconState(model);
  return model;
}

void disposeIconModel(id model) {
  delete state(model);
  object_dispose(model);
}

}  // namespace springboard
