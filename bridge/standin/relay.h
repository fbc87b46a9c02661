// How the stand-in solver sends a coded message to the Java application.
//
// The bridge exports `void sendMessageToJava(const char*)`; the stand-in
// finds it at run time by name (the solver library has no link-time
// dependency on the bridge) and calls it on the calling thread, during the
// routine call that produces the message.
//
// Convention for tests: a routine that supports relaying sends a message
// when the text it is given (the subbasin name for the solve routines, the
// path for SETLOGFILE) begins with "RELAY". SETLOGFILE relays
// "SETLOGFILE <path without trailing blanks>".
#pragma once

#include <cstddef>

namespace quarnel {

// Calls the bridge's sendMessageToJava with `message` (NUL-terminated).
// Returns false, after a line on standard error, when the bridge is not
// loaded in this process.
bool relayMessage(const char* message);

// True when the first n bytes of `text` begin with "RELAY".
bool wantsRelay(const char* text, std::size_t n);

}  // namespace quarnel
