#!/usr/bin/python3
# Prints what a workbook holds, one line per cell that has a value or a
# format, then the sheet's name and its column entries, for the export tests.
import sys
import zipfile

if sys.argv[1] == "--xml":
    # The sheet as written, for files too large to read cell by cell.
    print(zipfile.ZipFile(sys.argv[2]).read("xl/worksheets/sheet1.xml").decode("utf-8"))
    sys.exit(0)

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
print("sheet", sheet.title)
for row in sheet.iter_rows():
    for cell in row:
        parts = [cell.coordinate]
        if cell.value is not None:
            if isinstance(cell.value, str):
                parts.append("s:" + cell.value)
            else:
                value = cell.value
                parts.append("n:" + (str(int(value)) if float(value).is_integer() else str(value)))
        if cell.fill is not None and cell.fill.fill_type == "solid":
            parts.append("fill=" + str(cell.fill.fgColor.rgb)[-6:])
        if cell.border is not None and cell.border.top is not None and cell.border.top.style:
            parts.append("top=" + cell.border.top.style)
        if cell.number_format != "General":
            parts.append("fmt=" + cell.number_format)
        if len(parts) > 1:
            print(" ".join(parts))
for key, dim in sorted(sheet.column_dimensions.items(), key=lambda item: item[1].min or 0):
    if dim.min is None:
        continue
    first = openpyxl.utils.get_column_letter(dim.min)
    last = openpyxl.utils.get_column_letter(dim.max)
    print("col %s:%s width=%d" % (first, last, int(dim.width)))
font = sheet["D4"].font
print("font", font.name, int(font.sz))
