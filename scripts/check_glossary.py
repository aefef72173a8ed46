#!/usr/bin/env python3
"""The glossary keeps up with the engine's names.

Lists the routines and types that the headers of the engine (and of the design search over
it) declare at namespace scope and checks
that each one either stands in docs/GLOSSARY.md (inside backticks) or is one of the English
names below, which need no glossary entry. A new Swedish routine without an entry, or a new
English one not yet listed here, fails the check and is named on standard error.

Usage: check_glossary.py [--root DIR] [--glossary FILE]   (exit 0: covered, 1: names missing)
"""
import argparse
import pathlib
import re
import sys

# English names of the engine's headers: our own helpers, types and results.
ENGLISH_NAMES = frozenset("""
    AreaResult Beam BeamEnvelope BeamLoad BeamResult BondResult CapacityResult CaseError
    CastingSpan Candidate Check CheckItem CheckKind CheckVerdict Concrete FileOut FireAreaResult
    FortranWriter KrdefCache Market Outcome OutputFile PointLoadShape RibGeometry Run
    SearchPlan ShearResult SimpleSpan SpanGrid SpanLoad StiffnessResult
    StreamOut TextOut ThicknessGroup Bar SpanLoads BarSolution Verdict VerdictItem
    assess bottom_bars calculate calculate_candidate candidates case_candidate check_name
    check_verdict casting_checks crack_reinforcement design_row design_spans design_supports
    end_line envelope f_field fire fire_parameters fire_support_capacities fnint free_field
    ftrunc i_field is_blank_line natural_frequency read_case read_f_field read_free_int
    read_free_real read_i_field read_search_plan read_whole_file run_search run_solvowb
    run_solvowb_search sample_point search_report slab_checks solve_beam span_stiffness
    top_bar_lengths utf8_to_cp1252 asks_rei120 least_top_spacing merged_pairs most_top_spacing
    not_a_case_file slab_verdict verdict_line
    CastingCantilever CastingReaction CheckScope SearchFiles VibrationBeam VibrationMode
    VibrationPoint VibrationSegment crack_steel_provided design_curves lowest_mode props_needed
    search_files search_threads support_moments support_reactions take_folder write_files
    CrackedSection crack_spacing_max crack_verdict crack_width crack_widths cracked_section
    effective_tension_height spacing_for_crack_width steel_stress strain_difference
    CrackInput CrackResult CrackSupport CrackVerdict CrackWidths
""".split())

HEADER_FOLDERS = ("engine", "search")

_COMMENT = re.compile(r"//.*$")
_TYPE = re.compile(r"^(?:struct|class|enum\s+class|enum)\s+(\w+)")
_SKIP = re.compile(r"^(?:#|using\b|namespace\b|template\b|typedef\b|\}|static_assert\b)")
_CALL = re.compile(r"(\w+)\s*\($")


def declared_names(text):
    """Names of the functions and types that a header declares at namespace scope: lines
    that start in the first column (members and bodies are indented)."""
    names = []
    for raw in text.splitlines():
        line = _COMMENT.sub("", raw).rstrip()
        if not line or line[0].isspace() or _SKIP.match(line):
            continue
        m = _TYPE.match(line)
        if m:
            names.append(m.group(1))
            continue
        paren = line.find("(")
        if paren < 0 or "=" in line[:paren]:
            continue
        m = _CALL.search(line[: paren + 1])
        if m and m.group(1) != "operator":
            names.append(m.group(1))
    return names


def glossary_names(text):
    """Every identifier that stands inside backticks in the glossary."""
    found = set()
    for quoted in re.findall(r"`([^`]+)`", text):
        found.update(re.findall(r"[A-Za-z_]\w*", quoted))
    return found


def missing_names(headers, glossary_text, english=ENGLISH_NAMES):
    """(name, header) for every declared name that is neither in the glossary nor English."""
    known = glossary_names(glossary_text)
    missing = []
    for header, text in headers:
        for name in declared_names(text):
            if name not in known and name not in english:
                missing.append((name, header))
    return sorted(set(missing))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = pathlib.Path(__file__).resolve().parent.parent
    parser.add_argument("--root", type=pathlib.Path, default=here)
    parser.add_argument("--glossary", type=pathlib.Path)
    args = parser.parse_args(argv)
    glossary = args.glossary or args.root / "docs" / "GLOSSARY.md"
    try:
        glossary_text = glossary.read_text(encoding="utf-8")
    except OSError as e:
        print(f"{glossary}: cannot be read ({e.strerror})", file=sys.stderr)
        return 1
    headers = [(str(p.relative_to(args.root)), p.read_text(encoding="utf-8"))
               for folder in HEADER_FOLDERS
               for p in sorted((args.root / folder).glob("*.h"))]
    missing = missing_names(headers, glossary_text)
    declared = {name for _, text in headers for name in declared_names(text)}
    for name in sorted(ENGLISH_NAMES - declared):
        print(f"note: English name `{name}` is declared in no header any more", file=sys.stderr)
    for name, header in missing:
        print(f"{header}: `{name}` is not in {glossary.name} "
              "(add an entry, or list it as an English name)", file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
