#!/usr/bin/env python3
"""Writes the bad case files of this folder from the default case (data/solvo.def).

Each file is the default case with one line replaced (or the whole file replaced); the outcome
each must have is in expected.txt, written by hand. Run again only to change the corpus."""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
BASE = open(os.path.join(HERE, '..', '..', '..', 'data', 'solvo.def'), 'rb').read().split(b'\r\n')
assert len(BASE) >= 38  # 37 lines (and more), each ending with CR LF


def case(**lines):
    """The default case with lines replaced: line number -> bytes."""
    out = list(BASE[:37])
    for key, text in lines.items():
        out[int(key[1:]) - 1] = text
    return b''.join(l + b'\r\n' for l in out)


def casting(l38, l39, l40=None):
    """The default case (two spans) with the casting lines 38-40 after its 37 lines."""
    tail = l38 + b'\r\n' + l39 + b'\r\n' + (b'' if l40 is None else l40 + b'\r\n')
    return case() + tail


files = {
    'empty.IND': b'',
    'only-crlf.IND': b'\r\n' * 37,
    'binary.IND': bytes([0, 1, 2, 255, 254, 0x8F, 13, 7, 0]) + bytes(
        random.Random(10).randrange(256) for _ in range(4000)),
    'nan-span.IND': case(l6=b'NaN    6.000  '),
    'inf-thickness.IND': case(l7=b'0.160  Inf    '),
    'nan-cantilever.IND': case(l14=b'nan'),
    'overflow-span.IND': case(l6=b'9E99   6.000  '),
    'overflow-load.IND': case(l12=b'0.500  -1.E39 '),
    'huge-span.IND': case(l6=b'1E30   6.000  '),
    'huge-load.IND': case(l13=b'2.000  1E20   '),
    'huge-cover.IND': case(l20=b'2147483647'),
    'int-overflow-cover.IND': case(l20=b'99999999999'),
    'zero-span.IND': case(l6=b'0.000  6.000  '),
    'negative-span.IND': case(l6=b'-6.000 6.000  '),
    'zero-thickness.IND': case(l7=b'0.000  0.160  '),
    'negative-thickness.IND': case(l7=b'-0.160 0.160  '),
    'spans-zero.IND': case(l5=b'0'),
    'spans-eleven.IND': case(l5=b'11'),
    'market-0.IND': case(l3=b'0'),
    'market-7.IND': case(l3=b'7'),
    'safety-class-0.IND': case(l4=b'0'),
    'safety-class-4.IND': case(l4=b'4'),
    'load-category-minus-1.IND': case(l9=b'-1'),
    'load-category-10.IND': case(l9=b'10'),
    'load-set-0.IND': case(l11=b'0'),
    'load-set-4.IND': case(l11=b'4'),
    'concrete-0.IND': case(l16=b'0'),
    'concrete-10.IND': case(l16=b'10'),
    'top-grade-4.IND': case(l17=b'4'),
    'top-bar-0.IND': case(l18=b'0'),
    'top-bar-6.IND': case(l18=b'6'),
    'bottom-grade-0.IND': case(l21=b'0'),
    'bottom-bar-6.IND': case(l22=b'6'),
    'fire-method-0.IND': case(l24=b'0'),
    'fire-option-5.IND': case(l25=b'5'),
    'ceiling-3.IND': case(l26=b'3'),
    'deflection-loads-3.IND': case(l31=b'3'),
    'line-loads-6.IND': case(l32=b'6'),
    'line-loads-minus-1.IND': case(l32=b'-1'),
    'line-load-span-0.IND': case(l32=b'1', l33=b'  0  1.000 10.000'),
    'line-load-span-3.IND': case(l32=b'1', l33=b'  3  1.000 10.000'),
    'line-load-span-3-unused.IND': case(l32=b'0', l33=b'  3  1.000 10.000'),
    'name-slash.IND': case(l1=b'A/B'),
    'name-dotdot.IND': case(l1=b'..'),
    'name-dotdot-slash.IND': case(l1=b'../../EVIL'),
    'name-backslash.IND': case(l1=b'..\\EVIL'),
    'name-slash-after-ninth.IND': case(l1=b'ABCDEFGHI/X'),
    'name-control.IND': case(l1=b'A\tB'),
    'line-load-at-end-of-negative-span.IND': case(
        l8=b'0.000 0.500 20.00 ', l32=b'1', l33=b'  2 -4.250 10.000'),
    'deck-support-3.IND': casting(b'3', b'0  0  ', b'5'),
    'props-3.IND': casting(b'1', b'0  3  ', b'5'),
    'props-5.IND': casting(b'1', b'0  5  ', b'5'),
    'ceiling-0.IND': case(l26=b'0'),
    'fire-option-4.IND': case(l25=b'4'),
    'name-blank.IND': case(l1=b'   '),
    'name-nul.IND': case(l1=b'AB\x00CD'),
    'heading-escape.IND': case(l2=b'Bj\x1b[2Jlklag\x1b]0;x\x07'),
    'cut-inside-line-37.IND': case()[:-len(b'0.000  \r\n')],
    'crack-width-1.5.IND': casting(b'1', b'0  0  ', b'5') + b'1.5\r\n',
    'crack-width-0.3.IND': casting(b'1', b'0  0  ', b'5') + b'0.3\r\n',
    'frequency-negative.IND': casting(b'1', b'0  0  ', b'-5'),
    'casting-without-line-40.IND': casting(b'2', b'1  1  '),
    'casting-two-props-no-limit.IND': casting(b'2', b'2  2  ', b'0'),
}

for name, data in files.items():
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)
