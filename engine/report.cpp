#include "report.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "analysis.h"
#include "checkdat.h"
#include "checks.h"
#include "comdat.h"
#include "comdat_deck.h"
#include "crack_width.h"
#include "design.h"
#include "fortran_io.h"
#include "numeric.h"

namespace solvo {

namespace {

// A label padded with blanks to `width` characters. Counted in characters: the Swedish
// letters are one byte each in the report.
std::string label(std::string_view utf8, size_t width) {
  std::string text(utf8);
  size_t chars = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++chars;
  if (chars < width) text.append(width - chars, ' ');
  return text;
}

// A label padded to the 40 characters after which the value stands.
std::string label40(std::string_view utf8) { return label(utf8, 40); }

// Diameter of bar size `bar` as the report writes it: "Ø12".
std::string bar_text(int32_t bar) {
  return "Ø" + std::to_string(ftrunc(comdat::kBar[static_cast<size_t>(bar)].diameter));
}

// Why bars have no solution: `bar` the bar size of the case, `needed` the spacing it would
// need, `least` the least spacing, `hint` the larger bar size or the partner support. At most
// 41 characters, so that a note of a support or span fits in 80 columns.
std::string solution_reason(BarSolution why, int32_t bar, int32_t needed, int32_t least,
                            int32_t hint) {
  switch (why) {
    case BarSolution::kSolved:
      break;
    case BarSolution::kNoConvergence:
      return "arean konvergerar inte";
    case BarSolution::kNoEquilibrium:
      return "ingen jämvikt, snittet bär inte momentet";
    case BarSolution::kTooClose:
    case BarSolution::kAboveOneLayer: {
      std::string text = bar_text(bar) + " ger s " + std::to_string(needed) + " < " +
                         std::to_string(least) + " mm; ";
      if (why == BarSolution::kTooClose) return text + bar_text(hint) + " ger lösning";
      return text + "ryms ej i ett lager";
    }
    case BarSolution::kPairPartner:
      return "samma stång som stöd " + std::to_string(hint);
  }
  return {};
}

// One line per support whose top bars have no solution.
std::vector<std::string> top_bar_notes(const Run& run) {
  const Utdat& u = run.utdat;
  std::vector<std::string> lines;
  const int32_t least = least_top_spacing(run.matdat.dia_top);
  for (int j = 1; j <= run.indat.n + 1; ++j) {
    const BarSolution why = u.top_solution[static_cast<size_t>(j)];
    if (why == BarSolution::kSolved) continue;
    lines.push_back("OBS! Stöd " + std::to_string(j) + " saknar lösning: " +
                    solution_reason(why, run.indat.top_bar, u.top_needed[j], least, u.top_hint[j]));
  }
  return lines;
}

// One line per span whose bottom bars for fire have no solution.
std::vector<std::string> bottom_bar_notes(const Run& run) {
  const Utdat& u = run.utdat;
  std::vector<std::string> lines;
  for (int i = 1; i <= run.indat.n; ++i) {
    const BarSolution why = u.bottom_solution[static_cast<size_t>(i)];
    if (why == BarSolution::kSolved) continue;
    lines.push_back("OBS! Fält " + std::to_string(i) + " (brand) saknar lösning: " +
                    solution_reason(why, run.indat.bot_bar, u.bottom_needed[i], kLeastBottomSpacing,
                                    u.bottom_hint[i]));
  }
  return lines;
}

// One line per span thinner than the least depth.
std::vector<std::string> depth_notes(const Run& run) {
  std::vector<std::string> lines;
  for (int i = 1; i <= run.indat.n; ++i) {
    const float t = run.indat.thickness[i];
    if (!(t < kLeastSlabDepth)) continue;
    lines.push_back("OBS! Fack " + std::to_string(i) + ": tjocklek " + f_field(t, 5, 3) +
                    " m, minst " + f_field(kLeastSlabDepth, 5, 3) +
                    " m (80 mm, 40 mm över profilen)");
  }
  return lines;
}

class Report {
 public:
  Report(Run& run, const std::tm& now) : run_(run), c_(run.indat), now_(now) {
    k_ = design_row(c_);
    out_.reserve(8192 + 1024 * static_cast<size_t>(c_.n));  // six pages, about 15 KB for ten spans
  }

  std::string write() {
    page1();
    page2();
    page3();
    page4();
    page5();
    page6();
    return out_.take();
  }

 private:
  FortranWriter& w() { return out_; }

  void header() {
    w().endl();
    w().x(56).a("INDATAFIL : ").raw(run_.prfil, 8).endl();
    w().x(56).a("DATUM : ").i(now_.tm_year + 1900, 4).a(".").i(now_.tm_mon + 1, 2, 2).a(".");
    w().i(now_.tm_mday, 2, 2).endl();
    w().x(56).a("TID   : ").x(2).i(now_.tm_hour, 2, 2).a(":").i(now_.tm_min, 2, 2).a(":");
    w().i(now_.tm_sec, 2, 2).endl();
  }

  void title(std::string_view word, std::string_view rule) {
    w().endl();
    w().t(6).a(word).endl();
    w().t(6).a(rule).endl();
  }

  void page_end() { w().a("^").endl(); }

  // A row of values after a label: `first` values on the label's line, the rest on a
  // continuation line. When the values end exactly with the first group, the line end
  // before the continuation group is written all the same, which leaves an empty line.
  template <typename Field>
  void row(std::string_view label, int count, int first, int cont_blanks, Field field) {
    w().t(6).a(label);
    int k = 1;
    for (; k <= count && k <= first; ++k) field(k);
    if (count >= first) {
      w().endl();
      if (count > first) {
        w().x(cont_blanks);
        for (; k <= count; ++k) field(k);
        w().endl();
      } else {
        w().endl();
      }
    } else {
      w().endl();
    }
  }

  // Ø, the diameter (three digits from 100 mm on), ", ", the strength, "MPa".
  void bar_line(std::string_view label, float diameter, int32_t grade) {
    const int32_t d = ftrunc(diameter);
    const int32_t mpa = ftrunc(comdat::kFyk[static_cast<size_t>(grade)] / 1000.0f);
    w().t(6).a(label40(label)).a("Ø").i(d, d >= 100 ? 3 : 2).a(", ").i(mpa, 3).a("MPa").endl();
  }

  void mm_line(std::string_view label, int32_t mm) {
    w().t(6).a(label40(label)).i(mm, mm >= 100 ? 3 : 2).a(" mm").endl();
  }

  void page1() {
    const Dat& d = run_.dat;
    const int n = c_.n;
    header();
    title("INDATA", "------");
    w().t(6).raw(run_.rubrad, 40).endl();
    w().t(6)
        .a(label40("Marknad :"))
        .a(comdat::kMarket[static_cast<size_t>(c_.market)].name, 8)
        .endl();
    w().t(6)
        .a(label40("Betongkvalitet :"))
        .a(comdat::kConcrete[static_cast<size_t>(c_.concrete_class)].name, 6)
        .endl();
    w().t(6).a(label40("Kryptal :")).i(c_.creep, 1).endl();
    bar_line("Överkantsarmering :", run_.matdat.dia_top, c_.top_grade);
    mm_line("Täckande betongskikt :", c_.top_cover);
    bar_line("Underkantsarmering :", run_.matdat.dia_bot, c_.bot_grade);
    mm_line("Placering :", c_.bot_placement);
    if (c_.market == 1) {
      w().t(6).a(label40("Säkerhetsklass :")).i(c_.safety_class, 1).a(", gammaD=");
      w().f(d.gamma_d, 4, 2).endl();
    }
    w().t(6)
        .a(label40("Lastgrupp :"))
        .a(label40(comdat::kLoadCategory[static_cast<size_t>(c_.load_category)]))
        .endl();
    std::string_view rule = c_.load_set == 1   ? "enl. ekv. 6.10a"
                            : c_.load_set == 2 ? "enl. ekv. 6.10b"
                                               : "enl. ekv. 6.10a och b";
    w().t(6).a(label40("Lastuppsättning :")).a(rule).endl();
    const std::pair<std::string_view, float> factors[] = {
        {"gammaG :", c_.gamma_g}, {"xsi :", c_.xsi},   {"gammaQ :", c_.gamma_q},
        {"psi0 :", c_.psi0},      {"psi1 :", c_.psi1}, {"psi2 :", c_.psi2}};
    for (const auto& [label, value] : factors) w().t(6).a(label40(label)).f(value, 4, 2).endl();
    w().t(6).a("Begränsning av initiell nedböjning:     SPV/").i(c_.defl_initial, 3).endl();
    w().t(6).a("Begränsning av tillkommande nedböjning: SPV/").i(c_.defl_additional, 3);
    w().a(c_.defl_load == 1 ? " (med frekventa laster)" : " (med karakteristiska laster)").endl();
    if (c_.ceiling == 1) w().t(6).a(label40("Undertak :")).a("Saknas").endl();
    if (c_.ceiling == 2) w().t(6).a(label40("Undertak :")).a("13 Gips").endl();
    w().t(6).a(label40("Brandklass :")).a("REI").i(c_.fire_minutes, 2).endl();
    if (asks_rei120(c_)) w().t(6).a("OBS! REI 120 dimensioneras inte; REI 90 redovisas").endl();

    w().endl();
    row("Fack                 ", n, 6, 27, [&](int i) { w().i(i, 8); });
    row("Spännvidd      (m)    ", n, 6, 27, [&](int i) { w().f(c_.span[i], 8, 2); });
    w().t(6).a("Konsol         (m) ").f(c_.cant_left, 8, 3);
    for (int i = 1; i < n; ++i) w().x(8);
    w().f(c_.cant_right, 8, 3).endl();
    row("Upplagsbredd   (m) ", n + 1, 7, 32, [&](int j) { w().f(c_.support_width[j], 8, 3); });
    row("Plattjocklek   (m)    ", n, 6, 27, [&](int i) { w().f(c_.thickness[i], 8, 2); });
    row("Egentyngd      (kN/m2)", n, 6, 27, [&](int i) { w().f(d.self_weight[i], 8, 2); });
    row("Permanent last (kN/m2)", n, 6, 27,
        [&](int i) { w().f(d.self_weight[i] + c_.perm_load[i], 8, 2); });
    row("Nyttig last    (kN/m2)", n, 6, 27, [&](int i) { w().f(c_.imposed_load[i], 8, 2); });

    if (c_.line_loads > 0 && c_.ll_span[1] > 0) {
      w().endl();
      w().t(6).a("LINJELASTER      Fack   Avst    Last").endl();
      w().t(6).a("                  nr     m      kN/m").endl();
      for (int k = 1; k <= c_.line_loads; ++k) {
        w().t(6).a("Bunden").x(10).i(c_.ll_span[k], 4).f(c_.ll_pos[k], 8, 2);
        w().f(c_.ll_load[k], 8, 2).endl();
      }
    }
    w().endl();
    w().t(6).a("OBS! Beräkningen anger armering endast i bjälklags fält och över").endl();
    w().t(6).a("     innerstöd med avseende på angivna laster.").endl();
    w().t(6).a("     Annan erforderlig armering för sprickfördelning, inspänning").endl();
    w().t(6).a("     kantarmering eller för totalstabilitet redovisas ej.").endl();
    page_end();
  }

  void page2() {
    const Utdat& u = run_.utdat;
    header();
    title("UTDATA", "------");
    w().endl();
    w().t(6).a("NYTTJANDEGRADER (1.0 = 100%)").endl();
    w().t(6).a("Fack    Fält     Tvärkr       Vidhäft   Def(init.)  Def(tillk.)  Svikt").endl();
    w().t(6).a("                vä    hö     vä    hö").endl();
    for (int i = 1; i <= c_.n; ++i) {
      w().x(6).i(i, 2).x(5).f(u.uf[i], 4, 2).x(3).f(u.uvl[i], 4, 2).x(2).f(u.uvr[i], 4, 2);
      w().x(3).f(u.ub[i], 4, 2).x(2).f(u.ub[i], 4, 2).x(4).f(u.udi[i], 5, 2);
      w().x(8).f(u.udt[i], 4, 2).x(7).f(u.us[i], 4, 2).endl();
    }
    if (c_.top_layout == 1 || c_.top_layout == 2) {
      w().endl();
      w().t(6).a("ARMERING ").endl();
      w().t(6).a("Armering över stöd :").f(c_.top_layout == 1 ? u.wa : u.wb, 5, 2);
      w().a(" kg/m2").endl();
      w().t(6).a("Armering i fält    :").f(u.wf, 5, 2).a(" kg/m2");
      if (u.wf > 0.01f) w().a(", OBS! nödvändig endast vid brandkrav REI").i(c_.fire_minutes, 2);
      w().endl();
    }
    const std::vector<std::string> depth = depth_notes(run_);
    const std::vector<std::string> top = top_bar_notes(run_);
    const std::vector<std::string> bottom = bottom_bar_notes(run_);
    if (!depth.empty() || !top.empty() || !bottom.empty()) w().endl();
    for (const auto* notes : {&depth, &top, &bottom})
      for (const std::string& line : *notes) w().t(6).a(line).endl();
    page_end();
  }

  void moment_heading() {
    w().endl();
    w().t(6).a("MOMENT (kNm/m)").endl();
    w().t(6).a("Fack").x(10).a("Stödv").x(16).a("Fält").x(15).a("Stödh").endl();
    w().x(15).a("Max").x(7).a("Min").x(7).a("Max").x(7).a("Min").x(7).a("Max").x(7).a("Min");
    w().endl();
  }

  void moment_rows(int k) {
    const Arbvar& a = run_.arbvar;
    for (int i = 1; i <= c_.n; ++i) {
      w().x(6).i(i, 2).x(4).f(a.ms_max[k][i], 7, 2);
      const float rest[] = {a.ms_min[k][i], a.m_span_max[k][i], a.m_span_min[k][i],
                            a.ms_max[k][i + 1], a.ms_min[k][i + 1]};
      for (float v : rest) w().x(3).f(v, 7, 2);
      w().endl();
    }
  }

  void zero_point_rows(int k) {
    const Arbvar& a = run_.arbvar;
    w().endl();
    w().t(6).a("MOMENTNOLLPUNKTER (avstånd från stöd i m)").endl();
    w().t(6).a("Fack").x(6).a("  Vä").x(6).a("  Hö").endl();
    for (int i = 1; i <= c_.n; ++i)
      w().x(6).i(i, 2).x(4).f(a.zl[k][i], 7, 2).x(3).f(a.zr[k][i], 7, 2).endl();
  }

  void page3() {
    const Arbvar& a = run_.arbvar;
    header();
    title("BROTTGRÄNSTILLSTÅND", "-------------------");
    moment_heading();
    moment_rows(k_);
    w().endl();
    w().t(6).a("UPPLAGSREAKTIONER (kN/m)").endl();
    w().t(6).a("Stöd").x(6).a("Rmax").x(6).a("Rmin").endl();
    for (int j = 1; j <= c_.n + 1; ++j)
      w().x(6).i(j, 2).x(4).f(a.r_max[k_][j], 7, 2).x(3).f(a.r_min[k_][j], 7, 2).endl();
    w().endl();
    w().t(6).a("TVÄRKRAFTER (kN/m)").endl();
    w().t(6).a("Fack").x(5).a("TVmax").x(5).a("TVmin").x(5).a("THmax").x(5).a("THmin").endl();
    for (int i = 1; i <= c_.n; ++i) {
      w().x(6).i(i, 2).x(4).f(a.vl_max[k_][i], 7, 2).x(3).f(a.vl_min[k_][i], 7, 2);
      w().x(3).f(a.vr_max[k_][i], 7, 2).x(3).f(a.vr_min[k_][i], 7, 2).endl();
    }
    zero_point_rows(k_);
    page_end();
  }

  void page4() {
    const Utdat& u = run_.utdat;
    header();
    title("BRUKSGRÄNSTILLSTÅND", "-------------------");
    w().endl();
    w().t(6).a("NEDBÖJNINGAR (mm)").endl();
    w().t(6).a("Fack").x(4).a("Initiell").x(4).a("Tillkommande").endl();
    for (int i = 1; i <= c_.n; ++i)
      w().x(6).i(i, 2).x(5).f(u.di[i], 6, 1).x(7).f(u.dt[i], 6, 1).endl();
    if (c_.defl_load == 1 || c_.defl_load == 2) {
      w().endl();
      w().t(6).a("Initiell :     kvasipermanenta laster inklusive överhöjning och krypning").endl();
      w().t(6).a("Tillkommande : ").a(c_.defl_load == 1 ? "frekventa" : "karakteriska");
      w().a(" laster utan hänsyn till krypning").endl();
    }
    title("BRANDLASTFALL", "-------------");
    moment_heading();
    moment_rows(kFireRow);
    zero_point_rows(kFireRow);
    page_end();
  }

  // Whole millimetres from a length in metres.
  static int32_t mm(float metres) { return ftrunc(metres * 1000.0f); }

  void page5() {
    header();
    title("ARMERING", "--------");
    top_bar_table();
    bottom_bar_table();
    bar_legend();
    chair_table();
    page_end();
  }

  // The bars over the supports: diameter, spacing, start points and lengths, fire capacity.
  void top_bar_table() {
    const Utdat& u = run_.utdat;
    const Arbvar& a = run_.arbvar;
    const int n = c_.n;
    const int layout = c_.top_layout;
    if (layout == 1)
      w().t(6).a("Stöd").x(5).a("Diam").x(4).a("    S").x(5).a("    X1").x(5).a("    L1");
    else
      w().t(6)
          .a("Stöd")
          .x(5)
          .a("Diam")
          .x(4)
          .a("    S")
          .x(5)
          .a("    X1")
          .x(5)
          .a("    L1")
          .x(5)
          .a("    X2")
          .x(5)
          .a("    L2");
    w().x(3).a("   Mr").endl();
    for (int j = 1; j <= n + 1; ++j) {
      int32_t x1 = 0, x2 = 0;
      if (j == 1) {
        x1 = x2 = mm(c_.cant_left);
      } else if (j == n + 1) {
        if (u.s[j] > 0.0f) x1 = x2 = mm(c_.thickness[n] + a.zr[k_][n] - u.a[j]);
      } else {
        if (a.merge[k_][j] == 0) x1 = mm(c_.thickness[j - 1] + a.zr[k_][j - 1] - u.a[j]);
        x2 = mm(c_.thickness[j - 1] + a.tr[k_][j - 1] - u.a[j]);
      }
      w().t(6).i(j, 4).x(5).i(ftrunc(run_.matdat.dia_top), 4).x(4).i(ftrunc(u.s[j]), 5);
      if (layout == 1) {
        w().x(5).i(x1, 6).x(5).i(u.l1[j], 6);
      } else {
        w().x(5).i(x1, 6).x(5).i(u.l1b[j], 6).x(5).i(x2, 6).x(5).i(u.l2b[j], 6);
      }
      w().x(2).f(u.mr_fire[j], 6, 2).endl();
    }
    for (const std::string& line : top_bar_notes(run_)) w().t(6).a(line).endl();
  }

  // The bottom bars of the fire design, per span.
  void bottom_bar_table() {
    const Utdat& u = run_.utdat;
    const int n = c_.n;
    w().endl();
    w().t(6).a("Fält").x(5).a("Diam").x(4).a("    S").x(5).a(" Längd").endl();
    bool any_bottom = false;
    for (int i = 1; i <= n; ++i) {
      w().t(6).i(i, 4).x(5).i(ftrunc(run_.matdat.dia_bot), 4).x(4).i(u.sb[i], 5);
      w().x(5).i(u.lb[i], 6).endl();
      if (u.sb[i] > 0) any_bottom = true;
    }
    for (const std::string& line : bottom_bar_notes(run_)) w().t(6).a(line).endl();
    if (any_bottom) {
      w().endl();
      w().t(6).a("OBS! Fältarmeringen placeras rakt ovanför profilbotten, dvs med en").endl();
      w().t(6).a("     multipel av 150 mm och är nödvändig endast vid brandkrav REI");
      w().i(c_.fire_minutes, 2).endl();
    }
  }

  // What X1, L1, X2, L2 and Mr of the top-bar table mean, for the case's bar layout.
  void bar_legend() {
    const int layout = c_.top_layout;
    if (layout == 1) {
      w().endl();
      w().endl();
      w().t(6).a("X1 = Armeringens startpunkt vänster om Stöd (mm)").endl();
      w().t(6).a("L1 = Armeringslängd. Centrumavstånd S (mm)").endl();
      w().t(6).a("Mr = Momentkapacitet vid BRAND (kNm/m)").endl();
    } else if (layout == 2) {
      w().endl();
      w().endl();
      w().t(6).a("X1 = Armeringens startpunkt vänster om Stöd (mm)").endl();
      w().t(6).a("L1 = Armeringslängd. Centrumavstånd 2*S (mm)").endl();
      w().t(6).a("X2 = Armeringens startpunkt vänster om Stöd (mm)").endl();
      w().t(6).a("L2 = Armeringslängd. Centrumavstånd 2*S (mm)").endl();
      w().t(6).a("Mr = Momentkapacitet vid BRAND (kNm/m)").endl();
    }
  }

  // The largest chair spacing for each slab thickness of the case.
  void chair_table() {
    const int n = c_.n;
    title("BOCKRYGGAR", "----------");
    w().t(6).a("Bjälklagstjocklek       Max Bockryggsavstånd ").endl();
    w().t(6).a("     (mm)                       (m)          ").endl();
    std::vector<float> seen;
    for (int i = 1; i <= n; ++i) {
      const float t = c_.thickness[i];
      bool known = false;
      for (float s : seen)
        if (std::fabs(s - t) < 0.001f) known = true;
      if (known) continue;
      seen.push_back(t);
      w().t(12).i(ftrunc((10000.0f * t + 1.0f) * 0.1f), 3).a(chair_text(t), 36).endl();
    }
  }

  // ---- Page 6 ----

  // A number in w columns with d decimals and a blank before it, fewer decimals where it would
  // not fit, and where no decimals fit a ">" and nines (an infinity too): never a row of stars
  // and never two numbers run together. NaN: "-".
  FortranWriter& value(float v, int width, int decimals) {
    if (std::isnan(v)) return w().x(width - 1).a("-");
    for (int d = decimals; d >= 0; --d) {
      const std::string text = f_field(v, width, d);
      if (text.find('*') == std::string::npos && text[0] == ' ') return w().a(text);
    }
    const std::string nines(static_cast<size_t>(width - 2), '9');
    return w().x(1).a(v < 0 ? "<-" : ">").a(v < 0 ? nines.substr(1) : nines);
  }

  // A number with d decimals and no blanks before it, for a number inside a sentence.
  FortranWriter& compact(float v, int decimals) {
    std::string text = f_field(v, 12, decimals);
    if (text.find('*') != std::string::npos || std::isnan(v)) text = v > 0 ? ">99999999" : "-";
    return w().a(text.substr(std::min(text.find_first_not_of(' '), text.size())));
  }

  // A heading word right-aligned in w columns.
  void cell(std::string_view text, int width) {
    size_t chars = 0;
    for (unsigned char c : text)
      if ((c & 0xC0) != 0x80) ++chars;
    if (chars < static_cast<size_t>(width)) w().x(width - static_cast<int>(chars));
    w().a(text);
  }

  // One line per span that the deck cannot carry with the props it has: the least number of
  // props with which every construction-stage check of that span passes.
  void props_lines() {
    bool any = false;
    for (int i = 1; i <= c_.n; ++i) {
      const int32_t p = run_.checkdat.casting[static_cast<size_t>(i)].props_needed;
      if (p < 0) continue;
      any = true;
      w().t(6).a("OBS! Stämpning krävs i fack ").i(i, i >= 10 ? 2 : 1).a(": ");
      if (p > kMaxProps)
        w().a("mer än ").i(kMaxProps, 1).a(" stämp").endl();
      else
        w().a("minst ").i(p, 1).a(" stämp").endl();
    }
    if (any) w().t(6).a("     (med stämpen ovan i alla dessa fack samtidigt)").endl();
  }

  // The first lines of page 6 after the props: one per check that fails, with the largest
  // utilisation and the spans (for a cantilever the support) where it fails; or one line
  // saying that all pass.
  void verdict_lines() {
    const Checkdat& d = run_.checkdat;
    bool any = false;
    auto line = [&](std::string_view what, std::string_view where,
                    const std::vector<std::pair<int, float>>& items, auto failing) {
      float most = 0;
      std::vector<int> at;
      for (const auto& [k, u] : items) {
        if (failing(k, u)) at.push_back(k);
        if (!(u <= most)) most = u;
      }
      if (at.empty()) return;
      any = true;
      w().t(6).a("OBS! ").a(label(what, 27)).a("max ");
      value(most, 7, 2);
      w().a("  ").a(where);
      for (int k : at) w().i(k, 3);
      w().endl();
    };
    auto above = [](int, float u) { return !(u <= 1.0f); };
    std::vector<std::pair<int, float>> sag, hog, defl, root, tip;
    for (int i = 1; i <= c_.n; ++i) {
      const CastingSpan& s = d.casting[static_cast<size_t>(i)];
      sag.push_back({i, s.u_sag});
      hog.push_back({i, s.u_hog});
      defl.push_back({i, s.u_defl});
    }
    for (const auto& [k, j] : {std::pair{&d.cant_left, 1}, std::pair{&d.cant_right, c_.n + 1}}) {
      if (!(k->length > 0.0f)) continue;
      root.push_back({j, k->u_moment});
      tip.push_back({j, k->u_defl});
    }
    line("Byggskede, fältmoment", "fack", sag, above);
    line("Byggskede, stödmoment", "fack", hog, above);
    line("Byggskede, nedböjning", "fack", defl, [&](int i, float u) {
      return above(i, u) || d.casting[static_cast<size_t>(i)].beyond_range;
    });
    line("Byggskede, konsolmoment", "stöd", root, above);
    line("Byggskede, konsolnedböjning", "stöd", tip, [&](int j, float u) {
      return above(j, u) || (j == 1 ? d.cant_left : d.cant_right).beyond_range;
    });
    if (c_.freq_min > 0.0f) line("Egenfrekvens", "fack", {{d.freq_span, d.u_freq}}, above);
    std::vector<std::pair<int, float>> cracks;
    for (int j = 1; j <= c_.n + 1; ++j) {
      const CrackSupport& s = run_.crack.at[static_cast<size_t>(j)];
      if (s.checked) cracks.push_back({j, s.utilisation});
    }
    line("Sprickbredd", "stöd", cracks, above);
    if (!any) w().t(6).a("Samtliga kontroller på sidan uppfylls (nyttjandegrad högst 1.0).").endl();
  }

  void casting_lead() {
    const Checkdat& d = run_.checkdat;
    title("BYGGSKEDE", "---------");
    w().t(6).a("Profilplåten som form: ");
    w().a(c_.deck_support == 2 ? "fritt upplagd mellan" : "kontinuerlig över");
    w().a(" stöd och stämp, EI =").f(d.ei_deck, 6, 1).a(" kNm2/m").endl();
    w().t(6).a("MRd =").f(d.mrd, 5, 2).a(" kNm/m i fält och över stöd").endl();
    w().t(6).a("G = plåt ").f(comdat::kDeckWeight, 5, 3).a(" + betong 26*(h - 0.0165)");
    w().a(" + vattensäck 26*0.7*nedb. där nedb. > h/10").endl();
    w().t(6)
        .a("Q = 0.75 kN/m2 överallt + Qa = 0.1*betong (0.75-1.5 kN/m2) på ett plåtspann")
        .endl();
    w().t(6).a("    eller två intill varandra (konservativt där de är längre än 3 m)").endl();
    w().t(6)
        .a("Gjutordning: plåtspann och konsoler utan betong (endast plåt) ingår där det")
        .endl();
    w().t(6).a("    ger större moment").endl();
    w().t(6).a("Brott: gammaD*(gammaG*G + gammaQ*Q), gammaD =").f(run_.dat.gamma_d, 5, 2);
    w().a(", gammaG =").f(c_.gamma_g, 5, 2).a(", gammaQ =").f(c_.gamma_q, 5, 2).endl();
    w().t(6).a("Nedböjning under G, gräns Lplåt/180").endl();
  }

  void casting_table() {
    const Checkdat& d = run_.checkdat;
    casting_lead();
    const std::pair<const char*, int> top[] = {
        {"Fack", 4},  {"Stämp", 6}, {"Lplåt", 6}, {"G", 6},     {"Vatten", 7},
        {"Qa", 6},    {"Mfält", 8}, {"Mstöd", 8}, {"Nyttj", 6}, {"Nyttj", 6},
        {"Nedb.", 8}, {"Gräns", 6}, {"Nyttj", 6}};
    const std::pair<const char*, int> units[] = {
        {"", 4},      {"", 6},      {"(m)", 6},   {"kN/m2", 6}, {"kN/m2", 7},
        {"kN/m2", 6}, {"kNm/m", 8}, {"kNm/m", 8}, {"fält", 6},  {"stöd", 6},
        {"(mm)", 8},  {"(mm)", 6},  {"nedb", 6}};
    for (const auto& row : {top, units}) {
      w().t(6);
      for (int k = 0; k < 13; ++k) cell(row[k].first, row[k].second);
      w().endl();
    }
    std::vector<int> beyond;
    for (int i = 1; i <= c_.n; ++i) {
      const CastingSpan& s = d.casting[static_cast<size_t>(i)];
      w().t(6).i(i, 4).i(s.props, 6);
      value(s.deck_span, 6, 2);
      value(s.g, 6, 2);
      value(s.ponding, 7, 2);
      value(s.q_work, 6, 2);
      value(s.m_sag, 8, 2);
      value(s.m_hog, 8, 2);
      value(s.u_sag, 6, 2);
      value(s.u_hog, 6, 2);
      value(s.defl, 8, 1);
      value(s.defl_limit, 6, 1);
      value(s.u_defl, 6, 2);
      w().endl();
      if (s.beyond_range) beyond.push_back(i);
    }
    for (int i : beyond) {
      w().t(6).a("OBS! Fack ").i(i, i >= 10 ? 2 : 1).a(": vattensäcken skulle ge nedböjning över");
      w().a(" Lplåt/20, plåten är").endl();
      w().t(6).a("     långt utanför sitt område; värdena ovan är utan vattensäck.").endl();
    }
  }

  void cantilever_table() {
    const Checkdat& d = run_.checkdat;
    if (!(d.cant_left.length > 0.0f) && !(d.cant_right.length > 0.0f)) return;
    w().endl();
    w().t(6)
        .a("Konsoler (plåtkonsol från ändstödet), nedböjning vid spetsen, gräns 2*längd/180")
        .endl();
    w().t(6).a("Konsol  Längd     G Vatten    Qa   Mstöd Nyttj   Nedb. Gräns Nyttj").endl();
    w().t(6).a("          (m) kN/m2  kN/m2 kN/m2   kNm/m  grad    (mm)  (mm)  grad").endl();
    for (const auto& [k, name] :
         {std::pair{&d.cant_left, "Vänster"}, std::pair{&d.cant_right, "Höger  "}}) {
      if (!(k->length > 0.0f)) continue;
      w().t(6).a(name);
      value(k->length, 6, 2);
      value(k->g, 6, 2);
      value(k->ponding, 7, 2);
      value(k->q_work, 6, 2);
      value(k->m_root, 8, 2);
      value(k->u_moment, 6, 2);
      value(k->defl, 8, 1);
      value(k->defl_limit, 6, 1);
      value(k->u_defl, 6, 2);
      w().endl();
      if (k->beyond_range)
        w().t(6)
            .a("OBS! Konsolen är långt utanför sitt område; värdena är utan vattensäck.")
            .endl();
    }
  }

  // The line loads on the supports and, per span, on its most loaded prop line.
  void reaction_table() {
    const Checkdat& d = run_.checkdat;
    w().endl();
    w().t(6).a("Linjelast under gjutning (kN/m)     Karakt.  Dimens.").endl();
    for (int r = 1; r <= d.reactions; ++r) {
      const CastingReaction& x = d.reaction[static_cast<size_t>(r)];
      if (x.span != 0) continue;
      w().t(6).a("Stöd ").i(x.at, 2).x(27);
      value(x.characteristic, 9, 2);
      value(x.design, 9, 2);
      w().endl();
    }
    for (int i = 1; i <= c_.n; ++i) {
      float k = -1.0f, g = -1.0f;
      int count = 0;
      for (int r = 1; r <= d.reactions; ++r) {
        const CastingReaction& x = d.reaction[static_cast<size_t>(r)];
        if (x.span != i) continue;
        ++count;
        k = std::fmax(k, x.characteristic);
        g = std::fmax(g, x.design);
      }
      if (count == 0) continue;
      w().t(6)
          .a("Stämp i fack ")
          .i(i, 2)
          .a(count > 1 ? ", mest belastad" : "")
          .x(count > 1 ? 4 : 19);
      value(k, 9, 2);
      value(g, 9, 2);
      w().endl();
    }
  }

  void crack_table() {
    const Checkdat& d = run_.checkdat;
    title("SPRICKARMERING", "--------------");
    w().t(6)
        .a("Över stöd minst 0.2 % av betongen ovanför profilen (0.4 % intill stämpat fack)")
        .endl();
    w().t(6).a("och minst 80 mm2/m; s högst 2h och 350 mm").endl();
    w().t(6).a("Stöd  As,min (mm2/m)  Diam (mm)  S (mm)  Smax (mm)  Överkantsarm. räcker").endl();
    for (int j = 1; j <= c_.n + 1; ++j) {
      w().x(6).i(j, 2).x(10).i(fnint(d.crack_area[j]), 6).x(7).i(ftrunc(run_.matdat.dia_top), 4);
      w().x(3).i(d.crack_spacing[j], 5).x(6).i(d.crack_spacing_max[j], 5).x(6);
      w().a(crack_steel_provided(run_, j) ? "JA" : "NEJ").endl();
    }
  }

  static std::string_view exposure_text(float wmax) {
    if (std::fabs(wmax - 0.4f) < 1.0E-4f) return "X0/XC1";
    if (std::fabs(wmax - 0.3f) < 1.0E-4f) return "XC2-XC4, XD, XS";
    return "vald";
  }

  void crack_width_row(int j, const CrackSupport& s) {
    const CrackResult& r = s.r;
    w().x(5).i(j, 4).x(1).f(s.m, 8, 2).x(1).f(r.sigma_s, 7, 1).x(1).f(r.rho, 9, 4);
    w().x(1).f(r.sr_max, 6, 1).x(1).f(r.wk, 6, 3).x(1).f(run_.crack.wmax, 5, 2);
    w().x(1).f(s.utilisation, 6, 2);
    if (s.utilisation <= 1.0f) {
      w().endl();
    } else if (s.needed > 0) {
      w().x(4).i(s.needed, 5).endl();
    } else {
      w().x(4).a("ingen").endl();
    }
  }

  // Crack widths over the supports with the top bars of page 5.
  void crack_width_table() {
    const CrackWidths& cw = run_.crack;
    title("SPRICKBREDD", "-----------");
    if (!(cw.wmax > 0.0f)) {
      w().t(6).a("Ingen största sprickbredd angiven: sprickbredden kontrolleras ej.").endl();
      return;
    }
    w().t(6).a("wk <= wmax =").f(cw.wmax, 5, 2).a(" mm (").a(exposure_text(cw.wmax));
    w().a(") under G + psi2*Q, EN 1992-1-1 (7.8)-(7.14)").endl();
    w().t(6).a("Sprucket tvärsnitt, tryck i ribborna, plåten försummad, Es/Ecm = ");
    w().i(ftrunc(run_.matdat.es / 1.0E6f), 3).a("/");
    w().i(ftrunc(comdat::kConcrete[static_cast<size_t>(c_.concrete_class)].ecm / 1.0E6f), 2);
    w().endl();
    w().t(6).a("Stöd        M sigma s rho p,eff sr,max     wk  wmax Nyttj. S behövs").endl();
    w().t(6).a("      (kNm/m)   (MPa)             (mm)   (mm)  (mm)   grad     (mm)").endl();
    bool rows = false, none = false, needed = false;
    for (int j = 1; j <= c_.n + 1; ++j) {
      const CrackSupport& s = cw.at[static_cast<size_t>(j)];
      if (!s.checked) continue;
      crack_width_row(j, s);
      rows = true;
      if (!(s.utilisation <= 1.0f)) (s.needed > 0 ? needed : none) = true;
    }
    if (!rows) w().t(6).a("Inget stöd med överkantsarmering.").endl();
    if (needed) {
      w().t(6).a("S behövs ger").f(c_.top_layout == 2 ? cw.extra_wb : cw.extra_wa, 6, 2);
      w().a(" kg/m2 mer armering över stöd.").endl();
    }
    if (none) {
      w().t(6).a("ingen: inget byggbart avstånd för Ø").i(ftrunc(run_.matdat.dia_top), 2);
      w().a(" ger wk <= wmax.").endl();
    }
  }

  void frequency_table() {
    const Checkdat& d = run_.checkdat;
    title("EGENFREKVENS", "------------");
    w().t(6)
        .a("Bjälklaget som en kontinuerlig balk över de fria spännvidderna (som analysen)")
        .endl();
    w().t(6).a("och konsolerna; balkelement med konsistent massa, lägsta egenvärdet.").endl();
    w().t(6)
        .a("Styvhet kortidsvärde (kryptal 0); massa egentyngd + permanent + 0.1*nyttig last")
        .endl();
    w().t(6).a("Fack   Spännvidd (m)   EI (kNm2/m)   Massa (kg/m2)").endl();
    for (int i = 1; i <= c_.n; ++i) {
      w().t(6).i(i, 4);
      value(run_.dat.clear_span[i], 16, 2);
      value(d.freq_ei[i], 14, 1);
      value(d.freq_mass[i], 16, 1);
      w().endl();
    }
    w().t(6).a("Lägsta egenfrekvens f1 = ");
    if (std::isfinite(d.freq) && d.freq > 0.0f)
      compact(d.freq, 2).a(" Hz");
    else
      w().a("saknas (ingen svängningsform)");
    if (c_.freq_min > 0.0f) {
      w().a(", gräns ");
      compact(c_.freq_min, 2).a(" Hz, nyttjandegrad ");
      compact(d.u_freq, 2).endl();
    } else {
      w().a(", ingen gräns angiven: kontrolleras ej").endl();
    }
  }

  // Page 6: the deck during casting, the anti-crack reinforcement and the natural frequency.
  void page6() {
    header();
    w().endl();
    props_lines();
    verdict_lines();
    casting_table();
    cantilever_table();
    reaction_table();
    crack_table();
    crack_width_table();
    frequency_table();
    w().endl();
    w().t(6)
        .a("OBS! Ej kontrollerat i byggskedet: livets lokala buckling vid stöd och stämp")
        .endl();
    w().t(6).a("     samt samverkan mellan stödmoment och upplagskraft.").endl();
    page_end();
  }

  // The largest spacing of the bar chairs for a slab thickness, as a 36-character text.
  static std::string chair_text(float t) {
    const char* value = t <= 0.14f   ? "2.0"
                        : t <= 0.16f ? "1.9"
                        : t <= 0.18f ? "1.8"
                        : t <= 0.20f ? "1.7"
                        : t <= 0.24f ? "1.6"
                        : t <= 0.28f ? "1.5"
                        : t <= 0.30f ? "1.4"
                                     : nullptr;
    if (value == nullptr) return "                 Kontakta Fjalvik   ";
    return std::string(23, ' ') + value + std::string(10, ' ');
  }

  Run& run_;
  const Indat& c_;
  std::tm now_;
  int k_ = 3;
  FortranWriter out_;
};

}  // namespace

void utskr(Run& run, const std::tm& now) {
  Report report(run, now);
  std::string text = report.write();
  // The diagram's curves: those of the design's load set, beside MOMK.DAT.
  run.files.push_back({"MOMD.DAT", design_curves(run)});
  std::string name = run.utfil;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  run.files.push_back({name, std::move(text), true});
}

void utskr(Run& run) {
  std::time_t t = std::time(nullptr);
  std::tm now{};
  localtime_r(&t, &now);
  utskr(run, now);
}

}  // namespace solvo
