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
// "SETLOGFILE <path without trailing blanks>". Two more prefixes of the
// subbasin name move the relay elsewhere, as a real solver may:
//   "WORKERRELAY"  the solves relay from a worker thread of their own, which
//                  they start and join during the call;
//   "RESULTRELAY"  the cell and face result routines relay
//                  "<ROUTINE> <subbasin>" while they write the values.
#pragma once

#include <cstddef>
#include <string>

namespace quarnel {

// Calls the bridge's sendMessageToJava with `message` (NUL-terminated).
// Returns false, after a line on standard error, when the bridge is not
// loaded in this process.
bool relayMessage(const char* message);

// True when the first n bytes of `text` begin with "RELAY".
bool wantsRelay(const char* text, std::size_t n);

enum class RelayFrom { kNowhere, kCallingThread, kWorkerThread, kResult };
// Where a routine given this subbasin name relays from.
RelayFrom relayFrom(const char* text, std::size_t n);

// Relays `message` on a thread of its own, started and joined here.
void relayFromWorker(const std::string& message);

}  // namespace quarnel
