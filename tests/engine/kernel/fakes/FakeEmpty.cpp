// A plug-in library that exports no entry point: the engine must treat it as a device that cannot be made.
extern "C" int fakeEmptyMarker() { return 1; }
