#!/usr/bin/python3
"""Writes the example tables and state files of samples/ (the "例題" menu).

Run from the repository root: /usr/bin/python3 tools/make_samples.py (Debian's python3-openpyxl)
CSV tables and state files are UTF-8 with CR LF; the workbook tables are written with openpyxl.
"""
import os
import sys

try:
    import openpyxl
except ImportError:  # pragma: no cover
    sys.exit("python3-openpyxl is needed")

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")


def write_csv(folder, name, rows):
    os.makedirs(os.path.join(ROOT, folder), exist_ok=True)
    with open(os.path.join(ROOT, folder, name), "w", encoding="utf-8", newline="") as f:
        for r in rows:
            f.write(",".join(r) + "\r\n")


def write_book(folder, name, sheets):
    os.makedirs(os.path.join(ROOT, folder), exist_ok=True)
    book = openpyxl.Workbook()
    book.remove(book.active)
    for sheet, rows in sheets:
        ws = book.create_sheet(sheet)
        for r in rows:
            ws.append(list(r))  # every cell as text
    path = os.path.join(ROOT, folder, name)
    book.save(path)


class Table:
    def __init__(self, field, rows, name):
        self.field = field  # as the state file names it
        self.rows = rows    # header first
        self.name = name    # cell (0, 0): file base name or worksheet name

    def col(self, header):
        return self.rows[0].index(header) + 1

    def row(self, header, value):
        c = self.rows[0].index(header)
        for i, r in enumerate(self.rows[1:], start=1):
            if r[c] == value:
                return i
        raise KeyError((header, value))


def state_file(tables, joins, reports, boxes, panels=(), root_and=True, result="", sheet=""):
    """tables: [Table]; joins: [(t1, col1, t2, col2)] by table index; reports: [(t, col)];
    boxes: [(text, panel, table, cell_header, cell_value)] (table None: no cell);
    panels: [(container)] nested panels 1.. in the root or each other."""
    n = 3 + len(tables)
    out = ["%d, TableFileNames  Left Top Height Width#a#" % n]
    for i, t in enumerate(tables):
        left = 501 + (i % 2) * 6200
        top = 501 + (i // 2) * 2900
        out.append("%s,%d,%d,%d,2200,5400,True,1,1" % (t.field, 4 + i, left, top))
    out.append("9100,12000")
    out.append("JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# "
               "DestinationColumn#b#")
    for k, (a, ca, b, cb) in enumerate(joins, start=1):
        out.append("%d,%d,%d,%d,%d" % (k, 4 + a, tables[a].col(ca), 4 + b, tables[b].col(cb)))
    out.append("ReportTableColumn: Serial# Table# Column#c#")
    for k, (a, c) in enumerate(reports, start=1):
        out.append("%d,%d,%d" % (k, 4 + a, tables[a].col(c)))
    out.append("Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth "
               "ConteinerPanel#d#,%d,%s" % (len(panels), "Pink" if root_and else "Blue"))
    out.append("0,600,600,3480,9252,<")
    for i, container in enumerate(panels, start=1):
        out.append("%d,%d,%d,1500,4400,<%d" % (i, 4700, 300, container) if container == 0
                   else "%d,200,900,500,4000,<%d" % (i, container))
    out.append("EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
               "ContainerPanel#e#,%d" % (len(boxes) - 1))
    placed = {}
    for j, (text, panel, *_rest) in enumerate(boxes):
        k = placed.get(panel, 0)
        placed[panel] = k + 1
        left = 300 if panel == 0 else 150
        top = (300 if panel == 0 else 150) + 400 * k
        width = 4092 if panel == 0 else 4092 - 200
        out.append("%d,%d,%d,252,%d,%s,<%d" % (j, left, top, width, text, panel))
    out += ["#f#", "2280,4920,972,5412", "", "this software is deveroped by mivora.app", "#g#",
            "120,240,9100,12000", "ResultProperties#h#,", "120,120,240,11520,1,1",
            "120,480,7800,11520,1,1", "9100,12000",
            "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#"]
    k = 1
    for j, (text, panel, t, header, value) in enumerate(boxes):
        if t is None:
            continue
        out.append("%d,%d,%d,%d,%d" % (k, j, 4 + t, tables[t].row(header, value),
                                       tables[t].col(header)))
        k += 1
    out += ["#j#", result, sheet, "#k#"]
    return "".join(line + "\r\n" for line in out)


def write_state(folder, name, text):
    with open(os.path.join(ROOT, folder, name), "w", encoding="utf-8", newline="") as f:
        f.write(text)


def options():
    models = [["ModelCode", "ModelName", "Maker", "BodyType"],
              ["C01", "Corolla Touring", "Toyota", "Wagon"],
              ["C02", "Fit", "Honda", "Hatchback"],
              ["C03", "Note", "Nissan", "Hatchback"],
              ["C04", "Mazda2", "Mazda", "Hatchback"],
              ["C05", "Swift", "Suzuki", "Hatchback"],
              ["C06", "Impreza", "Subaru", "Sedan"]]
    opts = [["OptionCode", "OptionName", "Category", "Price"],
            ["M01", "ボディー同色ドアミラー", "Exterior", "15000"],
            ["M02", "メッキドアミラー", "Exterior", "22000"],
            ["A01", "アルミホイール", "Wheels", "68000"],
            ["N01", "カーナビ", "Interior", "120000"],
            ["F01", "フォグランプ", "Exterior", "30000"]]
    model_options = [["ModelCode", "OptionCode", "Colour", "Available"],
                     ["C01", "M01", "Silver", "Yes"], ["C01", "A01", "", "Yes"],
                     ["C02", "M01", "Red", "Yes"], ["C02", "M02", "", "No"],
                     ["C03", "M01", "White", "No"], ["C03", "N01", "", "Yes"],
                     ["C04", "M01", "Soul Red", "Yes"], ["C05", "M01", "Blue", "Yes"],
                     ["C05", "F01", "", "Yes"], ["C06", "M02", "", "Yes"],
                     ["C06", "M01", "Black", "No"]]
    write_csv("Options", "ModelOptions.csv", model_options)
    write_csv("Options", "Models.csv", models)
    write_csv("Options", "Options.csv", opts)
    t = [Table(".\\Options\\ModelOptions.csv", model_options, "ModelOptions"),
         Table(".\\Options\\Models.csv", models, "Models"),
         Table(".\\Options\\Options.csv", opts, "Options")]
    joins = [(0, "ModelCode", 1, "ModelCode"), (0, "OptionCode", 2, "OptionCode")]
    reports = [(1, "ModelName"), (1, "Maker"), (0, "Colour"), (2, "Price")]
    boxes = [("Options.OptionName = ボディー同色ドアミラー", 0, 2, "OptionName", "ボディー同色ドアミラー"),
             ("ModelOptions.Available = Yes", 0, 0, "Available", "Yes")]
    write_state("Options", "OptionsB.RSM", state_file(t, joins, reports, boxes))
    write_state("Options", "OptionsC.RSM",
                state_file(t, joins, reports, boxes, result=".\\Options\\OptionsC.csv"))


def waterfalls():
    falls = [["FallId", "FallName", "Country", "Height_m", "Region"],
             ["F01", "Angel Falls", "Venezuela", "979", "Canaima"],
             ["F02", "Kjelsfossen", "Norway", "706", "Vestland"],
             ["F03", "Seljalandsfoss", "Iceland", "60", "Suðurland"],
             ["F04", "Skógafoss", "Iceland", "60", "Suðurland"],
             ["F05", "Niagara Falls", "Canada", "51", "Ontario"],
             ["F06", "Victoria Falls", "Zambia", "108", "Livingstone"],
             ["F07", "Iguazu Falls", "Argentina", "82", "Misiones"],
             ["F08", "Vettisfossen", "Norway", "275", "Vestland"],
             ["F09", "Kegon Falls", "Japan", "97", "Tochigi"],
             ["F10", "Nachi Falls", "Japan", "133", "Wakayama"]]
    access = [["FallId", "Mode", "Hours", "Operator"],
              ["F01", "Helicopter", "1.5", "Canaima Air"], ["F01", "Boat", "5", "Canaima Tours"],
              ["F02", "Walk", "4", ""], ["F03", "Walk", "0.5", ""], ["F04", "Walk", "1", ""],
              ["F05", "Boat", "0.5", "Hornblower"], ["F06", "Helicopter", "0.25", "Zambezi Heli"],
              ["F06", "Walk", "1", ""], ["F07", "Walk", "2", ""],
              ["F07", "Helicopter", "0.2", "Helisul"], ["F08", "Walk", "3", ""],
              ["F09", "Walk", "0.3", ""], ["F10", "Walk", "0.5", ""]]
    views = [["FallId", "Viewpoint", "Telescope", "Optics"],
             ["F01", "Mirador Laime", "No", ""], ["F03", "Lower Path", "Yes", "ﾂｧｲｽ 10x42"],
             ["F04", "Top Stairs", "Yes", "Nikon 8x30"], ["F05", "Table Rock", "Yes", "ﾂｧｲｽ 20x60"],
             ["F06", "Knife Edge", "No", ""], ["F07", "Garganta del Diablo", "Yes", "Swarovski"],
             ["F08", "Vetti Farm", "Yes", "ﾂｧｲｽ 8x25"], ["F09", "Observatory", "Yes", "Kowa 20x"],
             ["F10", "Hiro Shrine", "No", ""]]
    write_csv("WaterFalls", "Falls.csv", falls)
    write_csv("WaterFalls", "Access.csv", access)
    write_csv("WaterFalls", "Views.csv", views)
    t = [Table(".\\WaterFalls\\Falls.csv", falls, "Falls"),
         Table(".\\WaterFalls\\Access.csv", access, "Access"),
         Table(".\\WaterFalls\\Views.csv", views, "Views")]
    joins = [(0, "FallId", 1, "FallId"), (0, "FallId", 2, "FallId")]
    # Helicopter: three tables joined, one equation.
    write_state("WaterFalls", "WaterFallsH.rsm", state_file(
        t, joins, [(0, "FallName"), (0, "Country"), (1, "Hours"), (1, "Operator")],
        [("Access.Mode = Helicopter", 0, 1, "Mode", "Helicopter")]))
    # Telescope: an Or panel nested in the And root.
    write_state("WaterFalls", "WaterFallsT.rsm", state_file(
        t, joins, [(0, "FallName"), (0, "Country"), (2, "Viewpoint"), (2, "Optics")],
        [("Views.Telescope = Yes", 0, 2, "Telescope", "Yes"),
         ("Falls.Country = Iceland", 1, 0, "Country", "Iceland"),
         ("Falls.Country = Norway", 1, 0, "Country", "Norway")], panels=[0]))
    # Walk: "=", "<=", ">" and "<>".
    write_state("WaterFalls", "WaterFallsW.rsm", state_file(
        t, joins, [(0, "FallName"), (0, "Height_m"), (1, "Hours")],
        [("Access.Mode = Walk", 0, 1, "Mode", "Walk"),
         ("Access.Hours <= 1", 0, 1, "Hours", "1"),
         ("Falls.Height_m > 55", 0, 0, "Height_m", "60"),
         ("Falls.Country <> Canada", 0, 0, "Country", "Canada")]))
    # ﾂｧｲｽ: "%=%", ">=", "<" and, in an Or panel, "%=" and "=%".
    write_state("WaterFalls", "WaterFallsZ.rsm", state_file(
        t, joins, [(0, "FallName"), (2, "Viewpoint"), (2, "Optics")],
        [("Views.Optics %=% ﾂｧｲｽ", 0, 2, "Optics", "ﾂｧｲｽ 10x42"),
         ("Falls.Height_m >= 50", 0, 0, "Height_m", "51"),
         ("Falls.Height_m < 300", 0, 0, "Height_m", "275"),
         ("Falls.FallName %= foss", 1, 0, "FallName", "Seljalandsfoss"),
         ("Falls.FallName =% Niagara", 1, 0, "FallName", "Niagara Falls")], panels=[0]))


def accounts():
    sales = [["伝票番号", "日付", "店舗コード", "商品コード", "数量", "月"],
             ["S1201", "2026/12/01", "T01", "P01", "3", "12月"],
             ["S1202", "2026/12/02", "T02", "P03", "1", "12月"],
             ["S1203", "2026/12/05", "T01", "P02", "2", "12月"],
             ["S1204", "2026/12/09", "T03", "P04", "5", "12月"],
             ["S1205", "2026/12/15", "T02", "P01", "4", "12月"],
             ["S1206", "2026/12/20", "T03", "P05", "2", "12月"],
             ["S1101", "2026/11/28", "T01", "P01", "6", "11月"],
             ["S1102", "2026/11/30", "T02", "P04", "1", "11月"]]
    items = [["商品コード", "商品名", "分類", "単価"],
             ["P01", "ウールセーター", "衣料品", "6800"],
             ["P02", "ダウンジャケット", "衣料品", "15800"],
             ["P03", "革手袋", "雑貨", "4200"],
             ["P04", "フランネルシャツ", "衣料品", "3900"],
             ["P05", "マフラー", "雑貨", "2900"]]
    shops = [["店舗コード", "店舗名", "地区"],
             ["T01", "本店", "中央"], ["T02", "駅前店", "北"], ["T03", "港店", "南"]]
    write_book("Accounts", "Accounts.xlsx", [("売上", sales), ("商品", items), ("店舗", shops)])
    book = ".\\Accounts\\Accounts.xlsx"
    t = [Table(book + "+売上", sales, "売上"), Table(book + "+商品", items, "商品"),
         Table(book + "+店舗", shops, "店舗")]
    joins = [(0, "商品コード", 1, "商品コード"), (0, "店舗コード", 2, "店舗コード")]
    reports = [(0, "日付"), (2, "店舗名"), (1, "商品名"), (0, "数量"), (1, "単価")]
    boxes = [("売上.月 = 12月", 0, 0, "月", "12月"), ("商品.分類 = 衣料品", 0, 1, "分類", "衣料品")]
    write_state("Accounts", "AccountsB.rsm", state_file(t, joins, reports, boxes))
    write_state("Accounts", "AccountsC.rsm", state_file(
        t, joins, reports, boxes, result=".\\Accounts\\AccountsC.xlsx", sheet="12月衣料品"))


def excel_cake():
    recipes = [["RecipeId", "Cake", "Style", "Minutes"],
               ["R1", "New York Cheesecake", "Baked", "75"],
               ["R2", "Rare Cheesecake", "Chilled", "20"],
               ["R3", "Basque Cheesecake", "Baked", "45"],
               ["R4", "Chocolate Gateau", "Baked", "50"]]
    ingredients = [["RecipeId", "Ingredient", "Grams", "SupplierId"],
                   ["R1", "Cream cheese", "450", "S1"], ["R1", "Sugar", "120", "S2"],
                   ["R1", "Digestive biscuits", "150", "S3"], ["R2", "Cream cheese", "200", "S1"],
                   ["R2", "Gelatine", "5", "S2"], ["R3", "Cream cheese", "400", "S1"],
                   ["R3", "Fresh cream", "200", "S1"], ["R4", "Dark chocolate", "200", "S3"]]
    suppliers = [["SupplierId", "Supplier", "Town"],
                 ["S1", "Hokkaido Dairy", "Obihiro"], ["S2", "Kanto Foods", "Chiba"],
                 ["S3", "Kobe Confect", "Kobe"]]
    write_book("ExcelCake", "ExcelCake.xlsx",
               [("Recipes", recipes), ("Ingredients", ingredients), ("Suppliers", suppliers)])
    book = ".\\ExcelCake\\ExcelCake.xlsx"
    t = [Table(book + "+Recipes", recipes, "Recipes"),
         Table(book + "+Ingredients", ingredients, "Ingredients"),
         Table(book + "+Suppliers", suppliers, "Suppliers")]
    # A chain of three worksheets: recipe, its ingredients, their suppliers.
    write_state("ExcelCake", "ExcelCake1.rsm", state_file(
        t, [(0, "RecipeId", 1, "RecipeId"), (1, "SupplierId", 2, "SupplierId")],
        [(0, "Cake"), (1, "Ingredient"), (1, "Grams"), (2, "Supplier")],
        [("Recipes.Cake %=% Cheese", 0, 0, "Cake", "Rare Cheesecake")]))
    # Training: two worksheets and one equation to start from.
    write_state("ExcelCake", "CakeTraining.rsm", state_file(
        t[:2], [(0, "RecipeId", 1, "RecipeId")], [(0, "Cake"), (1, "Ingredient"), (0, "Minutes")],
        [("Recipes.Style = Baked", 0, 0, "Style", "Baked")]))


if __name__ == "__main__":
    options()
    waterfalls()
    accounts()
    excel_cake()
