// Fields as a Fortran program writes and reads them. Expected texts follow the edit
// descriptors: Fw.d rounds the exact value to d decimals (halves away from zero), drops the
// leading zero only when the field is too narrow for it, and fills a field that is still too
// narrow with asterisks.
#include "fortran_io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numeric.h"

namespace solvo {
namespace {

struct FCase {
  float v;
  int w, d;
  const char* want;
};

TEST(FortranField, FixedPoint) {
  const float inf = std::numeric_limits<float>::infinity();
  const FCase cases[] = {
      {3.14159f, 8, 3, "   3.142"},
      {0.5f, 4, 2, "0.50"},
      {0.5f, 3, 2, ".50"},  // no room for the leading zero
      {0.5f, 2, 2, "**"},
      {-0.5f, 5, 2, "-0.50"},
      {-0.5f, 4, 2, "-.50"},
      {-0.5f, 3, 2, "***"},
      {12345.6f, 6, 1, "******"},
      {12345.6f, 7, 1, "12345.6"},
      {0.125f, 5, 2, " 0.13"},  // 0.125 is exact in binary: a true half, rounded away from zero
      {-0.125f, 6, 2, " -0.13"},
      {1.005f, 5, 2, " 1.00"},  // the float is 1.00499999..., below the half
      {2.5f, 3, 0, " 3."},
      {0.0f, 6, 3, " 0.000"},
      {99.996f, 5, 2, "*****"},  // rounds up to 100.00, six characters
      {99.994f, 5, 2, "99.99"},
      {-0.001f, 6, 2, "  0.00"},  // rounds to zero: no minus sign
      {-0.0f, 5, 1, "  0.0"},
      {std::nanf(""), 5, 2, "*****"},
      {inf, 6, 1, "******"},
      {-inf, 6, 1, "******"},
      {1.0e10f, 8, 1, "********"},
      {5.9f, 6, 3, " 5.900"},
      {3.1765f, 7, 4, " 3.1765"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(f_field(c.v, c.w, c.d), c.want) << c.v << " F" << c.w << "." << c.d;
}

struct ICase {
  int32_t v;
  int w, m;
  const char* want;
};

TEST(FortranField, Integer) {
  const ICase cases[] = {
      {5, 3, 0, "  5"},
      {-5, 3, 0, " -5"},
      {123, 2, 0, "**"},
      {-12, 3, 0, "-12"},
      {-123, 3, 0, "***"},
      {7, 2, 2, "07"},
      {7, 4, 2, "  07"},
      {2026, 4, 0, "2026"},
      {0, 2, 0, " 0"},
      {10, 1, 0, "*"},
      {kBadInt, 12, 0, "************"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(i_field(c.v, c.w, c.m), c.want) << c.v << " I" << c.w << "." << c.m;
}

TEST(FortranWriter, PositioningAndLineEnds) {
  FortranWriter w;
  w.endl();                           // a layout that starts with "/"
  w.x(3).a("AB").t(2).a("Z").endl();  // T moves left and overwrites
  w.a("A").x(5).endl();               // blanks that nothing follows are not written
  w.t(5).i(42, 3).endl();
  w.a("ABC", 5).a("ABCDEF", 3).endl();  // Aw: blanks first, or cut to the first w
  EXPECT_EQ(w.str(), "\r\n Z AB\r\nA\r\n     42\r\n  ABCABC\r\n");
}

TEST(FortranWriter, OwnTextAsWindows1252CaseBytesUnchanged) {
  FortranWriter w("\n");
  w.a("LÄSER Ø").raw("\x8e\xc3\x84").endl();
  EXPECT_EQ(w.str(), "L\xc4SER \xd8\x8e\xc3\x84\n");
}

struct ReadReal {
  const char* field;
  int d;
  float want;
};

TEST(FortranRead, RealFields) {
  const ReadReal cases[] = {
      {"  6.000", 3, 6.0f},   {"6.000  ", 3, 6.0f}, {"6.0 0 0", 3, 6.0f},
      {"      6", 3, 0.006f},  // no point: three implied decimals
      {"  6 0  ", 3, 0.06f},   // blanks ignored, then implied decimals
      {"       ", 3, 0.0f},   {"", 3, 0.0f},        {"-2.5", 3, -2.5f},
      {"1.5E2", 3, 150.0f},   {"15E1", 3, 0.15f},  // implied decimals apply to the mantissa
      {"1.5-2", 3, 0.015f},   {"1.5D+1", 3, 15.0f}, {".5", 2, 0.5f},
      {"0.10", 2, 0.1f},      {"  10", 2, 0.1f},    {"+3.", 3, 3.0f},
  };
  for (const auto& c : cases) {
    float v = -99.0f;
    EXPECT_TRUE(read_f_field(c.field, c.d, v)) << '"' << c.field << '"';
    EXPECT_FLOAT_EQ(v, c.want) << '"' << c.field << '"';
  }
  const char* bad[] = {"abc", "1.2.3", "NaN",  "Inf", "Infinity", "1.0e39",
                       "--1", "1,5",   "1.5E", "-",   ".",        "1.5E+"};
  for (const char* b : bad) {
    float v = 0;
    EXPECT_FALSE(read_f_field(b, 3, v)) << '"' << b << '"';
  }
}

TEST(FortranRead, IntegerFields) {
  const std::pair<const char*, int32_t> good[] = {{" 1", 1}, {"1 ", 1},  {"1 0", 10}, {"", 0},
                                                  {"  ", 0}, {"-3", -3}, {"+7", 7}};
  for (const auto& [f, want] : good) {
    int32_t v = -99;
    EXPECT_TRUE(read_i_field(f, v)) << '"' << f << '"';
    EXPECT_EQ(v, want) << '"' << f << '"';
  }
  for (const char* b : {"1.", "x", "99999999999", "1-", "-"}) {
    int32_t v = 0;
    EXPECT_FALSE(read_i_field(b, v)) << '"' << b << '"';
  }
}

TEST(FortranRead, FreeFormTakesTheFirstItem) {
  int32_t i = -1;
  bool present = false;
  EXPECT_TRUE(read_free_int("  42  rest of the line", i, present));
  EXPECT_TRUE(present);
  EXPECT_EQ(i, 42);
  EXPECT_TRUE(read_free_int("3,4", i, present));
  EXPECT_EQ(i, 3);
  EXPECT_TRUE(read_free_int("2*7", i, present));
  EXPECT_EQ(i, 7);
  EXPECT_TRUE(read_free_int("\t-5", i, present));
  EXPECT_EQ(i, -5);
  EXPECT_FALSE(read_free_int("2.0", i, present));  // a real is no whole number
  EXPECT_FALSE(read_free_int("abc", i, present));

  // A null item leaves the value as it was.
  i = 17;
  for (const char* null_item : {",", " , 5", "/", "3*"}) {
    EXPECT_TRUE(read_free_int(null_item, i, present)) << null_item;
    EXPECT_FALSE(present) << null_item;
    EXPECT_EQ(i, 17) << null_item;
  }

  float r = 0;
  EXPECT_TRUE(read_free_real("1.5 x", r, present));
  EXPECT_FLOAT_EQ(r, 1.5f);
  EXPECT_TRUE(read_free_real("3", r, present));  // no implied decimals in free form
  EXPECT_FLOAT_EQ(r, 3.0f);
  EXPECT_TRUE(read_free_real("-.25", r, present));
  EXPECT_FLOAT_EQ(r, -0.25f);
  EXPECT_FALSE(read_free_real("nan", r, present));
}

TEST(SafeTruncation, DefinedForEveryInput) {
  EXPECT_EQ(ftrunc(259.9f), 259);
  EXPECT_EQ(ftrunc(-259.9f), -259);  // toward zero
  EXPECT_EQ(ftrunc(0.2599f * 1000.0f), 259);
  EXPECT_EQ(ftrunc(std::nanf("")), kBadInt);
  EXPECT_EQ(ftrunc(std::numeric_limits<float>::infinity()), kBadInt);
  EXPECT_EQ(ftrunc(3.0e9f), kBadInt);
  EXPECT_EQ(ftrunc(-3.0e9f), kBadInt);
  EXPECT_EQ(fnint(2.5f), 3);
  EXPECT_EQ(fnint(-2.5f), -3);
}

}  // namespace
}  // namespace solvo
