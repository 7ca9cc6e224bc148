// The native build's stand-in for Emscripten's header, for the entry points
// of the WebAssembly module compiled natively to be checked: an entry point
// kept in the module is a function kept in the object file.
#pragma once

#define EMSCRIPTEN_KEEPALIVE __attribute__((used))
