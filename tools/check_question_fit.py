#!/usr/bin/python3
"""Checks that every question of content/questions.txt fits its box in the item window.

The question is drawn in Arial bold 13 px, wrapped at blanks, in a box 457 px wide with room
for four lines. Liberation Sans Bold has Arial's advance widths, so the line breaks found
here are the ones the program makes. Like GDI text output, the width of a run is the sum of
whole-pixel glyph advances with no kerning.

usage: check_question_fit.py [questions.txt]     (prints the line count of every item)
"""

import os
import sys

from PIL import ImageFont

FONT = '/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf'
FONT_PX = 13
BOX_WIDTH = 457
MAX_LINES = 4


class Measure:
    def __init__(self, font):
        self.font = font
        self.advances = {}

    def width(self, text):
        total = 0
        for ch in text:
            if ch not in self.advances:
                self.advances[ch] = round(self.font.getlength(ch))
            total += self.advances[ch]
        return total


def wrap(text, measure, width):
    """Greedy word wrap: a word goes to the next line when it does not fit after the
    previous one; a word wider than the box is cut at the last character that fits."""
    lines = []
    line = ''
    for word in text.split():
        candidate = word if not line else line + ' ' + word
        if measure.width(candidate) <= width:
            line = candidate
            continue
        if line:
            lines.append(line)
        line = word
        while measure.width(line) > width:
            cut = len(line) - 1
            while cut > 1 and measure.width(line[:cut]) > width:
                cut -= 1
            lines.append(line[:cut])
            line = line[cut:]
    if line:
        lines.append(line)
    return lines


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'content', 'questions.txt')
    measure = Measure(ImageFont.truetype(FONT, FONT_PX))
    with open(path, encoding='utf-8', newline='\n') as f:
        questions = [line.rstrip('\n') for line in f]
    too_long = []
    for number, question in enumerate(questions, start=1):
        lines = wrap(question, measure, BOX_WIDTH)
        widest = max((measure.width(line) for line in lines), default=0)
        print(f'{number:2d}: {len(lines)} lines, widest {widest} px')
        if len(lines) > MAX_LINES:
            too_long.append(number)
    if too_long:
        print('more than %d lines: items %s' % (MAX_LINES, ', '.join(map(str, too_long))))
        return 1
    print(f'all {len(questions)} questions fit in {MAX_LINES} lines')
    return 0


if __name__ == '__main__':
    sys.exit(main())
