#pragma once

// How the stand-in's symbols leave the library. The C++ control API is exported by
// attribute; the fourteen client entry points are exported under their plain names.

#if defined(_WIN32)
#if defined(SIMSTUB_BUILDING)
#define SIMSTUB_API __declspec(dllexport)
#else
#define SIMSTUB_API __declspec(dllimport)
#endif
// Exported by SimConnect.def under the plain names that SIMSTUB_SYMBOL pins below.
#define SIMSTUB_ENTRY
#else
#define SIMSTUB_API __attribute__((visibility("default")))
#define SIMSTUB_ENTRY SIMSTUB_API
#endif

#if defined(_WIN32) && !defined(_WIN64)
// A 32-bit __stdcall function is named _Name@bytes. Loaders look the plain name up, and
// the import library must offer the same symbol to programs that link the library
// directly, so the definition and every caller agree on the undecorated symbol.
#define SIMSTUB_SYMBOL(name) __asm__("_" #name)
#else
#define SIMSTUB_SYMBOL(name)
#endif
