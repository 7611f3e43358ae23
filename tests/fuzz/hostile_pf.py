#!/usr/bin/env python3
"""Writes the two hostile .pf files of the pf regression corpus.

deep-nesting.pf: the factory profile whose recoil selection is an @Variant
value of a variant holding a variant, DEPTH deep: decoded by QDataStream and
written back, it overflows the stack (from about 36 000 levels on a 8 MiB
stack); 7 bytes a level keep the line below the 256 KiB an import takes.
huge-region.pf: an @Variant value describing a QRegion of 2^31 - 1 rectangles
(minutes of work in QDataStream). Both values are quoted or list elements,
where a filter looking only at a leading "@" lets them pass.

Usage: hostile_pf.py [DEPTH] (from the fuzz folder)"""
import sys

depth = int(sys.argv[1]) if len(sys.argv) > 1 else 37000
# Qt 4 stream of a QVariant (type 41) holding the next level; the innermost is an empty list.
level = r'\0\0\0' + ')'
leaf = r'\0\0\0' + '\t' + r'\0\0\0\0'
# The factory profile with its report rate changed and the value as its recoil selection.
factory = open('../modules/setting/pD.bin').read()
deep = factory.replace('reportRate_J2=1\n', 'reportRate_J2=4\n')
deep = deep.replace('[selectGun]\n0=\n', '[selectGun]\n0="@Variant(' + level * depth + leaf + ')"\n')
assert deep.count('@Variant') == 1 and 'reportRate_J2=4' in deep
with open('corpus/pf/deep-nesting.pf', 'w', newline='\n') as out:
    out.write(deep + '\n[profile]\nname=@Invalid()\n')

# A QRegion (Qt 4 type 72): a byte array of 8 bytes, record 10 (rectangles), count 0x7fffffff.
region = r'\0\0\0H\0\0\0\b\0\0\0\n\x7f\xff\xff\xff'
with open('corpus/pf/huge-region.pf', 'w', newline='\n') as out:
    out.write('[sensor]\nreportRate_J2=4\n[color_J2]\n')
    out.write('ledEffect=0, 0, 4, 255, 0, 0\n')
    out.write('type0=1, @Variant(' + region + ')\n')
    out.write('type1="@Variant(' + region + ')"\n')
    out.write('[profile]\nname=@Invalid()\n')
