// Binds the OpenAL entry points of the system's OpenAL library by name into a function table at run time.
#pragma once

#include "plugins/audio_openal/OpenALApi.h"

// The system's OpenAL library: OpenAL Soft's shared library, loaded when no other library is named.
extern const char* const kDefaultOpenALLibrary;

// Loads library (kDefaultOpenALLibrary when null) and keeps its handle for the plug-in, then clears the table and
// binds every entry point in table order. False when the table is null, the library cannot be loaded, or an entry
// point is missing; a missing entry point is named in a debugger message ("Failed to retrieve 'alEnable' function
// address") and the library stays loaded until brUnloadOpenAL.
bool brLoadOpenAL(const char* library, ALFunctionTable* table);

// Frees the library loaded by brLoadOpenAL, when one is loaded, and forgets its handle.
void brUnloadOpenAL();

// True while brLoadOpenAL's library is loaded.
bool brIsOpenALLoaded();

// Opens the output device named "DirectSound3D", creates a context on it and makes it current; false when either
// fails (nothing is left open then).
bool brInitOpenAL();

// Takes the current context and its device, makes no context current, destroys the context and closes the device.
void brShutdownOpenAL();
