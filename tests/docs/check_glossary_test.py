#!/usr/bin/env python3
"""The glossary check finds the names a header declares and misses none that lack an entry."""
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
import check_glossary as g  # noqa: E402


class DeclaredNames(unittest.TestCase):
    # (what the row shows, header text, names expected in order)
    CASES = [
        ("a routine", "void snikra(Run& run, int32_t& flag);\n", ["snikra"]),
        ("a result type before the name", "AreaResult samm1s(float fcd, float fyd,\n"
         "                  float m);\n", ["samm1s"]),
        ("an inline body", "inline int design_row(const Indat& c) {\n  return 1;\n}\n",
         ["design_row"]),
        ("types", "struct Indat {\n  int n;\n};\nclass KrdefCache {\n};\n"
         "enum class CheckKind : int32_t {\n};\n", ["Indat", "KrdefCache", "CheckKind"]),
        ("members and calls are indented", "struct Snitt {\n  void krdef(int mode);\n"
         "  float w = f(1);\n};\n", ["Snitt"]),
        ("comments, directives, aliases", "// dimen(run) designs\n#define M(a) a\n"
         "using Curve = std::array<float, 21>;\nnamespace solvo {\n}  // namespace solvo\n",
         []),
        ("a constant with a call", "inline constexpr float kEs = float(2.1E8);\n", []),
        ("an operator", "TextOut& operator<<(TextOut& out, int v);\n", []),
        ("a name after a comment", "void utskr(Run& run);  // writes the report\n", ["utskr"]),
    ]

    def test_rows(self):
        for label, text, want in self.CASES:
            with self.subTest(label):
                self.assertEqual(g.declared_names(text), want)


class MissingNames(unittest.TestCase):
    HEADER = [("engine/x.h", "void snikra(Run& run);\nvoid krdef(Run& run);\n"
               "float span_stiffness(const Run& run);\nstruct Indat {\n};\n")]
    # (what the row shows, glossary text, English names, (name, header) pairs missing)
    CASES = [
        ("every name has an entry", "| `snikra` | `krdef` | `indat` / `Indat` |",
         {"span_stiffness"}, []),
        ("an entry is missing", "| `snikra` | `Indat` |", {"span_stiffness"},
         [("krdef", "engine/x.h")]),
        ("a name outside backticks does not count", "snikra krdef Indat",
         {"span_stiffness"}, [("Indat", "engine/x.h"), ("krdef", "engine/x.h"),
                              ("snikra", "engine/x.h")]),
        ("an English name not listed", "`snikra` `krdef` `Indat`", set(),
         [("span_stiffness", "engine/x.h")]),
        ("a call in backticks names the routine", "`snikra(run, flag)`, `krdef`, `Indat`",
         {"span_stiffness"}, []),
        ("a longer name does not cover a shorter one", "`snikra2` `krdef` `Indat`",
         {"span_stiffness"}, [("snikra", "engine/x.h")]),
    ]

    def test_rows(self):
        for label, glossary, english, want in self.CASES:
            with self.subTest(label):
                self.assertEqual(g.missing_names(self.HEADER, glossary, english), want)


class WholeTree(unittest.TestCase):
    def test_missing_entry_fails_and_complete_glossary_passes(self):
        with tempfile.TemporaryDirectory() as root:
            base = pathlib.Path(root)
            (base / "engine").mkdir()
            (base / "docs").mkdir()
            (base / "engine" / "a.h").write_text("void dimen(Run& run);\nvoid fire(Run& run);\n")
            (base / "docs" / "GLOSSARY.md").write_text("| `dimen` | design |\n")
            self.assertEqual(g.main(["--root", root]), 0)
            (base / "engine" / "b.h").write_text("void brand(Run& run);\n")
            self.assertEqual(g.main(["--root", root]), 1)

    def test_unreadable_glossary_fails(self):
        with tempfile.TemporaryDirectory() as root:
            (pathlib.Path(root) / "engine").mkdir()
            self.assertEqual(g.main(["--root", root]), 1)


if __name__ == "__main__":
    unittest.main()
