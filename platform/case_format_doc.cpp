// The help document's table of the file format, written from the table of the fields.
#include <string>

#include "case_format.h"

namespace solvo::platform {

namespace {

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

std::string lines_of(const CaseField& f) {
  if (f.repeat == 1) return std::to_string(f.line);
  return std::to_string(f.line) + "–" + std::to_string(f.line + f.repeat - 1);
}

std::string form_of(const CaseField& f) {
  switch (f.form) {
    case FieldForm::Text:
      return "text, hela raden";
    case FieldForm::Free:
      return f.kind == FieldKind::Integer ? "heltal, fritt format" : "tal, fritt format";
    case FieldForm::Columns:
      break;
  }
  const std::string kind = f.kind == FieldKind::Integer ? "heltal" : "tal";
  if (f.count == FieldCount::One)
    return kind + ", tecken " + std::to_string(f.start + 1) + "–" +
           std::to_string(f.start + f.width);
  const std::string values = f.count == FieldCount::Spans ? "n" : "n+1";
  return values + " " + kind + " i fält om " + std::to_string(f.pitch) + " tecken";
}

std::string allowed_of(const CaseField& f) {
  if (f.id == Field::CaseName) return "inte blankt; inga styrtecken, / eller \\, inte . eller ..";
  if (f.id == Field::Heading) return "inga styrtecken";
  std::string text = f.range.max_is_spans ? "1 till n" : range_sv(f, 0);
  if (f.in_use_only) text += " (för linjelaster i bruk)";
  return text;
}

}  // namespace

std::string case_format_html() {
  std::string out =
      "<table class=\"filformat\">\n"
      "<tr><th>Rad</th><th>Form</th><th>Innehåll</th><th>Tillåtet</th><th>Standard</th></tr>\n";
  for (const CaseField& f : case_fields()) {
    out += "<tr><td>" + lines_of(f) + "</td><td>" + escaped(form_of(f)) + "</td><td>" +
           escaped(f.meaning_sv) + (*f.unit ? std::string(", ") + f.unit : std::string()) +
           "</td><td>" + escaped(allowed_of(f)) + "</td><td>" + escaped(f.fallback_text) +
           "</td></tr>\n";
  }
  out += "</table>\n";
  return out;
}

}  // namespace solvo::platform
