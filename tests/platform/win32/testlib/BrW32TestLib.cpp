// A plug-in with two exported functions, loaded by the library tests of the Win32 layer.
extern "C" int brw32TestAnswer() { return 42; }

extern "C" int brw32TestTwice(int v) { return v * 2; }
