// The launcher's version record.
#include "version.h"

namespace zindle {

const std::string& versionRecord() {
  // The record has always named the entry routine's file. __DATE__ and
  // __TIME__ follow SOURCE_DATE_EPOCH when it is set, so a build from the
  // same sources gives the same text.
  static const std::string record = std::string("@(#)zindle/zindle.cpp") +
                                    " Version: " + kVersion + " QEL" +
                                    " Compiled: " __DATE__ " at " __TIME__;
  return record;
}

}  // namespace zindle
