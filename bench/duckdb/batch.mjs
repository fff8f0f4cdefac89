// The benchmark's search done by DuckDB: the same LEFT JOINs and condition, result to CSV.
// Usage: node batch.mjs DATA_FOLDER OUT.csv
import { DuckDBInstance } from '@duckdb/node-api';

const [dir, out] = process.argv.slice(2);
const table = (name) => `read_csv('${dir}/${name}.csv', all_varchar=true)`;
const instance = await DuckDBInstance.create(':memory:');
const con = await instance.connect();
await con.run(`COPY (
  SELECT o.OrderId, c.CustomerName, p.ProductName, o.Qty
  FROM ${table('orders')} o
  LEFT JOIN ${table('customers')} c ON o.CustomerCode = c.CustomerCode
  LEFT JOIN ${table('products')} p ON o.ProductCode = p.ProductCode
  WHERE o.Status = 'Held' AND (p.Category = 'Tools' OR c.Region = 'North')
) TO '${out}' (HEADER, DELIMITER ',')`);
