#!/usr/bin/env python3
"""Writes the batch benchmark's input into a folder (never committed):

  orders.csv     1,000,000 rows  OrderId, CustomerCode, ProductCode, Qty, Status
  customers.csv    300,000 rows  CustomerCode, CustomerName, Region, Rank, Since
  products.csv      10,000 rows  ProductCode, ProductName, Category, Price, Maker
  batch.rsm      orders -> customers and orders -> products, four report columns, an And root
                 with a nested Or keeping a few per cent, the result written to result.csv

Usage: make_batch_data.py FOLDER [ORDERS CUSTOMERS PRODUCTS]
"""
import os
import random
import sys

REGIONS = ["North", "South", "East", "West", "Central", "Coast", "Hills", "Islands"]
CATEGORIES = ["Tools", "Garden", "Kitchen", "Toys", "Books", "Paper", "Lamps", "Paint", "Cables",
              "Tiles", "Fabric", "Glass", "Shoes", "Bags", "Clocks", "Cups", "Rugs", "Seeds",
              "Soap", "Tape"]
STATUSES = ["Open", "Closed", "Shipped", "Paid", "Billed", "Packed", "Picked", "Returned",
            "Queued", "Held"]


def write(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(",".join(header) + "\r\n")
        for r in rows:
            f.write(",".join(r) + "\r\n")


def main():
    folder = sys.argv[1]
    n_orders, n_customers, n_products = (int(x) for x in (sys.argv[2:5] or
                                                          (1000000, 300000, 10000)))
    os.makedirs(folder, exist_ok=True)
    rnd = random.Random(9)
    write(os.path.join(folder, "products.csv"),
          ["ProductCode", "ProductName", "Category", "Price", "Maker"],
          (("P%06d" % i, "Product %d" % i, CATEGORIES[i % len(CATEGORIES)],
            str(100 + (i * 37) % 9900), "Maker %d" % (i % 97)) for i in range(n_products)))
    write(os.path.join(folder, "customers.csv"),
          ["CustomerCode", "CustomerName", "Region", "Rank", "Since"],
          (("C%07d" % i, "Customer %d" % i, REGIONS[i % len(REGIONS)], "ABCDE"[i % 5],
            str(1990 + i % 35)) for i in range(n_customers)))
    write(os.path.join(folder, "orders.csv"),
          ["OrderId", "CustomerCode", "ProductCode", "Qty", "Status"],
          (("O%08d" % i, "C%07d" % rnd.randrange(n_customers), "P%06d" % rnd.randrange(n_products),
            str(1 + rnd.randrange(20)), STATUSES[rnd.randrange(len(STATUSES))])
           for i in range(n_orders)))

    def first_row(name, column, value):
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            header = f.readline().rstrip("\r\n").split(",")
            c = header.index(column)
            for row, line in enumerate(f, start=1):
                if line.rstrip("\r\n").split(",")[c] == value:
                    return row, c + 1
        raise KeyError(value)

    status = first_row("orders.csv", "Status", "Held")
    category = first_row("products.csv", "Category", "Tools")
    region = first_row("customers.csv", "Region", "North")
    lines = [
        "6, TableFileNames  Left Top Height Width#a#",
        "orders.csv,4,501,501,2200,5400,True,1,1",
        "customers.csv,5,6701,501,2200,5400,True,1,1",
        "products.csv,6,501,3401,2200,5400,True,1,1",
        "9100,12000",
        "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# DestinationColumn#b#",
        "1,4,2,5,1",
        "2,4,3,6,1",
        "ReportTableColumn: Serial# Table# Column#c#",
        "1,4,1", "2,5,2", "3,6,2", "4,4,4",
        "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth ConteinerPanel#d#,1,Pink",
        "0,600,600,3480,9252,<",
        "1,4700,300,1500,4400,<0",
        "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
        "ContainerPanel#e#,2",
        "0,300,300,252,4092,orders.Status = Held,<0",
        "1,150,150,252,3892,products.Category = Tools,<1",
        "2,150,550,252,3892,customers.Region = North,<1",
        "#f#", "2280,4920,972,5412", "", "this software is deveroped by mivora.app", "#g#",
        "120,240,9100,12000", "ResultProperties#h#,", "120,120,240,11520,1,1",
        "120,480,7800,11520,1,1", "9100,12000",
        "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#",
        "1,0,4,%d,%d" % status, "2,1,6,%d,%d" % category, "3,2,5,%d,%d" % region,
        "#j#", os.path.join(os.path.abspath(folder), "result.csv"), "", "#k#"]
    with open(os.path.join(folder, "batch.rsm"), "w", encoding="utf-8", newline="") as f:
        f.write("".join(l + "\r\n" for l in lines))


if __name__ == "__main__":
    main()
