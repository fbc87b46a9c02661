// Stand-in sediment configuration routines.
//
// Settings are kept in the subbasin (made on first use), the sediment
// properties in the basin. Each array argument is read for a count that the
// call gives, journalled, and written back changed so a caller can see it
// come back: element v of the k-th array of a call becomes 2v+k. The counts:
//   SETCOHESIVETRANSPORTMETHOD      m values of each of d1..d4 (k = 1..4)
//   SETSEDIMENTPROPERTIES           g values of p
//   SETSEDIMENTTRANSPORTPARAMETERS  r values of r1
//   SETGRAINSIZEFRACTIONS           g1*g2 values of f
// A count below one reads nothing.
#include "journal.h"
#include "quarnel.h"
#include "store.h"

namespace quarnel {
namespace {

long count(long n) { return n > 0 ? n : 0; }

void markArray(double* values, long n, int k) {
  for (long i = 0; i < n; ++i) values[i] = 2.0 * values[i] + k;
}

}  // namespace
}  // namespace quarnel

using namespace quarnel;

extern "C" {

void INITSUBBASINSEDIMENT(const char* subbasinText, FLen subbasinLen) {
  NamedCall("INITSUBBASINSEDIMENT", subbasinText, subbasinLen);
  subbasin(subbasinText, kNameWidth).sedimentInitialized = true;
}

void SETFALLVELOCITYMETHOD(const char* subbasinText, const char* method,
                           FLen subbasinLen, FLen methodLen) {
  NamedCall("SETFALLVELOCITYMETHOD", subbasinText, subbasinLen, "method",
            method, methodLen);
  subbasin(subbasinText, kNameWidth).fallVelocityMethod =
      nameKey(method, kNameWidth);
}

void SETTRANSPORTPOTENTIALMETHOD(const char* subbasinText, const char* method,
                                 FLen subbasinLen, FLen methodLen) {
  NamedCall("SETTRANSPORTPOTENTIALMETHOD", subbasinText, subbasinLen, "method",
            method, methodLen, kShortMethodWidth);
  subbasin(subbasinText, kNameWidth).transportPotentialMethod =
      nameKey(method, kShortMethodWidth);
}

void SETCOHESIVETRANSPORTMETHOD(const char* subbasinText, const char* method,
                                const int* m, double* d1, double* d2,
                                double* d3, double* d4, FLen subbasinLen,
                                FLen methodLen) {
  const long n = count(*m);
  NamedCall("SETCOHESIVETRANSPORTMETHOD", subbasinText, subbasinLen, "method",
            method, methodLen)
      .journal()
      .i32("m", *m)
      .doubles("d1", d1, n)
      .doubles("d2", d2, n)
      .doubles("d3", d3, n)
      .doubles("d4", d4, n);
  subbasin(subbasinText, kNameWidth).cohesiveTransportMethod =
      nameKey(method, kNameWidth);
  markArray(d1, n, 1);
  markArray(d2, n, 2);
  markArray(d3, n, 3);
  markArray(d4, n, 4);
}

void SETSEDIMENTPROPERTIES(const int* g, double* p, const double* s1,
                           const double* s2, const double* s3,
                           const double* s4) {
  const long n = count(*g);
  Journal("SETSEDIMENTPROPERTIES")
      .i32("g", *g)
      .doubles("p", p, n)
      .f64("s1", *s1)
      .f64("s2", *s2)
      .f64("s3", *s3)
      .f64("s4", *s4);
  basin().sedimentGrainClasses = *g;
  markArray(p, n, 1);
}

void SETSEDIMENTTRANSPORTPARAMETERS(const char* subbasinText, double* r1,
                                    const int* r, const double* r2,
                                    const double* x1, const double* x2,
                                    FLen subbasinLen) {
  const long n = count(*r);
  NamedCall("SETSEDIMENTTRANSPORTPARAMETERS", subbasinText, subbasinLen)
      .journal()
      .doubles("r1", r1, n)
      .i32("r", *r)
      .f64("r2", *r2)
      .f64("x1", *x1)
      .f64("x2", *x2);
  subbasin(subbasinText, kNameWidth);
  markArray(r1, n, 1);
}

void SETSUBBASINMOBILITYFACTOR(const char* subbasinText, const double* factor,
                               FLen subbasinLen) {
  setSubbasinValue("SETSUBBASINMOBILITYFACTOR", subbasinText, subbasinLen,
                   "factor", *factor, &Subbasin::mobilityFactor);
}

void SETGRAINSIZEFRACTIONS(const char* subbasinText, const int* g1,
                           const int* g2, double* f, FLen subbasinLen) {
  const long n = count(*g1) * count(*g2);
  NamedCall("SETGRAINSIZEFRACTIONS", subbasinText, subbasinLen)
      .journal()
      .i32("g1", *g1)
      .i32("g2", *g2)
      .doubles("f", f, n);
  subbasin(subbasinText, kNameWidth).grainClasses = *g1;
  markArray(f, n, 1);
}

void CHECKSEDIMENTSETUP(const char* subbasinText, FLen subbasinLen) {
  NamedCall("CHECKSEDIMENTSETUP", subbasinText, subbasinLen);
  subbasin(subbasinText, kNameWidth).sedimentChecked = true;
}

}  // extern "C"
