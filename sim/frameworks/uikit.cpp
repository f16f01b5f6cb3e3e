// UIKit stand-in. Tools open UIKit to reach SpringBoard services: it links
// SpringBoardServices, so entry points looked up through its handle are found
// there, as on the device.

extern "C" int UIKitStandInVersion() { return 1; }
