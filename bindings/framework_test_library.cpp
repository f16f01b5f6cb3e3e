// A library for framework_test to open and close: it only has to exist.
extern "C" int frameworkTestEntryPoint() { return 7; }
