// What a newer UIKit classes library would have and SpringBoard's has not.
extern "C" void tweakNothingDefines() {}
