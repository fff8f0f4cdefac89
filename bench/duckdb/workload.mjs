// The batch workload in DuckDB: the same CSV files read as text, the same LEFT JOINs and
// condition, the result written as CSV.  Usage: node workload.mjs DIR OUT
import { DuckDBInstance } from '@duckdb/node-api';

const [dir, out] = process.argv.slice(2);
if (!dir || !out) {
  console.error('usage: node workload.mjs DIR OUT');
  process.exit(2);
}
const quote = (s) => `'${s.replaceAll("'", "''")}'`;
const table = (name) => `read_csv(${quote(`${dir}/${name}.csv`)}, header = true, all_varchar = true)`;

const instance = await DuckDBInstance.create(':memory:');
const connection = await instance.connect();
await connection.run(`
  COPY (
    SELECT o.OrderId, COALESCE(c.Name, '--------') AS Name,
           COALESCE(i.Title, '--------') AS Title, o.Qty
    FROM ${table('orders')} AS o
    LEFT JOIN ${table('customers')} AS c ON o.CustId = c.CustId
    LEFT JOIN ${table('items')} AS i ON o.ItemId = i.ItemId
    WHERE c.City = 'Osaka' AND (i.Category = 'Books' OR TRY_CAST(o.Qty AS DOUBLE) > 7)
  ) TO ${quote(out)} (HEADER, DELIMITER ',')`);
connection.closeSync();
