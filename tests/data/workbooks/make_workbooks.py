#!/usr/bin/python3
"""Writes the small workbook fixtures of the reader tests (run from this folder)."""
import zipfile

import openpyxl

NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" ' \
     'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
REL = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'


def content_types():
    return ('<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
            'package/2006/content-types"><Default Extension="xml" ContentType="application/xml"/>'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.'
            'relationships+xml"/></Types>')


def rels(items):
    body = ''.join(f'<Relationship Id="{i}" Type="{REL}/{t}" Target="{tg}"{extra}/>'
                   for i, t, tg, extra in items)
    return ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.'
            f'openxmlformats.org/package/2006/relationships">{body}</Relationships>')


def sheet(rows):
    return f'<?xml version="1.0" encoding="UTF-8"?><worksheet {NS}><dimension ref="A1:Z99"/>' \
           f'<sheetData>{rows}</sheetData></worksheet>'


def book(path, sheets, sheet_parts, shared=None, styles=None, date1904=False,
         workbook_part='xl/workbook.xml', extra_rels=()):
    """sheets: (name, rel target relative to the workbook part, type); sheet_parts: path->xml."""
    pr = '<workbookPr date1904="1"/>' if date1904 else '<workbookPr/>'
    entries = ''.join(f'<sheet name="{n}" sheetId="{k + 1}" r:id="rId{k + 1}"/>'
                      for k, (n, _, _) in enumerate(sheets))
    wb_rels = [(f'rId{k + 1}', t, tg, '') for k, (_, tg, t) in enumerate(sheets)]
    if shared is not None:
        wb_rels.append(('rIdS', 'sharedStrings', 'sharedStrings.xml', ''))
    if styles is not None:
        wb_rels.append(('rIdT', 'styles', 'styles.xml', ''))
    wb_rels.extend(extra_rels)
    folder = workbook_part.rsplit('/', 1)[0]
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', content_types())
        z.writestr('_rels/.rels', rels([('rId1', 'officeDocument', workbook_part, '')]))
        z.writestr(workbook_part, f'<?xml version="1.0" encoding="UTF-8"?><workbook {NS}>{pr}'
                   f'<sheets>{entries}</sheets></workbook>')
        name = workbook_part.rsplit('/', 1)[1]
        z.writestr(f'{folder}/_rels/{name}.rels', rels(wb_rels))
        if shared is not None:
            sis = ''.join(f'<si>{s}</si>' for s in shared)
            z.writestr(f'{folder}/sharedStrings.xml', f'<sst {NS}>{sis}</sst>')
        if styles is not None:
            z.writestr(f'{folder}/styles.xml', styles)
        for p, xml in sheet_parts.items():
            z.writestr(p, xml)


STYLES = (f'<styleSheet {NS}><numFmts count="2"><numFmt numFmtId="164" formatCode="yyyy/m/d"/>'
          '<numFmt numFmtId="165" formatCode="&quot;d&quot;0.00"/></numFmts><cellXfs>'
          '<xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="31"/><xf numFmtId="57"/>'
          '<xf numFmtId="21"/><xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="22"/>'
          '</cellXfs></styleSheet>')

# One value per row: column A a number or shared string, the expected text lies in the test.
values = [
    '<c r="A1" t="s"><v>0</v></c>',                       # plain shared string
    '<c r="A2"><v>1200</v></c>',
    '<c r="A3"><v>0.30000000000000004</v></c>',
    '<c r="A4"><v>1E-7</v></c>',
    '<c r="A5"><v>1000000000000000</v></c>',
    '<c r="A6"><v>-3.5</v></c>',
    '<c r="A7" s="1"><v>45356</v></c>',                   # format 14
    '<c r="A8" s="2"><v>45356</v></c>',                   # format 31
    '<c r="A9" s="3"><v>45356</v></c>',                   # format 57
    '<c r="A10" s="4"><v>0.5451041666666667</v></c>',     # format 21, a time alone
    '<c r="A11" s="5"><v>45356.5</v></c>',                # custom date with a time
    '<c r="A12" s="6"><v>2.5</v></c>',                    # quoted d is no date
    '<c r="A13" t="b"><v>1</v></c>',
    '<c r="A14" t="e"><f>1/0</f><v>#DIV/0!</v></c>',
    '<c r="A15" t="s"><v>1</v></c>',                      # rich text runs
    '<c r="A16" t="s"><v>2</v></c>',                      # with a phonetic guide
    '<c r="A17" t="s"><v>3</v></c>',                      # spaces only
    '<c r="A18" t="inlineStr"><is><t>inline</t></is></c>',
    '<c r="A19"><f>1+1</f><v>2</v></c>',                  # formula by cached value
    '<c r="A20" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>',
    '<c r="A21" t="b"><v>0</v></c>',
    '<c r="A22" s="7"><v>60</v></c>',                     # the 1900 system's 29 February
]
shared = ['<t>text</t>', '<r><t>Ri</t></r><r><rPr><b/></rPr><t>ch</t></r>',
          '<t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh>',
          '<t xml:space="preserve">   </t>']
rows = ''.join(f'<row r="{k + 1}">{c}</row>' for k, c in enumerate(values))
book('values.xlsx', [('Values', 'worksheets/sheet1.xml', 'worksheet')],
     {'xl/worksheets/sheet1.xml': sheet(rows)}, shared, STYLES)
book('values1904.xlsx', [('Values', 'worksheets/sheet1.xml', 'worksheet')],
     {'xl/worksheets/sheet1.xml': sheet('<row r="1"><c r="A1" s="1"><v>0</v></c>'
                                        '<c r="B1" s="7"><v>1.25</v></c></row>')},
     None, STYLES, date1904=True)

# Used range and the empty- and chart-sheet rules; targets absolute, relative and "../".
book('layout.xlsx',
     [('Data', '/xl/worksheets/a.xml', 'worksheet'),
      ('Empty', 'worksheets/b.xml', 'worksheet'),
      ('Chart', 'chartsheets/c.xml', 'chartsheet'),
      ('Styled', '../xl/worksheets/d.xml', 'worksheet'),
      ('FromC3', 'worksheets/e.xml', 'worksheet'),
      ('Gaps', 'worksheets/f.xml', 'worksheet')],
     {'xl/worksheets/a.xml': sheet('<row r="1"><c r="A1" t="inlineStr"><is><t>h1</t></is></c>'
                                   '<c r="B1" t="inlineStr"><is><t>h2</t></is></c></row>'
                                   '<row r="2"><c r="A2"><v>1</v></c><c r="B2"><v>2</v></c>'
                                   '<c r="F2" s="1"/></row><row r="40" s="1"/>'),
      'xl/worksheets/b.xml': sheet('<row r="1"><c r="A1" s="1"/></row>'),
      'xl/chartsheets/c.xml': '<chartsheet/>',
      'xl/worksheets/d.xml': sheet('<row r="1"><c r="A1"><v>7</v></c></row>'
                                  '<row r="5"><c r="D5" s="1"/></row>'),
      'xl/worksheets/e.xml': sheet('<row r="3"><c r="C3" t="inlineStr"><is><t>x</t></is></c>'
                                   '</row>'),
      'xl/worksheets/f.xml': sheet('<row><c><v>1</v></c><c><v>2</v></c></row><row r="3">'
                                   '<c r="C3"><v>3</v></c></row>')},
     None, STYLES)

# A target leaving the archive.
book('escape.xlsx', [('Out', '../../outside.xml', 'worksheet')],
     {'xl/worksheets/sheet1.xml': sheet('')})

# The same values through openpyxl: shared strings, dates, booleans, Japanese.
wb = openpyxl.Workbook()
s = wb.active
s.title = 'Sheet1'
s.append(['名前', '日付', '数', '真偽'])
import datetime
s.append(['あ,い', datetime.datetime(2024, 3, 5, 13, 4, 5), 0.1 + 0.2, True])
s.append(['"q"', datetime.date(1999, 12, 31), 12345678901234567890, False])
wb.create_sheet('空')
wb.save('openpyxl.xlsx')

# A zip bomb: one sheet inflating beyond any sane size is not kept here (the test makes it).

# Legacy .xls through xlwt; xlwt stores no formula result, so one FORMULA record is patched
# to carry a cached value of 2.
import struct
import xlwt

xb = xlwt.Workbook()
xs = xb.add_sheet('Values')
date_style = xlwt.easyxf(num_format_str='yyyy-mm-dd')
time_style = xlwt.easyxf(num_format_str='h:mm:ss')
rows = [('text', None), ('1200', 1200), ('0.3', 0.1 + 0.2), ('1E-07', 1e-7), ('-3.5', -3.5),
        ('date', datetime.date(2024, 3, 5)), ('time', datetime.time(13, 4, 5)),
        ('bool', True), ('漢字', '漢字'), ('formula', xlwt.Formula('1+1'))]
for k, (label, value) in enumerate(rows):
    xs.write(k, 0, label)
    if value is None:
        continue
    style = date_style if label == 'date' else time_style if label == 'time' else xlwt.Style.default_style
    xs.write(k, 1, value, style)
xb.add_sheet('Empty')
xs3 = xb.add_sheet('FromC3')
xs3.write(2, 2, 'x')
xb.save('values.xls')
data = bytearray(open('values.xls', 'rb').read())
pattern = struct.pack('<HH', 9, 1)  # row 9, column 1 of the formula
at = 0
while True:
    at = data.find(b'\x06\x00', at)
    assert at >= 0, 'FORMULA record not found'
    if data[at + 4:at + 8] == pattern:
        break
    at += 1
data[at + 10:at + 18] = struct.pack('<d', 2.0)
open('values.xls', 'wb').write(bytes(data))

# An existing workbook to update in place: styles, a defined name, formulas, a second sheet.
from openpyxl.styles import Font
from openpyxl.workbook.defined_name import DefinedName

wb = openpyxl.Workbook()
s = wb.active
s.title = 'Data'
s.append(['ID', ' NAME ', 'Other', 'AMOUNT', 'Twice'])
for i in range(1, 101):
    s.append([i, f'n{i}', f'keep{i}', i * 10, f'=D{i + 1}*2'])
s['B2'].font = Font(bold=True)
s['D2'].number_format = '#,##0'
s.column_dimensions['B'].width = 30
notes = wb.create_sheet('Notes')
notes['A1'] = 'note'
notes['B2'] = '=SUM(Data!D2:D101)'
wb.defined_names.append(DefinedName('Amounts', attr_text='Data!$D$2:$D$101'))
wb.save('existing.xlsx')
