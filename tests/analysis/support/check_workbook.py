"""Reads a workbook with openpyxl and compares it with the TSV export of the
same grid, cell by cell, as a spreadsheet user would see the cells: numbers
and dates rendered through their number formats. Prints one JSON object.

usage: check_workbook.py WORKBOOK TSV TOP HEADINGS
  TOP       rows above the grid (criteria lines)
  HEADINGS  heading rows of the grid
"""
import datetime
import decimal
import json
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def tsv_cells(line):
    out, cell, i = [], '', 0
    escapes = {'t': '\t', 'n': '\n', 'r': '\r', '\\': '\\'}
    while i < len(line):
        c = line[i]
        if c == '\\' and i + 1 < len(line):
            cell += escapes.get(line[i + 1], line[i + 1])
            i += 2
            continue
        if c == '\t':
            out.append(cell)
            cell = ''
        else:
            cell += c
        i += 1
    out.append(cell)
    return out


def tokens(fmt):
    """The format code as (kind, char): 'lit', 'ph' (# or 0), ',', '.', '%'."""
    out, i = [], 0
    while i < len(fmt):
        c = fmt[i]
        if c == '\\':
            out.append(('lit', fmt[i + 1]))
            i += 2
            continue
        if c == '"':
            j = fmt.index('"', i + 1)
            out.extend(('lit', ch) for ch in fmt[i + 1:j])
            i = j + 1
            continue
        if c in '#0':
            out.append(('ph', c))
        elif c in ',.%':
            out.append((c, c))
        else:
            out.append(('lit', c))
        i += 1
    return out


def render_number(value, fmt):
    if fmt == 'General':
        return None  # a number without a format is never what the grid shows
    toks = tokens(fmt)
    percent = any(k == '%' for k, _ in toks)
    point = next((i for i, (k, _) in enumerate(toks) if k == '.'), len(toks))
    int_toks, frac_toks = toks[:point], toks[point + 1:]
    grouping = any(k == ',' for k, _ in int_toks)
    frac_ph = [c for k, c in frac_toks if k == 'ph']
    d = decimal.Decimal(repr(float(value)))
    if percent:
        d *= 100
    d = d.quantize(decimal.Decimal(1).scaleb(-len(frac_ph)), rounding=decimal.ROUND_HALF_UP)
    negative = d < 0
    digits = format(abs(d), 'f')
    whole, _, frac = digits.partition('.')
    if whole == '0':
        whole = ''
    whole = whole.rjust(sum(1 for k, c in int_toks if k == 'ph' and c == '0'), '0')
    if grouping and whole:
        whole = format(int(whole), ',') if whole.lstrip('0') else whole
    frac_digits = list(frac)
    while frac_digits and frac_ph[len(frac_digits) - 1] == '#' and frac_digits[-1] == '0':
        frac_digits.pop()
    first_ph = next((i for i, (k, _) in enumerate(int_toks) if k == 'ph'), len(int_toks))
    prefix = ''.join(c for k, c in int_toks[:first_ph] if k in ('lit', '%'))
    suffix = ''.join(c for k, c in int_toks[first_ph:] if k in ('lit', '%'))
    text = prefix + whole + suffix
    if point < len(toks):
        text += '.' + ''.join(frac_digits) + ''.join(c for k, c in frac_toks if k in ('lit', '%'))
    return ('-' if negative and d != 0 else '') + text


def render_date(value, fmt):
    out, i = '', 0
    while i < len(fmt):
        if fmt[i] == '\\':
            out += fmt[i + 1]
            i += 2
            continue
        run = 1
        while i + run < len(fmt) and fmt[i + run] == fmt[i]:
            run += 1
        part = fmt[i:i + run]
        if part == 'dd':
            out += '%02d' % value.day
        elif part == 'd':
            out += str(value.day)
        elif part == 'mm':
            out += '%02d' % value.month
        elif part == 'm':
            out += str(value.month)
        elif part == 'yyyy':
            out += '%04d' % value.year
        else:
            out += part
        i += run
    return out


def shown(cell):
    v = cell.value
    if v is None:
        return '', 'empty'
    if isinstance(v, (datetime.datetime, datetime.date)):
        return render_date(v, cell.number_format), 'date'
    if isinstance(v, (int, float)):
        return render_number(v, cell.number_format), 'number'
    return str(v), 'text'


def main():
    path, tsv, top, headings = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    wb = openpyxl.load_workbook(path)
    ws = wb.worksheets[0]
    with open(tsv, encoding='utf-8') as f:
        lines = f.read().split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    # A merged block shows its first cell's text across every cell it covers.
    merged_from = {}
    for block in ws.merged_cells.ranges:
        for row in range(block.min_row, block.max_row + 1):
            for col in range(block.min_col, block.max_col + 1):
                merged_from[(row, col)] = (block.min_row, block.min_col)
    mismatches, kinds = [], {}
    for i, line in enumerate(lines):
        row = top + i + 1
        expected_cells = tsv_cells(line)
        for j, expected in enumerate(expected_cells):
            cell = ws.cell(*merged_from.get((row, j + 1), (row, j + 1)))
            text, kind = shown(cell)
            if text != expected and len(mismatches) < 20:
                mismatches.append('%s%d: sheet %r (%s %r, %r), grid %r' % (
                    get_column_letter(j + 1), row, text, kind, cell.value, cell.number_format, expected))
            if i >= headings:
                counts = kinds.setdefault(get_column_letter(j + 1), {})
                counts[kind] = counts.get(kind, 0) + 1
        for j in range(len(expected_cells), ws.max_column):
            if ws.cell(row=row, column=j + 1).value is not None and len(mismatches) < 20:
                mismatches.append('%s%d: beyond the grid' % (get_column_letter(j + 1), row))
    heading_cells = [ws.cell(*merged_from.get((top + 1 + r, c + 1), (top + 1 + r, c + 1)))
                     for r in range(headings) for c in range(ws.max_column)]
    fill = lambda cell: cell.fill.fgColor.rgb if cell.fill.fill_type == 'solid' else None
    result = {
        'sheet': ws.title,
        'maxRow': ws.max_row,
        'maxColumn': ws.max_column,
        'criteria': [ws.cell(row=r + 1, column=1).value for r in range(top)],
        'aboveCriteria': [ws.cell(row=r + 1, column=c + 1).value
                          for r in range(top) for c in range(1, ws.max_column)],
        'mismatches': mismatches,
        'kinds': kinds,
        'merged': sorted(str(r) for r in ws.merged_cells.ranges),
        'widths': {k: v.width for k, v in ws.column_dimensions.items() if v.customWidth},
        'freeze': ws.freeze_panes,
        'titleRows': ws.print_title_rows,
        'headingsBoldAndBordered': all(c.font.b and c.border.top.style == 'thin' and c.border.bottom.style == 'thin'
                                       for c in heading_cells),
        'boldBelowHeadings': sum(1 for row in ws.iter_rows(min_row=top + headings + 1)
                                 for c in row if c.value is not None and c.font.b),
        'links': {c.coordinate: c.hyperlink.target for row in ws.iter_rows() for c in row if c.hyperlink},
        'levels': {str(r): d.outlineLevel for r, d in ws.row_dimensions.items() if d.outlineLevel},
        'fontColors': {str(c.row): c.font.color.rgb for row in ws.iter_rows(min_row=top + headings + 1)
                       for c in row if c.value is not None and c.font.color is not None
                       and c.font.color.type == 'rgb' and c.font.color.rgb != 'FF000000'},
    }
    print(json.dumps(result))


main()
