// Stand-in flow control, initial state and solving routines.
//
// The setters keep their values in the subbasin (made on first use). A solve
// counts the period in the subbasin and then treats n as the length of each
// period array: with P the number of periods solved so far (flow and
// sediment, this one included), it writes
//   a[i]  = 1000 P + i + p1                      (SOLVESUBBASINFLOW)
//   a1[i] = 1000 P + i + p1, a2[i] = 1000 P + i + p2, a3[i] = 1000 P + i
//                                                (SOLVESUBBASINFLOWSEDIMENT)
// for i < n, after journalling the n values each array held (solvePeriod).
//
// A solve of a subbasin whose name begins with "RELAY" relays the coded
// message "<ROUTINE> <subbasin> period <P>" to Java during the call; one
// whose name begins with "WORKERRELAY" relays it from a worker thread.
#include <initializer_list>
#include <string>

#include "journal.h"
#include "quarnel.h"
#include "relay.h"
#include "store.h"

namespace quarnel {
namespace {

int periodsSolved(const Subbasin& s) {
  return s.flowPeriods + s.sedimentPeriods;
}

void relayPeriod(const char* routine, const char* subbasinText, int periods) {
  const RelayFrom from = relayFrom(subbasinText, kNameWidth);
  if (from != RelayFrom::kCallingThread && from != RelayFrom::kWorkerThread)
    return;
  const std::string message = std::string(routine) + " " +
                              nameKey(subbasinText, kNameWidth) + " period " +
                              std::to_string(periods);
  if (from == RelayFrom::kWorkerThread) {
    relayFromWorker(message);
  } else {
    relayMessage(message.c_str());
  }
}

// A period array of a solve and the offset of the values written into it.
struct PeriodArray {
  const char* name;
  double* values;
  double offset;
};

// The two solves: journals n, the n values of each array and p1, p2; counts
// the period in `periods` of the subbasin; writes each array; relays.
void solvePeriod(const char* routine, const char* subbasinText,
                 FLen subbasinLen, const int* n,
                 std::initializer_list<PeriodArray> arrays, const double* p1,
                 const double* p2, int Subbasin::*periods) {
  const int count = *n > 0 ? *n : 0;
  {
    NamedCall call(routine, subbasinText, subbasinLen);
    Journal& journal = call.journal().i32("n", *n);
    for (const PeriodArray& a : arrays)
      journal.doubles(a.name, a.values, count);
    journal.f64("p1", *p1).f64("p2", *p2);
  }
  Subbasin& s = subbasin(subbasinText, kNameWidth);
  ++(s.*periods);
  const int solved = periodsSolved(s);
  for (const PeriodArray& a : arrays) {
    for (int i = 0; i < count; ++i) {
      a.values[i] = 1000.0 * solved + i + a.offset;
    }
  }
  relayPeriod(routine, subbasinText, solved);
}

}  // namespace
}  // namespace quarnel

using namespace quarnel;

extern "C" {

void SETSUBBASINNUMBERTHREADS(const char* subbasinText, const int* threads,
                              FLen subbasinLen) {
  setSubbasinValue("SETSUBBASINNUMBERTHREADS", subbasinText, subbasinLen,
                   "threads", *threads, &Subbasin::threads);
}

void SETSUBBASINIMPLICITFACTOR(const char* subbasinText, const double* factor,
                               FLen subbasinLen) {
  setSubbasinValue("SETSUBBASINIMPLICITFACTOR", subbasinText, subbasinLen,
                   "factor", *factor, &Subbasin::implicitFactor);
}

void SETSUBBASINCONTROLPARAMETERS(const char* subbasinText, const double* c1,
                                  const double* c2, const double* c3,
                                  const double* c4, const int* c5,
                                  FLen subbasinLen) {
  NamedCall("SETSUBBASINCONTROLPARAMETERS", subbasinText, subbasinLen)
      .journal()
      .f64("c1", *c1)
      .f64("c2", *c2)
      .f64("c3", *c3)
      .f64("c4", *c4)
      .i32("c5", *c5);
  Subbasin& s = subbasin(subbasinText, kNameWidth);
  s.control[0] = *c1;
  s.control[1] = *c2;
  s.control[2] = *c3;
  s.control[3] = *c4;
  s.control5 = *c5;
}

void INITSUBBASINFLOW(const char* subbasinText, FLen subbasinLen) {
  NamedCall("INITSUBBASINFLOW", subbasinText, subbasinLen);
  subbasin(subbasinText, kNameWidth).flowInitialized = true;
}

void INITSUBBASINFLOWSTATE(const char* subbasinText, FLen subbasinLen) {
  NamedCall("INITSUBBASINFLOWSTATE", subbasinText, subbasinLen);
  subbasin(subbasinText, kNameWidth).flowStateInitialized = true;
}

void INITSUBBASINWARMUP(const char* subbasinText, const double* w1,
                        const double* w2, FLen subbasinLen) {
  NamedCall("INITSUBBASINWARMUP", subbasinText, subbasinLen)
      .journal()
      .f64("w1", *w1)
      .f64("w2", *w2);
  Subbasin& s = subbasin(subbasinText, kNameWidth);
  s.warmUp[0] = *w1;
  s.warmUp[1] = *w2;
}

void SOLVESUBBASINFLOW(const char* subbasinText, const int* n, double* a,
                       const double* p1, const double* p2, FLen subbasinLen) {
  solvePeriod("SOLVESUBBASINFLOW", subbasinText, subbasinLen, n,
              {{"a", a, *p1}}, p1, p2, &Subbasin::flowPeriods);
}

void SOLVESUBBASINFLOWSEDIMENT(const char* subbasinText, const int* n,
                               double* a1, double* a2, double* a3,
                               const double* p1, const double* p2,
                               FLen subbasinLen) {
  solvePeriod("SOLVESUBBASINFLOWSEDIMENT", subbasinText, subbasinLen, n,
              {{"a1", a1, *p1}, {"a2", a2, *p2}, {"a3", a3, 0.0}}, p1, p2,
              &Subbasin::sedimentPeriods);
}

}  // extern "C"
